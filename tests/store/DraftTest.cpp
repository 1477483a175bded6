#include "entry/ChangedItems.h"
#include "store/Draft.h"
#include "store/DraftWriter.h"
#include "store/Schema.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using store::Draft;
using store::TableRows;

namespace {

TableRows rowsOf(const QString& table, const QList<QHash<QString, QVariant>>& rows)
{
    TableRows result;
    result.table = table;
    result.fields = store::schema::findTable(table)->fields;
    for (const auto& values : rows) {
        QVector<QVariant> row(result.fields.size());
        for (int f = 0; f < result.fields.size(); ++f)
            row[f] = values.value(result.fields.at(f).name);
        result.rows.append(row);
    }
    return result;
}

Draft sampleDraft()
{
    Draft draft;
    draft.number = QStringLiteral("XXK-000007");
    draft.isNew = true;
    draft.page = 3;
    draft.changed = QDateTime(QDate(2026, 12, 11), QTime(2, 50, 13, 250));
    draft.tables = {rowsOf("NT_TBL_MAIN", {{{"REG_NO", "XXK-000007"}, {"TECH_TITLE", QStringLiteral("防波堤の新工法\r\n\"<&>\"\t")}}}),
                    rowsOf("NT_TBL_COMPANY", {{{"REC_ID", 1.0}, {"REG_NO", "XXK-000007"}, {"SALES_COMPANY_OTHER", QStringLiteral("港湾建設")}},
                                              {{"REC_ID", 2.0}, {"REG_NO", "XXK-000007"}}}),
                    rowsOf("NT_TBL_INFO_IMAGES", {})};
    return draft;
}

} // namespace

// A draft reads back exactly: header, every table's rows with their values (markup, line breaks
// and tabs in text), empty tables.
TEST(DraftFile, ReadsBackWhatWasWritten)
{
    testsupport::TempDir dir;
    const store::ProgramFolder folder(dir.path());
    const Draft written = sampleDraft();
    const QString path = store::drafts::pathFor(folder, written.number);
    QString error;
    ASSERT_TRUE(store::drafts::write(path, store::drafts::serialise(written), &error)) << error.toStdString();
    EXPECT_EQ(store::drafts::list(folder), QStringList{path});
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral(".part")));

    Draft read;
    ASSERT_TRUE(store::drafts::read(path, &read, &error)) << error.toStdString();
    EXPECT_EQ(read.number, written.number);
    EXPECT_TRUE(read.isNew);
    EXPECT_EQ(read.page, 3);
    EXPECT_EQ(read.changed, written.changed);
    ASSERT_EQ(read.tables.size(), 3);
    EXPECT_EQ(read.techTitle(), written.techTitle());
    EXPECT_EQ(read.rowsOf("NT_TBL_COMPANY")->rows.size(), 2);
    EXPECT_EQ(read.rowsOf("NT_TBL_COMPANY")->value(0, "SALES_COMPANY_OTHER").toString(), QStringLiteral("港湾建設"));
    EXPECT_TRUE(read.rowsOf("NT_TBL_INFO_IMAGES")->rows.isEmpty());
    EXPECT_TRUE(changeditems::compare(written.tables, read.tables).isEmpty());
}

// Whatever is wrong with a draft, reading it fails with a message naming the file; never a
// partial draft.
TEST(DraftFile, DamagedOrOlderDraftsAreRefusedWithTheirFile)
{
    const QByteArray good = store::drafts::serialise(sampleDraft());
    const QByteArray olderLayout = QByteArray(good).replace("VORDELL-DRAFT\t1\n", "VORDELL-DRAFT\t0\n");
    QByteArray unknownTable = good;
    unknownTable.replace("table\tNT_TBL_COMPANY", "table\tNT_STBL_INFO_GRP1");
    QByteArray longer = good;
    longer.replace("table\tNT_TBL_COMPANY\t", "table\tNT_TBL_COMPANY\t9");
    const QList<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"not a draft", "<?xml version=\"1.0\"?>"},
        {"older layout", olderLayout},
        {"cut in the header", good.left(30)},
        {"cut in a table", good.left(good.size() / 2)},
        {"end missing", good.chopped(4)},
        {"unknown table", unknownTable},
        {"wrong length", longer},
        {"garbage in a packet", QByteArray(good).replace("<ROWDATA>", "<ROWDATA><ROW")},
    };
    for (const auto& [name, bytes] : cases) {
        Draft draft;
        QString error;
        EXPECT_FALSE(store::drafts::parse(bytes, QStringLiteral("/data/FLATT_FILES/Drafts/XXK-000007.draft"), &draft, &error)) << name;
        EXPECT_TRUE(error.contains(QStringLiteral("XXK-000007.draft"))) << name << ": " << error.toStdString();
        EXPECT_TRUE(draft.number.isEmpty()) << name;
    }
}

// The writer thread keeps the order asked: a removal after a write leaves no draft, a write after
// a removal leaves the latest one; moving aside never overwrites an earlier draft moved there.
TEST(DraftFile, WriterKeepsTheOrderAndMovingAsideKeepsEveryDraft)
{
    testsupport::TempDir dir;
    const store::ProgramFolder folder(dir.path());
    const QString path = store::drafts::pathFor(folder, QStringLiteral("XXK-000007"));
    {
        store::DraftWriter writer;
        for (int i = 0; i < 20; ++i) {
            Draft draft = sampleDraft();
            draft.page = i % 5;
            writer.write(path, draft);
        }
        writer.remove(path);
        writer.wait();
        EXPECT_FALSE(QFileInfo::exists(path));
        Draft last = sampleDraft();
        last.page = 4;
        writer.write(path, last);
    } // the destructor finishes the write
    Draft read;
    ASSERT_TRUE(store::drafts::read(path, &read, nullptr));
    EXPECT_EQ(read.page, 4);

    QString first, second;
    ASSERT_TRUE(store::drafts::moveAside(path, store::drafts::discardedFolder(folder), &first, nullptr));
    ASSERT_TRUE(store::drafts::write(path, store::drafts::serialise(sampleDraft()), nullptr));
    ASSERT_TRUE(store::drafts::moveAside(path, store::drafts::discardedFolder(folder), &second, nullptr));
    EXPECT_NE(first, second);
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_TRUE(store::drafts::list(folder).isEmpty());
}

