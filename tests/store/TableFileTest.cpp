#include "store/Table.h"
#include "store/TableFile.h"
#include "store/XmlScanner.h"
#include "support/TempDir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <random>
#include <sys/stat.h>
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
    t.field("SUMMARY_DESC").setString(QStringLiteral("一行目\r\n二行目\t終わり é±𠮷  "));
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
    EXPECT_EQ(back.field("SUMMARY_DESC").asString(), QStringLiteral("一行目\r\n二行目\t終わり é±𠮷  "));
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

// A row unchanged since it was read or written is written again as the file held it: every kind of
// change (through the table or a second cursor, an insert, a delete) and a file whose fields the
// table writes differently must still be written as the rows now are.
TEST(TableFile, RowsKeptAsReadStayTrueAfterEveryKindOfChange)
{
    testsupport::TempDir dir;
    // Accepted forms our writer would not produce: attributes out of order, a raw tab, blanks in
    // the tag, a number with a trailing zero, fixed text without its padding.
    const QString path = dir.write("T.cds", packet(kFields, "<ROW RATE=\"1000.50\"  REG_NO=\"A\tB\" />"
                                                            "<ROW REG_NO=\"KEEP\" RATE=\"2\" D=\"20260102\"/>"
                                                            "<ROW REG_NO=\"EDIT\" RATE=\"3\"/><ROW REG_NO=\"GONE\"/>"));
    const auto rowsOf = [&dir](const QString& file) {
        QList<FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        EXPECT_TRUE(TableFile::read(dir.filePath(file), &fields, &rows, &error)) << error.toStdString();
        QStringList shown;
        for (const auto& row : rows)
            shown << QStringLiteral("%1|%2|%3").arg(row.value(0).toString(), row.value(1).toString(), row.value(2).toDate().toString(Qt::ISODate));
        return shown.join(QStringLiteral("; ")).toStdString();
    };
    Table t(QStringLiteral("T"));
    t.setFileName(path);
    QString error;
    ASSERT_TRUE(t.open(&error)) << error.toStdString();
    Table second(QStringLiteral("T"));
    second.cloneCursor(&t);
    ASSERT_TRUE(t.locate("REG_NO", "EDIT"));
    t.edit();
    t.field("RATE").setFloat(4.25);
    t.post();
    ASSERT_TRUE(t.locate("REG_NO", "GONE"));
    t.remove();
    t.append();
    t.field("REG_NO").setString(QStringLiteral("NEW"));
    t.post();
    ASSERT_TRUE(t.save(&error)) << error.toStdString();
    const std::string expected = "A B|1000.5|; KEEP|2|2026-01-02; EDIT|4.25|; NEW||";
    EXPECT_EQ(rowsOf("T.cds"), expected);

    // The forms just written, changed again through the second cursor and through the table.
    ASSERT_TRUE(second.locate("REG_NO", "NEW"));
    second.edit();
    second.field("RATE").setFloat(7);
    second.post();
    ASSERT_TRUE(t.locate("REG_NO", "KEEP"));
    t.edit();
    t.field("D").clear();
    t.post();
    ASSERT_TRUE(t.saveToFile(dir.filePath("U.cds"), &error)) << error.toStdString();
    EXPECT_EQ(rowsOf("U.cds"), "A B|1000.5|; KEEP|2|; EDIT|4.25|; NEW|7|");

    // A table that declares a wider field writes every row in its own layout.
    Table wider(QStringLiteral("T"));
    wider.setDeclaredFields({fixedText("REG_NO", 12), floatField("RATE"), dateTime("D")});
    wider.setFileName(path);
    ASSERT_TRUE(wider.open(&error)) << error.toStdString();
    ASSERT_TRUE(wider.saveToFile(dir.filePath("W.cds"), &error)) << error.toStdString();
    EXPECT_TRUE(dir.read("W.cds").contains("REG_NO=\"KEEP        \" RATE=\"2\"")) << dir.read("W.cds").toStdString();
    EXPECT_EQ(rowsOf("W.cds"), expected);
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
        // The writer's element order and nothing else.
        {"fields after the rows", "<DATAPACKET><METADATA><FIELDS/></METADATA><ROWDATA><ROW/></ROWDATA><METADATA><FIELDS>" + kFields
                                      + "</FIELDS></METADATA></DATAPACKET>", "METADATA"},
        {"row outside the rows", "<DATAPACKET><METADATA><FIELDS>" + kFields + "</FIELDS><ROW/></METADATA><ROWDATA/></DATAPACKET>", "ROW"},
        {"element inside a row", packet(kFields, "<ROW><ROW/></ROW>"), "ROW"},
        // What a conforming XML parser refuses.
        {"reference to a control character", packet(kFields, "<ROW REG_NO=\"&#1;\"/>"), "&#1;"},
        {"reference to U+FFFE", packet(kFields, "<ROW REG_NO=\"&#xFFFE;\"/>"), "&#xFFFE;"},
        {"reference with a sign", packet(kFields, "<ROW REG_NO=\"&#x+41;\"/>"), "&#x+41;"},
        {"raw control character", packet(kFields, "<ROW REG_NO=\"a\x01\"/>"), "文字"},
        {"double hyphen in a comment", "<!-- a -- b -->" + good, "--"},
        {"declaration after a comment", "<!-- c -->" + good, "宣言"},
        {"declaration without version", "<?xml encoding=\"UTF-8\"?><DATAPACKET/>", "宣言"},
        {"empty encoding name", "<?xml version=\"1.0\" encoding=\"\"?><DATAPACKET/>", "宣言"},
        {"empty standalone", "<?xml version=\"1.0\" standalone=\"\"?><DATAPACKET/>", "宣言"},
        {"duplicate attribute in a field", packet("<FIELD attrname=\"A\" fieldtype=\"r8\" fieldtype=\"i4\"/>", ""), "重複"},
        {"number past the whole-number range", packet("<FIELD attrname=\"N\" fieldtype=\"i4\"/>", "<ROW N=\"1e10\"/>"), "N"},
        {"namespace prefix", packet(kFields, "<ROW x:REG_NO=\"1\"/>"), "行"},
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

// Nesting is bounded: a deep document is refused at the bound, not after eating memory.
TEST(TableFile, ScannerRefusesNestingPastItsBound)
{
    QByteArray deep;
    for (int i = 0; i < 2000000; ++i)
        deep += "<a>";
    XmlScanner xml(deep);
    int starts = 0;
    XmlScanner::Token token;
    while ((token = xml.next()) == XmlScanner::Token::StartElement)
        ++starts;
    EXPECT_EQ(token, XmlScanner::Token::Error);
    EXPECT_EQ(starts, XmlScanner::kMaxDepth);
    EXPECT_TRUE(xml.errorString().contains(QStringLiteral("入れ子"))) << xml.errorString().toStdString();
}

// A refusal never quotes a huge value, and a huge value is refused before it is decoded.
TEST(TableFile, RefusalMessagesStayShortWhateverTheValue)
{
    testsupport::TempDir dir;
    const QByteArray big(3000000, 'x');
    const QByteArray cases[] = {
        packet(kFields, "<ROW RATE=\"" + big + "\"/>"),
        packet(kFields, "<ROW REG_NO=\"&" + big + ";\"/>"),
        packet(kFields, "<ROW " + big + "=\"1\"/>"),
        packet(kFields, "<ROW REG_NO=\"" + QByteArray(11000000, 'y') + "\"/>"),
        packet("<FIELD attrname=\"CD\" fieldtype=\"" + big + "\"/>", ""),
        packet("<FIELD attrname=\"" + big + "\" fieldtype=\"string\" WIDTH=\"x\"/>", ""),
        packet("<FIELD attrname=\"" + big + "\" fieldtype=\"" + big + "\"/>", ""),
    };
    for (const QByteArray& bytes : cases) {
        QList<FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        EXPECT_FALSE(TableFile::read(dir.write("big.cds", bytes), &fields, &rows, &error));
        EXPECT_LT(error.size(), 300) << error.left(300).toStdString();
    }
}

// A row holds only the declared fields and a table a bounded number of them: a tag with more
// attributes, or a file with too many fields, is refused where the bound is passed.
TEST(TableFile, RowsAndFieldsPastTheirBoundsAreRefusedWhereTheBoundIsPassed)
{
    testsupport::TempDir dir;
    QByteArray manyAttributes = "<ROW";
    QByteArray manyFields;
    QByteArray fullRow = "<ROW";
    for (int i = 0; i < 200000; ++i) {
        manyAttributes += " A" + QByteArray::number(i) + "=\"1\"";
        if (i < 2000) {
            manyFields += "<FIELD attrname=\"F" + QByteArray::number(i) + "\" fieldtype=\"i4\"/>";
            fullRow += " F" + QByteArray::number(i) + "=\"1\"";
        }
    }
    manyAttributes += "/>";
    fullRow += "/>";
    const struct
    {
        const char* what;
        QByteArray bytes;
        const char* mentions;
    } cases[] = {
        {"a row of many undeclared attributes", packet(kFields, manyAttributes), "属性が多すぎます (3 個まで)"},
        {"a row naming one field twice past the field count",
         packet(kFields, "<ROW REG_NO=\"1\" RATE=\"1\" D=\"20260101\" RATE=\"2\"/>"), "属性が多すぎます"},
        {"a field element of many attributes", packet("<FIELD attrname=\"A\" fieldtype=\"r8\"" + manyAttributes.mid(4, 200000) + "/>", ""),
         "属性が多すぎます (16 個まで)"},
        {"more fields than any table has", packet(manyFields, fullRow), "項目が多すぎます (1024 個まで)"},
    };
    for (const auto& c : cases) {
        QList<FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        EXPECT_FALSE(TableFile::read(dir.write("wide.cds", c.bytes), &fields, &rows, &error)) << c.what;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.mentions))) << c.what << ": " << error.toStdString();
    }
    // Attributes in any order find their fields.
    QList<FieldDef> fields;
    QList<QVector<QVariant>> rows;
    QString error;
    ASSERT_TRUE(TableFile::read(dir.write("order.cds", packet(kFields, "<ROW D=\"20260101\" RATE=\"2\" REG_NO=\"X\"/>")), &fields, &rows,
                                &error)) << error.toStdString();
    EXPECT_EQ(rows.first(), (QVector<QVariant>{QStringLiteral("X"), 2.0, QDate(2026, 1, 1)}));
}

