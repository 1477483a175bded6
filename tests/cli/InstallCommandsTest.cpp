#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using testsupport::runCli;

TEST(InstallCommands, InstallDataMakesAFolderTheStartAcceptsAndRefusesAMissingSource)
{
    testsupport::TempDir dir;
    const auto home = QStringList{QStringLiteral("--home"), dir.filePath(QStringLiteral("folder"))};
    auto installed = runCli(home + QStringList{QStringLiteral("install-data"), QStringLiteral(VORDELL_SOURCE_DIR "/data/program")});
    EXPECT_EQ(installed.exitCode, 0) << installed.err.toStdString();
    auto listed = runCli(home + QStringList{QStringLiteral("list")});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.isEmpty());

    installed = runCli(home + QStringList{QStringLiteral("install-data"), dir.filePath(QStringLiteral("missing"))});
    EXPECT_EQ(installed.exitCode, 1);
    EXPECT_TRUE(installed.err.contains(QStringLiteral("missing: フォルダがありません。"))) << installed.err.toStdString();
}
