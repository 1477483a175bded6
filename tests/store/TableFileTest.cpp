#include "store/Table.h"
#include "store/TableFile.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace store;

namespace {

QList<FieldDef> everyType()
{
    return {fixedText("REG_NO", 10), text("TECH_TITLE", 255), memo("SUMMARY_DESC"), floatField("RATE"),
            integer("REC_ID"), dateTime("DB_REG_DATE")};
}

QByteArray packet(const QByteArray& fields, const QByteArray& rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<DATAPACKET Version=\"2.0\">"
           "<METADATA><FIELDS>" + fields + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>\n";
}

const QByteArray kFields = "<FIELD attrname=\"REG_NO\" fieldtype=\"string\" WIDTH=\"10\" SUBTYPE=\"FixedChar\"/>"
                           "<FIELD attrname=\"RATE\" fieldtype=\"r8\"/><FIELD attrname=\"D\" fieldtype=\"date\"/>";

} // namespace

TEST(TableFile, RoundTripsEveryFieldTypeWithNullsAndJapaneseText)
{
    testsupport::TempDir dir;
    const QString path = dir.filePath("NT_TBL_MAIN.cds");
    Table t(QStringLiteral("NT_TBL_MAIN"));
    t.setDeclaredFields(everyType());
    t.setFileName(path);
    t.createDataSet();
    t.append();
    t.field("REG_NO").setString(QStringLiteral("XXK-000001"));
    t.field("TECH_TITLE").setString(QStringLiteral("ケーソン据付の\"新\"工法 <&> ～①"));
    t.field("SUMMARY_DESC").setString(QStringLiteral("一行目\r\n二行目\t終わり  "));
    t.field("RATE").setFloat(-12.345);
    t.field("REC_ID").setInteger(1);
    t.field("DB_REG_DATE").setString(QStringLiteral("2026/12/10"));
    t.post();
    t.append();
    t.field("REG_NO").setString(QStringLiteral("港湾"));
    t.field("RATE").setFloat(0);
    t.post();
    ASSERT_TRUE(t.close(nullptr));
    EXPECT_TRUE(dir.read("NT_TBL_MAIN.cds").contains("REG_NO=\"港湾      \"")) << "fixed text is padded to its width in bytes";

    Table back(QStringLiteral("NT_TBL_MAIN"));
    back.setFileName(path); // no declared fields: the file gives the layout
    QString error;
    ASSERT_TRUE(back.open(&error)) << error.toStdString();
    ASSERT_EQ(back.fieldCount(), 6);
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(back.fields().at(f).name, everyType().at(f).name);
        EXPECT_EQ(back.fields().at(f).type, everyType().at(f).type);
        EXPECT_EQ(back.fields().at(f).width, everyType().at(f).width);
    }
    ASSERT_EQ(back.recordCount(), 2);
    EXPECT_EQ(back.field("REG_NO").asString(), QStringLiteral("XXK-000001"));
    EXPECT_EQ(back.field("TECH_TITLE").asString(), QStringLiteral("ケーソン据付の\"新\"工法 <&> ～①"));
    EXPECT_EQ(back.field("SUMMARY_DESC").asString(), QStringLiteral("一行目\r\n二行目\t終わり  "));
    EXPECT_DOUBLE_EQ(back.field("RATE").asFloat(), -12.345);
    EXPECT_EQ(back.field("DB_REG_DATE").asDate(), QDate(2026, 12, 10));
    back.next();
    EXPECT_EQ(back.field("REG_NO").asString(), QStringLiteral("港湾"));
    EXPECT_FALSE(back.field("RATE").isNull());
    for (const char* name : {"TECH_TITLE", "SUMMARY_DESC", "REC_ID", "DB_REG_DATE"})
        EXPECT_TRUE(back.field(name).isNull()) << name;
}

TEST(TableFile, DeclaredFieldsBindByNameAndUndeclaredOnesAreKept)
{
    testsupport::TempDir dir;
    const QString path = dir.write("T.cds", packet(kFields, "<ROW REG_NO=\"XXK-000001\" RATE=\"1.5\" D=\"20260102\"/>"));
    Table t(QStringLiteral("T"));
    t.setDeclaredFields({floatField("RATE"), fixedText("REG_NO", 10)});
    t.setFileName(path);
    QString error;
    ASSERT_TRUE(t.open(&error)) << error.toStdString();
    EXPECT_EQ(t.field(0).name(), QStringLiteral("RATE"));
    EXPECT_EQ(t.field(2).name(), QStringLiteral("D"));
    EXPECT_DOUBLE_EQ(t.field("RATE").asFloat(), 1.5);
    t.edit();
    t.field("RATE").setFloat(2);
    t.post();
    ASSERT_TRUE(t.close(&error));
    EXPECT_TRUE(dir.read("T.cds").contains("D=\"20260102\"")) << "an undeclared field survives a write";

    Table missing(QStringLiteral("T"));
    missing.setDeclaredFields({floatField("NOT_THERE")});
    missing.setFileName(path);
    EXPECT_FALSE(missing.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("NOT_THERE")));
    EXPECT_FALSE(missing.isActive());
}