// Only regular files are read: a pipe in a table's place is refused at once instead of waiting
// for a writer that never comes, and reported as a file that cannot be opened.
// What the reader takes, the writer writes back within the reader's bounds: a value that escaping
// or padding would make longer than the reader takes is refused when read, whichever way the rows
// are read, and the writer never writes one.
TEST(TableFile, EveryValueReadIsWrittenBackWithinTheReadersBounds)
{
    testsupport::TempDir dir;
    const QByteArray wideFixed = "<FIELD attrname=\"F\" fieldtype=\"string\" WIDTH=\"20000000\" SUBTYPE=\"FixedChar\"/>";
    const QByteArray fixed = "<FIELD attrname=\"F\" fieldtype=\"string\" WIDTH=\"1700000\" SUBTYPE=\"FixedChar\"/>";
    const QByteArray memo = "<FIELD attrname=\"M\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>";
    const struct
    {
        const char* what;
        QByteArray bytes;
        bool accepted;
    } cases[] = {
        {"a short value in a field padded past the bound", packet(wideFixed, "<ROW F=\"a\"/>"), false},
        {"no value in that field", packet(wideFixed, "<ROW/>"), true},
        {"a value padded to a width within the bound", packet(fixed, "<ROW F=\"a\"/>"), true},
        {"a value whose escapes pass the bound", packet(memo, "<ROW M=\"" + QByteArray(2600000, '>') + "\"/>"), false},
        {"a value whose escapes stay within it", packet(memo, "<ROW M=\"" + QByteArray(1500000, '>') + "\"/>"), true},
    };
    for (const auto& c : cases) {
        const QString path = dir.write(QStringLiteral("t.cds"), c.bytes);
        QList<FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        EXPECT_EQ(TableFile::read(path, &fields, &rows, &error), c.accepted) << c.what;
        Table t(QStringLiteral("T"));
        t.setFileName(path);
        QString tableError;
        EXPECT_EQ(t.open(&tableError), c.accepted) << c.what;
        if (!c.accepted) {
            EXPECT_TRUE(error.contains(QStringLiteral("書き戻すと長すぎます"))) << c.what << ": " << error.toStdString();
            EXPECT_EQ(tableError, error) << c.what;
            continue;
        }
        ASSERT_TRUE(t.saveToFile(dir.filePath("back.cds"), &error)) << c.what << ": " << error.toStdString();
        QList<FieldDef> backFields;
        QList<QVector<QVariant>> backRows;
        ASSERT_TRUE(TableFile::read(dir.filePath("back.cds"), &backFields, &backRows, &error)) << c.what << ": " << error.toStdString();
        EXPECT_EQ(backRows, rows) << c.what;
    }

    // Rows filled without the reader: the writer refuses a value it would write past the bound.
    const QList<FieldDef> memoField = {FieldDef{QStringLiteral("M"), FieldType::Memo}};
    const QVector<QVariant> row{QString(2500001, QLatin1Char('&'))};
    QString why;
    EXPECT_FALSE(TableFile::write(dir.filePath("long.cds"), memoField, {&row}, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("項目 M"))) << why.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("long.cds")));
}