// The comparison pairs records by their identifiers, lists added and removed records item by
// item, and leaves out the fields that only tie rows together.
TEST(ChangedItems, PairsRecordsByIdentifierAndNamesItemsByCaption)
{
    const QList<TableRows> saved = {
        rowsOf("NT_TBL_MAIN", {{{"REG_NO", "XXK-000001"}, {"TECH_TITLE", QStringLiteral("旧名称")}}}),
        rowsOf("NT_TBL_COMPANY", {{{"REC_ID", 1.0}, {"REG_NO", "XXK-000001"}, {"SALES_COMPANY_OTHER", "A"}},
                                  {{"REC_ID", 2.0}, {"REG_NO", "XXK-000001"}, {"SALES_COMPANY_OTHER", "B"}}}),
    };
    const QList<TableRows> draft = {
        rowsOf("NT_TBL_MAIN", {{{"REG_NO", "XXK-000009"}, {"TECH_TITLE", QStringLiteral("新名称")}}}),
        rowsOf("NT_TBL_COMPANY", {{{"REC_ID", 2.0}, {"REG_NO", "XXK-000001"}, {"SALES_COMPANY_OTHER", "B2"}},
                                  {{"REC_ID", 3.0}, {"REG_NO", "XXK-000001"}, {"SALES_COMPANY_OTHER", "C"}}}),
    };
    const QList<changeditems::ChangedItem> items = changeditems::compare(saved, draft);
    QStringList lines;
    for (const auto& item : items)
        lines << item.page + "|" + item.caption + "|" + item.before + "|" + item.after;
    // The records' identifiers name them; a record added or removed shows its values.
    EXPECT_EQ(lines.size(), 4) << lines.join("\n").toStdString();
    EXPECT_EQ(lines.value(0), QStringLiteral("名称・分類等|技術名称|旧名称|新名称"));
    EXPECT_TRUE(lines.value(1).endsWith(QStringLiteral(" [2]|B|B2"))) << lines.value(1).toStdString();
    EXPECT_TRUE(lines.value(2).endsWith(QStringLiteral(" [3]||C"))) << lines.value(2).toStdString();
    EXPECT_TRUE(lines.value(3).endsWith(QStringLiteral(" [1]|A|"))) << lines.value(3).toStdString();
}

// Items are named as the screens name them, rows of several with the heading of their rows, and
// values read as shown: a code as its caption, a check box as checked or not.
TEST(ChangedItems, NamesEveryKindOfItemAsTheScreensShowIt)
{
    struct Case
    {
        const char* table;
        QHash<QString, QVariant> before;
        QHash<QString, QVariant> after;
        QString line; // page|caption|before|after
    };
    const Case cases[] = {
        {"NT_TBL_MAIN", {{"DVLP_TYPE_CODE", "1"}}, {{"DVLP_TYPE_CODE", "7"}},
         QStringLiteral("名称・分類等|開発形態|単独（産）|共同研究（産・産）")},
        {"NT_TBL_DETAIL", {{"KEYWD_ENV_YN", "0"}}, {{"KEYWD_ENV_YN", "1"}},
         QStringLiteral("名称・分類等|キーワード 環境|チェックなし|チェックあり")},
        {"NT_TBL_MAIN", {}, {{"LEVEL1_COMBO", "01"}}, QStringLiteral("名称・分類等|分類||01")},
        {"NT_TBL_COMPANY", {{"REC_ID", 1.0}, {"SALES_STUFF_OTHER", "A"}}, {{"REC_ID", 1.0}, {"SALES_STUFF_OTHER", "B"}},
         QStringLiteral("名称・分類等|問合せ先（その他） 担当者 [1]|A|B")},
        {"NT_TBL_COMPARE_DETAIL", {{"RECORD_TYPE", "1"}, {"ORD", 1.0}, {"ITEM", "x"}}, {{"RECORD_TYPE", "1"}, {"ORD", 1.0}, {"ITEM", "y"}},
         QStringLiteral("従来技術との比較|活用の効果の根拠 従来技術の内訳 項目 [1/1]|x|y")},
        {"NT_TBL_CONST_CONDITION", {{"ORD", "1"}, {"NAME", QStringLiteral("水深")}, {"TXT", "5"}},
         {{"ORD", "1"}, {"NAME", QStringLiteral("水深")}, {"TXT", "7"}}, QStringLiteral("概要|施工条件 水深|5|7")},
        {"NT_TBL_INFO_IMAGES", {{"IMAGES_TYPE", "A"}, {"IMAGES_ORIGINAL", "a.jpg"}}, {{"IMAGES_TYPE", "A"}, {"IMAGES_ORIGINAL", "b.jpg"}},
         QStringLiteral("概要|概要の写真|a.jpg|b.jpg")},
    };
    for (const Case& c : cases) {
        QStringList lines;
        for (const auto& item : changeditems::compare({rowsOf(c.table, {c.before})}, {rowsOf(c.table, {c.after})}))
            lines << item.page + "|" + item.caption + "|" + item.before + "|" + item.after;
        EXPECT_EQ(lines, QStringList{c.line}) << c.table;
    }
}