TEST(TableFile, ReadsWhatOtherXmlWritersProduce)
{
    // Comments, single quotes, character references, a byte-order mark and attributes out of order.
    testsupport::TempDir dir;
    const QString path = dir.write("T.cds", "\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- exported -->\n<DATAPACKET Version='2.0'>"
                                            "<METADATA><FIELDS>" + kFields + "</FIELDS></METADATA><ROWDATA>"
                                            "<ROW D='20260101' REG_NO='A&amp;B&#x3042;&#10;' RATE = \"2\" ></ROW>"
                                            "</ROWDATA></DATAPACKET>");
    Table t(QStringLiteral("T"));
    t.setFileName(path);
    QString error;
    ASSERT_TRUE(t.open(&error)) << error.toStdString();
    EXPECT_EQ(t.field("REG_NO").asString(), QStringLiteral("A&Bあ\n"));
    EXPECT_EQ(t.field("RATE").asFloat(), 2);
    EXPECT_EQ(t.field("D").asDate(), QDate(2026, 1, 1));
}

TEST(TableFile, ClosingWritesOnlyWhenChangedOrMissing)
{
    testsupport::TempDir dir;
    const QByteArray original = packet(kFields, "<ROW REG_NO=\"XXK-000001\"/>");
    const QString path = dir.write("T.cds", original);
    Table t(QStringLiteral("T"));
    t.setFileName(path);
    ASSERT_TRUE(t.open(nullptr));
    ASSERT_TRUE(t.close(nullptr));
    EXPECT_EQ(dir.read("T.cds"), original);

    ASSERT_TRUE(t.open(nullptr));
    QFile::remove(path);
    ASSERT_TRUE(t.close(nullptr));
    Table again(QStringLiteral("T"));
    again.setFileName(path);
    ASSERT_TRUE(again.open(nullptr));
    EXPECT_EQ(again.recordCount(), 1);
}

TEST(TableFile, RefusesBrokenFilesNamingFileAndPlace)
{
    testsupport::TempDir dir;
    const QByteArray good = packet(kFields, "<ROW REG_NO=\"XXK-000001\" RATE=\"1\"/>");
    const struct
    {
        const char* what;
        QByteArray bytes;
        const char* mentions;
    } cases[] = {
        {"truncated", good.left(good.size() - 30), "行"},
        {"not xml", "REG_NO,RATE\nXXK-000001,1\n", "行"},
        {"another xml", "<?xml version=\"1.0\"?><html/>", "DATAPACKET"},
        {"empty", "", "行"},
        {"unknown type", packet("<FIELD attrname=\"X\" fieldtype=\"blob\"/>", ""), "blob"},
        {"not a number", packet(kFields, "<ROW RATE=\"1,5\"/>"), "RATE"},
        {"bad date", packet(kFields, "<ROW D=\"20260230\"/>"), "D"},
        {"too wide", packet(kFields, "<ROW REG_NO=\"XXK-0000001\"/>"), "REG_NO"},
        {"unknown field", packet(kFields, "<ROW OTHER=\"1\"/>"), "OTHER"},
        {"duplicate attribute", packet(kFields, "<ROW RATE=\"1\" RATE=\"2\"/>"), "RATE"},
        {"invalid utf-8", packet(kFields, "<ROW REG_NO=\"\xff\xfe\"/>"), "UTF-8"},
        {"mismatched tags", packet(kFields, "<ROW></ROWDATA>"), "ROWDATA"},
        {"text content", packet(kFields, "abc<ROW/>"), "行"},
        {"doctype", "<!DOCTYPE x [<!ENTITY a 'b'>]>" + good, "DOCTYPE"},
        {"unknown entity", packet(kFields, "<ROW REG_NO=\"&nbsp;\"/>"), "nbsp"},
        {"second root", good + "<DATAPACKET/>", "行"},
    };
    for (const auto& c : cases) {
        const QString path = dir.write(QStringLiteral("broken.cds"), c.bytes);
        Table t(QStringLiteral("T"));
        t.setFileName(path);
        QString error;
        EXPECT_FALSE(t.open(&error)) << c.what;
        EXPECT_FALSE(t.isActive()) << c.what;
        EXPECT_TRUE(error.contains(QStringLiteral("broken.cds"))) << c.what << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.mentions))) << c.what << ": " << error.toStdString();
    }
    Table t(QStringLiteral("T"));
    t.setFileName(dir.filePath("absent.cds"));
    QString error;
    EXPECT_FALSE(t.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("absent.cds")));
}

// A writer killed at any moment leaves either the old file or the new one, never a broken one.
TEST(TableFile, InterruptedWriteLeavesTheOldFileIntact)
{
    testsupport::TempDir dir;
    const QString path = dir.filePath("T.cds");
    Table t(QStringLiteral("T"));
    t.setDeclaredFields(everyType());
    t.setFileName(path);
    t.createDataSet();
    t.append();
    t.field("REG_NO").setString(QStringLiteral("XXK-000001"));
    t.post();
    ASSERT_TRUE(t.save(nullptr));
    for (int i = 0; i < 20000; ++i)
        t.appendRowValues({QStringLiteral("XXK-%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("港湾技術"), QStringLiteral("説明"), 1.5, i});

    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            t.save(nullptr);
            _exit(0);
        }
        usleep(std::uniform_int_distribution<int>(0, 60000)(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        Table back(QStringLiteral("T"));
        back.setFileName(path);
        QString error;
        ASSERT_TRUE(back.open(&error)) << "round " << round << ": " << error.toStdString();
        EXPECT_TRUE(back.recordCount() == 1 || back.recordCount() == 20001) << back.recordCount();
    }
}
