#include "store/Table.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace store;

TEST(TableCommands, DumpListsFieldsThenRows)
{
    testsupport::TempDir dir;
    Table t(QStringLiteral("T"));
    t.setDeclaredFields({fixedText("REG_NO", 10), memo("NOTE"), floatField("RATE")});
    t.setFileName(dir.filePath("T.cds"));
    t.createDataSet();
    t.append();
    t.field("REG_NO").setString(QStringLiteral("XXK-000001"));
    t.field("NOTE").setString(QStringLiteral("一行目\r\n二行目"));
    t.post();
    ASSERT_TRUE(t.close(nullptr));

    const auto result = testsupport::runCli({QStringLiteral("dump"), dir.filePath("T.cds")});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(result.out, QStringLiteral("REG_NO\tfixed 10\nNOTE\tmemo\nRATE\tfloat\n\nREG_NO\tNOTE\tRATE\n"
                                         "XXK-000001\t一行目\\r\\n二行目\t\n"));

    const auto broken = testsupport::runCli({QStringLiteral("dump"), dir.write("B.cds", "<x")});
    EXPECT_NE(broken.exitCode, 0);
    EXPECT_TRUE(broken.err.contains(QStringLiteral("B.cds")));
}