TEST(TableFile, APipeOrFolderInPlaceOfATableIsRefusedWithoutWaiting)
{
    testsupport::TempDir dir;
    const QString pipe = dir.filePath("NT_TBL_MAIN.cds");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    QDir().mkpath(dir.filePath("NT_TBL_DETAIL.cds"));
    alarm(20); // a read that blocks ends the test instead of hanging it
    for (const QString& path : {pipe, dir.filePath("NT_TBL_DETAIL.cds")}) {
        QList<FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        EXPECT_FALSE(TableFile::read(path, &fields, &rows, &error));
        EXPECT_TRUE(error.contains(QStringLiteral("ファイルを開けません"))) << error.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    }
    alarm(0);
}

// Every number a file holds reads back exactly after a save, however many digits it needs.
TEST(TableFile, NumbersSurviveWritingAndReadingExactly)
{
    const QByteArray digits130 = "1" + QByteArray(64, '7') + QByteArray(65, '3');
    const QByteArray texts[] = {digits130, "0." + digits130, "-" + digits130 + "e-200", "0.30000000000000004", "123456789012345.67",
                                "1e-5", "4.9e-324", "1.7976931348623157e308", "-0", "2.5", "1E15", "999999999999999"};
    QByteArray rowsText;
    for (const QByteArray& text : texts)
        rowsText += "<ROW RATE=\"" + text + "\"/>";
    QList<FieldDef> fields;
    QList<QVector<QVariant>> rows;
    QString error;
    ASSERT_TRUE(TableFile::parse(packet(kFields, rowsText), QStringLiteral("n.cds"), &fields, &rows, &error)) << error.toStdString();
    std::vector<const QVector<QVariant>*> pointers;
    for (const QVector<QVariant>& row : rows)
        pointers.push_back(&row);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(TableFile::write(&buffer, fields, pointers, &error));
    QList<FieldDef> againFields;
    QList<QVector<QVariant>> again;
    ASSERT_TRUE(TableFile::parse(buffer.data(), QStringLiteral("again.cds"), &againFields, &again, &error)) << error.toStdString();
    ASSERT_EQ(again.size(), rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r)
        EXPECT_EQ(again.at(r).at(1).toDouble(), rows.at(r).at(1).toDouble()) << texts[r].left(40).toStdString();
    EXPECT_TRUE(buffer.data().contains("RATE=\"2.5\"")) << "short numbers stay short";
    EXPECT_TRUE(buffer.data().contains("RATE=\"999999999999999\""));
}

// What a conforming parser gives: a raw line end or tab in a value is a blank; a U+FEFF inside a
// value is kept wherever it stands.
TEST(TableFile, ValuesReadAsAConformingParserReadsThem)
{
    testsupport::TempDir dir;
    const QByteArray fields = "<FIELD attrname=\"T\" fieldtype=\"string\" WIDTH=\"40\"/>";
    const struct
    {
        QByteArray raw;
        QString value;
    } cases[] = {
        {"a\nb\tc\r\nd", QStringLiteral("a b c d")},
        {"&amp;\xEF\xBB\xBFx", QStringLiteral("&\uFEFFx")},
        {"\xEF\xBB\xBFx", QStringLiteral("\uFEFFx")},
        {"&#10;&#9;&#13;", QStringLiteral("\n\t\r")},
        {"&#0000065;&#x1F600;", QStringLiteral("A\U0001F600")},
    };
    for (const auto& c : cases) {
        QList<FieldDef> readFields;
        QList<QVector<QVariant>> rows;
        QString error;
        ASSERT_TRUE(TableFile::read(dir.write("v.cds", packet(fields, "<ROW T=\"" + c.raw + "\"/>")), &readFields, &rows, &error))
            << error.toStdString();
        EXPECT_EQ(rows.at(0).at(0).toString(), c.value) << c.raw.toStdString();
    }
}

// Rows kept in their file form are checked as strictly as rows read whole, and decode, all at
// once or one value at a time, to exactly what the whole read gives.
TEST(TableFile, RowsKeptInTheirFileFormCheckAndDecodeAsRowsReadWhole)
{
    const QByteArray fields = "<FIELD attrname=\"F\" fieldtype=\"string\" WIDTH=\"4\" SUBTYPE=\"FixedChar\"/>"
                              "<FIELD attrname=\"T\" fieldtype=\"string\" WIDTH=\"6\"/><FIELD attrname=\"M\" fieldtype=\"bin.hex\"/>"
                              "<FIELD attrname=\"R\" fieldtype=\"r8\"/><FIELD attrname=\"I\" fieldtype=\"i4\"/>"
                              "<FIELD attrname=\"D\" fieldtype=\"date\"/>";
    const struct
    {
        const char* what;
        QByteArray rows;
        bool accepted;
    } cases[] = {
        {"every type", "<ROW F=\"ab  \" T=\"あいう\" M=\"長い&amp;&#10;メモ\" R=\"-1.5e3\" I=\"-7\" D=\"20240229\"/>", true},
        {"out of order, references, raw blanks", "<ROW D=\"19991231\" T=\"a&lt;b\" F=\"x\ty\"/><ROW/><ROW I=\"0\"></ROW>", true},
        {"at the width in Shift_JIS bytes", "<ROW T=\"あいう\" F=\"ｱｲｳｴ\"/>", true},
        {"padding past the width", "<ROW F=\"abcd          \"/>", true},
        {"a byte past the width", "<ROW T=\"あいうe\"/>", false},
        {"past the width with references", "<ROW T=\"&#x3042;&#x3044;&#x3046;&#x3048;\"/>", false},
        {"fixed text past the width", "<ROW F=\"abcde\"/>", false},
        {"no such day", "<ROW D=\"20230229\"/>", false},
        {"date with a sign", "<ROW D=\"+2023012\"/>", false},
        {"full-width digits", "<ROW I=\"１\"/>", false},
        {"fraction in a whole number", "<ROW I=\"1.5\"/>", false},
        {"past the whole-number range", "<ROW I=\"2147483648\"/>", false},
        {"not a number", "<ROW R=\"1,5\"/>", false},
        {"a bad row after good ones", "<ROW F=\"a\"/><ROW F=\"b\"/><ROW D=\"2024\"/>", false},
    };
    for (const auto& c : cases) {
        const QByteArray document = packet(fields, c.rows);
        QList<FieldDef> wholeFields;
        QList<QVector<QVariant>> whole;
        QString wholeError;
        const bool wholeRead = TableFile::parse(document, QStringLiteral("t.cds"), &wholeFields, &whole, &wholeError);
        QList<FieldDef> keptFields;
        QList<QVector<QVariant>> kept;
        QList<TableFile::RowForm> forms;
        QString keptError;
        const bool keptRead = TableFile::parse(document, QStringLiteral("t.cds"), &keptFields, &kept, &keptError, &forms,
                                               TableFile::Values::OfRowsWithoutForm);
        EXPECT_EQ(wholeRead, c.accepted) << c.what << ": " << wholeError.toStdString();
        EXPECT_EQ(keptRead, c.accepted) << c.what << ": " << keptError.toStdString();
        EXPECT_EQ(keptError, wholeError) << c.what;
        if (!keptRead)
            continue;
        const TableFile::RowDecoder decoder(keptFields);
        ASSERT_EQ(kept.size(), whole.size()) << c.what;
        for (qsizetype r = 0; r < whole.size(); ++r) {
            if (forms.at(r).isEmpty()) {
                EXPECT_EQ(kept.at(r), whole.at(r)) << c.what << ", row " << r;
                continue;
            }
            EXPECT_TRUE(kept.at(r).isEmpty()) << c.what << ", row " << r;
            EXPECT_EQ(decoder.values(forms.at(r)), whole.at(r)) << c.what << ", row " << r;
            for (int f = 0; f < keptFields.size(); ++f)
                EXPECT_EQ(decoder.value(forms.at(r), f), whole.at(r).at(f)) << c.what << ", row " << r << ", field " << f;
        }
    }
}

// The engine refuses what a table file cannot hold, so the writer never writes what the reader
// refuses; everything it accepts reads back unchanged.
TEST(TableFile, ValuesTheFileCannotHoldAreRefusedWhenSet)
{
    Table t(QStringLiteral("T"));
    t.setDeclaredFields(everyType());
    t.createDataSet();
    t.append();
    const struct
    {
        const char* field;
        QVariant value;
    } refused[] = {
        {"DB_REG_DATE", QDate()},
        {"DB_REG_DATE", QDate(10000, 1, 1)},
        {"RATE", std::numeric_limits<double>::infinity()},
        {"RATE", std::nan("")},
        {"REC_ID", -std::numeric_limits<double>::infinity()},
        {"TECH_TITLE", QStringLiteral("a\x01b")},
        {"SUMMARY_DESC", QStringLiteral("\uFFFF")},
        {"SUMMARY_DESC", QString(QChar(0xD800))},
        {"REG_NO", QStringLiteral("XXK-0000001")}, // one byte wider than the field: never cut
    };
    for (const auto& c : refused) {
        QString error;
        EXPECT_FALSE(t.field(QLatin1String(c.field)).setValue(c.value, &error)) << c.field;
        EXPECT_TRUE(t.field(QLatin1String(c.field)).isNull()) << c.field;
        EXPECT_FALSE(error.isEmpty()) << c.field;
    }
    ASSERT_TRUE(t.field("TECH_TITLE").setString(QStringLiteral("改行\r\nタブ\t\"<&>'\U0001F600")));
    ASSERT_TRUE(t.field("RATE").setFloat(-1.25e-7));
    t.post();
    testsupport::TempDir dir;
    ASSERT_TRUE(t.saveToFile(dir.filePath("t.cds"), nullptr));
    Table back(QStringLiteral("T"));
    back.setFileName(dir.filePath("t.cds"));
    QString error;
    ASSERT_TRUE(back.open(&error)) << error.toStdString();
    EXPECT_EQ(back.field("TECH_TITLE").asString(), QStringLiteral("改行\r\nタブ\t\"<&>'\U0001F600"));
    EXPECT_EQ(back.field("RATE").asFloat(), -1.25e-7);

    // Rows filled without the engine's checks: the writer refuses what it could not read back.
    for (const QVariant& bad : {QVariant(QDate(2026, 2, 30)), QVariant(std::nan(""))}) {
        const bool isDate = bad.typeId() == QMetaType::QDate;
        QVector<QVariant> row(everyType().size());
        row[isDate ? 5 : 3] = bad;
        QString why;
        EXPECT_FALSE(TableFile::write(dir.filePath("bad.cds"), everyType(), {&row}, &why));
        EXPECT_TRUE(why.contains(isDate ? QStringLiteral("DB_REG_DATE") : QStringLiteral("RATE"))) << why.toStdString();
    }
}

// A file whose text field is wider than the table's declares a value longer than the table
// takes: the file is refused naming the row and field, never cut.
TEST(TableFile, AValueWiderThanTheDeclaredFieldIsRefusedNotCut)
{
    testsupport::TempDir dir;
    const QString title = QString(101, QChar(0x3042)); // 202 bytes in Shift_JIS
    const QString path = dir.write("w.cds", packet("<FIELD attrname=\"TECH_TITLE\" fieldtype=\"string\" WIDTH=\"400\"/>",
                                                   "<ROW TECH_TITLE=\"a\"/><ROW TECH_TITLE=\"" + title.toUtf8() + "\"/>"));
    Table t(QStringLiteral("T"));
    t.setDeclaredFields({text("TECH_TITLE", 200)});
    t.setFileName(path);
    QString error;
    EXPECT_FALSE(t.open(&error));
    EXPECT_TRUE(error.contains(QStringLiteral("2 行目"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("TECH_TITLE"))) << error.toStdString();
}

namespace {

// A device that takes `limit` bytes and no more, as a disk that fills up: the write that reaches
// the limit is cut short without an error, and only the next one fails, with the reason.
class FailDevice : public QIODevice
{
public:
    explicit FailDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override
    {
        const qint64 room = m_limit - m_written;
        if (room <= 0) {
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        const qint64 taken = std::min(size, room);
        m_written += taken;
        return taken;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace

TEST(TableFile, AFailingWriteReportsTheDevicesReason)
{
    std::vector<QVector<QVariant>> values(30000, QVector<QVariant>{QStringLiteral("XXK-000001"), QStringLiteral("港湾"), QVariant(), 1.5, 3});
    std::vector<const QVector<QVariant>*> rows;
    for (const auto& row : values)
        rows.push_back(&row);
    for (const qint64 limit : {qint64(0), qint64(100), qint64(1500000)}) {
        FailDevice device(limit);
        QString error;
        EXPECT_FALSE(TableFile::write(&device, everyType(), rows, &error)) << limit;
        EXPECT_TRUE(error.contains(QStringLiteral("No space left"))) << error.toStdString();
    }
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
