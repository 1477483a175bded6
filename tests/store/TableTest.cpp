#include "store/DataSource.h"
#include "store/Table.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <functional>

using namespace store;

namespace {

// A small registration layout: a head table and a breakdown table linked by REC_ID.
QList<FieldDef> headFields()
{
    return {fixedText("REG_NO", 10), text("TECH_TITLE", 20), integer("REC_ID"), floatField("RATE"), dateTime("DB_REG_DATE")};
}

QList<FieldDef> breakdownFields()
{
    return {integer("REC_ID"), integer("ORD"), text("RECORD_TYPE", 1), text("ITEM", 255), floatField("PRICE")};
}

void createHeadAndBreakdown(Table& head, Table& breakdown)
{
    head.setDeclaredFields(headFields());
    head.createDataSet();
    breakdown.setDeclaredFields(breakdownFields());
    breakdown.createDataSet();
}

struct Events
{
    explicit Events(Table& t)
        : insert(&t, &Table::afterInsert)
        , edit(&t, &Table::afterEdit)
        , post(&t, &Table::afterPost)
        , cancel(&t, &Table::afterCancel)
    {
    }
    QSignalSpy insert, edit, post, cancel;
    std::array<int, 4> counts() const { return {int(insert.count()), int(edit.count()), int(post.count()), int(cancel.count())}; }
};

void addHead(Table& t, const QString& regNo, const QString& title, int recId)
{
    t.append();
    t.field("REG_NO").setString(regNo);
    t.field("TECH_TITLE").setString(title);
    t.field("REC_ID").setInteger(recId);
    t.post();
}

void addBreakdown(Table& t, int ord, const QString& type, const QString& item)
{
    t.append();
    t.field("ORD").setInteger(ord);
    t.field("RECORD_TYPE").setString(type);
    t.field("ITEM").setString(item);
    t.post();
}

QStringList column(Table& t, const QString& name)
{
    QStringList values;
    for (t.first(); !t.eof(); t.next())
        values << t.field(name).asString();
    return values;
}

} // namespace

TEST(Table, StatesFireTheirEventsAndKeepRowsOnlyWhenPosted)
{
    Table t(QStringLiteral("HEAD"));
    t.setDeclaredFields(headFields());
    t.createDataSet();
    Events events(t);

    t.append();
    EXPECT_EQ(t.state(), Table::State::Insert);
    t.field("REG_NO").setString(QStringLiteral("XXK-000001"));
    t.post();
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.recordCount(), 1);

    t.edit();
    t.field("TECH_TITLE").setString(QStringLiteral("一時"));
    t.cancel();
    EXPECT_TRUE(t.field("TECH_TITLE").isNull());

    // Delete on an unposted new row only discards it.
    t.append();
    t.remove();
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.field("REG_NO").asString(), QStringLiteral("XXK-000001"));

    EXPECT_EQ(events.counts(), (std::array<int, 4>{2, 1, 1, 2}));

    // A field cannot be set while browsing.
    QString error;
    EXPECT_FALSE(t.field("TECH_TITLE").setString(QStringLiteral("x"), &error));
    EXPECT_FALSE(error.isEmpty());

    t.remove();
    EXPECT_TRUE(t.isEmpty());
}

TEST(Table, EditOnATableShowingNoRowStartsANewRow)
{
    Table t(QStringLiteral("HEAD"));
    t.setDeclaredFields(headFields());
    t.createDataSet();
    Events events(t);
    t.edit();
    EXPECT_EQ(t.state(), Table::State::Insert);
    EXPECT_EQ(events.counts(), (std::array<int, 4>{1, 0, 0, 0}));
    // Moving away from an untouched new row drops it; a touched one is posted.
    t.first();
    EXPECT_EQ(t.recordCount(), 0);
    t.edit();
    t.field("REG_NO").setString(QStringLiteral("XXK-000002"));
    t.first();
    EXPECT_EQ(t.recordCount(), 1);
}

TEST(Table, ValuesConvertOnAssignmentAndKeepNullsWhenCopied)
{
    Table t(QStringLiteral("HEAD"));
    t.setDeclaredFields(headFields());
    t.createDataSet();
    t.append();
    QString error;
    EXPECT_TRUE(t.field("RATE").setString(QStringLiteral(" 12.50 ")));
    EXPECT_DOUBLE_EQ(t.field("RATE").asFloat(), 12.5);
    EXPECT_EQ(t.field("RATE").asString(), QStringLiteral("12.5"));
    EXPECT_FALSE(t.field("RATE").setString(QStringLiteral("12円"), &error));
    EXPECT_DOUBLE_EQ(t.field("RATE").asFloat(), 12.5) << "a refused text keeps the old value";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(t.field("REC_ID").setString(QStringLiteral("1.5")));
    EXPECT_TRUE(t.field("REC_ID").setString(QStringLiteral("42")));
    EXPECT_EQ(t.field("REC_ID").asInteger(), 42);
    EXPECT_TRUE(t.field("DB_REG_DATE").setString(QStringLiteral("2026/12/10")));
    EXPECT_EQ(t.field("DB_REG_DATE").asString(), QStringLiteral("2026/12/10"));
    EXPECT_FALSE(t.field("DB_REG_DATE").setString(QStringLiteral("2026/02/30")));

    // Widths count Shift_JIS bytes; a longer text is refused, never cut; fixed text loses its padding.
    EXPECT_TRUE(t.field("TECH_TITLE").setString(QStringLiteral("港湾工事のABC技術で")));
    EXPECT_FALSE(t.field("TECH_TITLE").setString(QStringLiteral("港湾工事のABC技術です"), &error)) << "す would need bytes 20 and 21";
    EXPECT_EQ(t.field("TECH_TITLE").asString(), QStringLiteral("港湾工事のABC技術で"));
    EXPECT_TRUE(error.contains(QStringLiteral("TECH_TITLE"))) << error.toStdString();
    t.field("REG_NO").setString(QStringLiteral("XXK-1   "));
    EXPECT_EQ(t.field("REG_NO").asString(), QStringLiteral("XXK-1"));

    // Copying a null keeps it null, for text and numbers alike.
    t.field("RATE").clear();
    t.field("REC_ID").assign(t.field("RATE"));
    EXPECT_TRUE(t.field("REC_ID").isNull());
    t.field("TECH_TITLE").setString(QString());
    EXPECT_TRUE(t.field("TECH_TITLE").isNull());
    EXPECT_EQ(t.field(3).name(), QStringLiteral("RATE"));
}

TEST(Table, FiltersAndOrders)
{
    Table t(QStringLiteral("GRP"));
    t.setDeclaredFields({text("CD", 9), text("TITLE", 255), floatField("N")});
    t.createDataSet();
    const QStringList codes = {"01100", "01000", "01099", "00999", "01050", "02000"};
    for (int i = 0; i < codes.size(); ++i) {
        t.append();
        t.field("CD").setString(codes[i]);
        t.field("N").setFloat(i);
        t.post();
    }
    ASSERT_TRUE(t.setFilter(QStringLiteral("CD >= 01000 and CD < 01100")));
    EXPECT_EQ(t.recordCount(), 6) << "a filter acts only when switched on";
    t.setFiltered(true);
    EXPECT_EQ(column(t, "CD"), (QStringList{"01000", "01099", "01050"}));
    ASSERT_TRUE(t.setIndexFieldNames(QStringLiteral("CD")));
    EXPECT_EQ(column(t, "CD"), (QStringList{"01000", "01050", "01099"}));
    ASSERT_TRUE(t.setFilter(QStringLiteral("N >= 2 and CD <> '01050'")));
    EXPECT_EQ(column(t, "CD"), (QStringList{"00999", "01099", "02000"}));
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 6);

    ASSERT_TRUE(t.addIndex(QStringLiteral("Index1"), QStringLiteral("N;CD"), QStringLiteral("N")));
    ASSERT_TRUE(t.setIndexName(QStringLiteral("Index1")));
    EXPECT_EQ(column(t, "CD").first(), QStringLiteral("02000"));

    QString error;
    for (const char* bad : {"CD >=", "NOPE = '1'", "CD = '1' or N = 2", "CD ~ 1", "N = abc", "CD = '1"})
        EXPECT_FALSE(t.setFilter(QString::fromLatin1(bad), &error)) << bad;
    EXPECT_FALSE(t.setIndexFieldNames(QStringLiteral("CD;NOPE"), &error));
}

TEST(Table, NavigationAndRowNumbers)
{
    Table t(QStringLiteral("HEAD"));
    t.setDeclaredFields(headFields());
    t.createDataSet();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.recNo(), 0);
    for (int i = 1; i <= 3; ++i)
        addHead(t, QStringLiteral("XXK-00000%1").arg(i), QString(), i);
    t.first();
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    t.next();
    EXPECT_EQ(t.recNo(), 2);
    t.last();
    EXPECT_EQ(t.recNo(), 3);
    t.next();
    EXPECT_TRUE(t.eof());
    t.setRecNo(1);
    EXPECT_EQ(t.field("REC_ID").asInteger(), 1);
    EXPECT_TRUE(t.locate(QStringLiteral("REG_NO"), QStringLiteral("XXK-000003")));
    EXPECT_EQ(t.recNo(), 3);
    EXPECT_FALSE(t.locate(QStringLiteral("REG_NO"), QStringLiteral("XXK-999999")));
}

TEST(Table, DetailFollowsItsMasterAndFillsLinkFields)
{
    Table head(QStringLiteral("HEAD"));
    Table detail(QStringLiteral("BREAKDOWN"));
    createHeadAndBreakdown(head, detail);
    ASSERT_TRUE(detail.setMaster(&head, QStringLiteral("REC_ID"), QStringLiteral("REC_ID")));
    detail.setIndexFieldNames(QStringLiteral("REC_ID;RECORD_TYPE;ORD"));

    addHead(head, QStringLiteral("XXK-000001"), QStringLiteral("一"), 1);
    addBreakdown(detail, 2, QStringLiteral("0"), QStringLiteral("b"));
    addBreakdown(detail, 1, QStringLiteral("0"), QStringLiteral("a"));
    addHead(head, QStringLiteral("XXK-000002"), QStringLiteral("二"), 2);
    EXPECT_EQ(detail.recordCount(), 0);
    addBreakdown(detail, 1, QStringLiteral("1"), QStringLiteral("c"));
    EXPECT_EQ(detail.field("REC_ID").asInteger(), 2) << "a new detail row takes the master's key";

    head.first();
    EXPECT_EQ(column(detail, "ITEM"), (QStringList{"a", "b"}));
    head.next();
    EXPECT_EQ(column(detail, "ITEM"), (QStringList{"c"}));

    // A change of the master's key is followed at once, even before the master posts.
    head.edit();
    head.field("REC_ID").setInteger(1);
    EXPECT_EQ(detail.recordCount(), 2);
    head.cancel();
    EXPECT_EQ(detail.recordCount(), 1);

    // An empty master shows no detail rows.
    head.first();
    head.remove();
    head.remove();
    EXPECT_TRUE(head.isEmpty());
    EXPECT_EQ(detail.recordCount(), 0);
}

// Rows opened from a file are kept as the file holds them until read: links, filters, orders,
// lookups, edits and the stored-value visits see the same values as for rows made in memory.
TEST(Table, RowsOpenedFromAFileServeLinksFiltersOrdersAndEdits)
{
    testsupport::TempDir dir;
    {
        Table head(QStringLiteral("HEAD"));
        Table detail(QStringLiteral("BREAKDOWN"));
        createHeadAndBreakdown(head, detail);
        head.appendRowValues({QStringLiteral("XXK-000001"), QStringLiteral("一 & <二>"), 1, 1.5, QDate(2024, 2, 29)});
        head.appendRowValues({QStringLiteral("XXK-000002"), QString(), 2});
        detail.appendRowValues({1, 2, QStringLiteral("0"), QStringLiteral("b")});
        detail.appendRowValues({2, 1, QStringLiteral("1"), QStringLiteral("c"), 3.25});
        detail.appendRowValues({1, 1, QStringLiteral("0"), QStringLiteral("a\t\"x\"")});
        detail.appendRowValues({1, 3, QStringLiteral("1"), QStringLiteral("d")});
        ASSERT_TRUE(head.saveToFile(dir.filePath("HEAD.cds"), nullptr));
        ASSERT_TRUE(detail.saveToFile(dir.filePath("BREAKDOWN.cds"), nullptr));
    }
    Table head(QStringLiteral("HEAD"));
    Table detail(QStringLiteral("BREAKDOWN"));
    head.setDeclaredFields(headFields());
    detail.setDeclaredFields(breakdownFields());
    head.setFileName(dir.filePath("HEAD.cds"));
    detail.setFileName(dir.filePath("BREAKDOWN.cds"));
    QString error;
    ASSERT_TRUE(head.open(&error)) << error.toStdString();
    ASSERT_TRUE(detail.open(&error)) << error.toStdString();
    ASSERT_TRUE(detail.setMaster(&head, QStringLiteral("REC_ID"), QStringLiteral("REC_ID")));
    ASSERT_TRUE(detail.setIndexFieldNames(QStringLiteral("REC_ID;RECORD_TYPE;ORD")));
    Table ones(QStringLiteral("ONES"));
    ones.cloneCursor(&detail);
    ASSERT_TRUE(ones.setFilter(QStringLiteral("RECORD_TYPE = '1'")));
    ones.setFiltered(true);

    EXPECT_EQ(column(detail, "ITEM"), (QStringList{"a\t\"x\"", "b", "d"}));
    EXPECT_EQ(column(ones, "ITEM"), (QStringList{"c", "d"}));
    EXPECT_EQ(detail.visibleValue(1, detail.fieldIndex(QStringLiteral("ORD"))), QVariant(2));
    EXPECT_EQ(head.field("TECH_TITLE").asString(), QStringLiteral("一 & <二>"));
    EXPECT_EQ(head.field("DB_REG_DATE").asDate(), QDate(2024, 2, 29));
    QStringList numbers;
    head.forEachStoredValue(0, [&](const QVariant& v) { numbers << v.toString(); });
    EXPECT_EQ(numbers, (QStringList{"XXK-000001", "XXK-000002"}));
    int rows = 0;
    detail.forEachStoredRow([&](const Table::RowValues& values) { rows += values.size() == breakdownFields().size(); });
    EXPECT_EQ(rows, 4);
    // The visits that read some values of each row, or whole rows of some, see the same values.
    QStringList items;
    detail.forEachStoredRowValues([&](const auto& valueOf) { items << valueOf(3).toString() + valueOf(4).toString(); });
    EXPECT_EQ(items, (QStringList{"b", "c3.25", "a\t\"x\"", "d"}));
    QList<Table::RowValues> ofFirst;
    detail.forEachStoredRowWhere(0, [](const QVariant& v) { return v.toInt() == 1; }, [&](const Table::RowValues& values) { ofFirst << values; });
    ASSERT_EQ(ofFirst.size(), 3);
    EXPECT_EQ(ofFirst.at(1), (Table::RowValues{1, 1, QStringLiteral("0"), QStringLiteral("a\t\"x\""), QVariant()}));
    EXPECT_EQ(ofFirst.at(2).at(3), QVariant(QStringLiteral("d")));
    EXPECT_EQ(detail.storedRowCount(), 4);

    // A key changed in a row never read before moves it to the other master.
    head.setRecNo(2);
    ASSERT_TRUE(ones.locate(QStringLiteral("ITEM"), QStringLiteral("c")));
    ones.edit();
    ones.field("REC_ID").setInteger(1);
    ones.post();
    head.setRecNo(1);
    EXPECT_EQ(column(detail, "ITEM"), (QStringList{"a\t\"x\"", "b", "c", "d"}));
    head.setRecNo(2);
    EXPECT_TRUE(column(detail, "ITEM").isEmpty());
    EXPECT_EQ(detail.allRows().size(), 4);

    ASSERT_TRUE(detail.save(&error)) << error.toStdString();
    Table again(QStringLiteral("BREAKDOWN"));
    again.setFileName(dir.filePath("BREAKDOWN.cds"));
    ASSERT_TRUE(again.open(&error)) << error.toStdString();
    const QList<Table::RowValues> stored = again.allRows();
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored.at(1), (Table::RowValues{1, 1, QStringLiteral("1"), QStringLiteral("c"), 3.25}));
    EXPECT_EQ(stored.at(2).at(3), QVariant(QStringLiteral("a\t\"x\"")));
}

TEST(Table, ViewsShareRowsWithTheirTable)
{
    Table head(QStringLiteral("HEAD"));
    Table detail(QStringLiteral("BREAKDOWN"));
    createHeadAndBreakdown(head, detail);
    detail.setMaster(&head, QStringLiteral("REC_ID"), QStringLiteral("REC_ID"));
    Table newRows(QStringLiteral("VIEW1"));
    Table oldRows(QStringLiteral("VIEW2"));
    for (auto [view, type] : {std::pair{&newRows, "0"}, std::pair{&oldRows, "1"}}) {
        view->cloneCursor(&detail);
        view->setMaster(&head, QStringLiteral("REC_ID"), QStringLiteral("REC_ID"));
        ASSERT_TRUE(view->setFilter(QStringLiteral("RECORD_TYPE = '%1'").arg(QLatin1String(type))));
        view->setFiltered(true);
        view->setIndexFieldNames(QStringLiteral("ORD"));
    }
    QSignalSpy viewPosts(&oldRows, &Table::afterPost);
    QSignalSpy detailPosts(&detail, &Table::afterPost);

    addHead(head, QStringLiteral("XXK-000001"), QString(), 7);
    addBreakdown(oldRows, 1, QStringLiteral("1"), QStringLiteral("従来工法"));
    EXPECT_EQ(viewPosts.count(), 1);
    EXPECT_EQ(detailPosts.count(), 0) << "a clone has its own events";
    EXPECT_EQ(detail.recordCount(), 1);
    EXPECT_EQ(oldRows.recordCount(), 1);
    EXPECT_EQ(newRows.recordCount(), 0);

    // A change through the table is seen through the views; RECORD_TYPE moves the row across.
    detail.first();
    detail.edit();
    detail.field("RECORD_TYPE").setString(QStringLiteral("0"));
    detail.post();
    EXPECT_EQ(oldRows.recordCount(), 0);
    ASSERT_EQ(newRows.recordCount(), 1);
    EXPECT_EQ(newRows.field("ITEM").asString(), QStringLiteral("従来工法"));

    newRows.edit();
    newRows.field("ITEM").setString(QStringLiteral("新工法"));
    newRows.post();
    detail.first();
    EXPECT_EQ(detail.field("ITEM").asString(), QStringLiteral("新工法"));
    newRows.remove();
    EXPECT_EQ(detail.recordCount(), 0);
}

// The detail rows a master shows are found through an index on the link fields, built at the
// first move of the master: every change of the rows after that must reach it.
TEST(Table, DetailViewsStayCurrentAfterKeyChangesDeletesCancelsAndInserts)
{
    Table head(QStringLiteral("HEAD"));
    Table detail(QStringLiteral("BREAKDOWN"));
    createHeadAndBreakdown(head, detail);
    ASSERT_TRUE(detail.setMaster(&head, QStringLiteral("REC_ID"), QStringLiteral("REC_ID")));
    addHead(head, QStringLiteral("XXK-000001"), QString(), 1);
    addBreakdown(detail, 1, QStringLiteral("0"), QStringLiteral("a"));
    addBreakdown(detail, 2, QStringLiteral("0"), QStringLiteral("b"));
    addHead(head, QStringLiteral("XXK-000002"), QString(), 2);
    addBreakdown(detail, 1, QStringLiteral("0"), QStringLiteral("c"));
    const auto itemsOf = [&](int recNo) {
        head.setRecNo(recNo);
        return column(detail, "ITEM");
    };
    ASSERT_EQ(itemsOf(1), (QStringList{"a", "b"}));

    // A key change moves the row to the other master, in natural order.
    head.setRecNo(1);
    detail.first();
    detail.edit();
    detail.field("REC_ID").setInteger(2);
    detail.post();
    EXPECT_EQ(itemsOf(1), (QStringList{"b"}));
    EXPECT_EQ(itemsOf(2), (QStringList{"a", "c"}));

    // A cancelled key change and a cancelled new row leave the rows as they were.
    detail.first();
    detail.edit();
    detail.field("REC_ID").setInteger(1);
    detail.cancel();
    detail.append();
    detail.field("ITEM").setString(QStringLiteral("x"));
    detail.cancel();
    EXPECT_EQ(itemsOf(2), (QStringList{"a", "c"}));
    EXPECT_EQ(itemsOf(1), (QStringList{"b"}));

    // insert() places the new row before the current one, also among the rows found by key.
    head.setRecNo(2);
    detail.last();
    detail.insert();
    detail.field("ITEM").setString(QStringLiteral("d"));
    detail.post();
    EXPECT_EQ(itemsOf(2), (QStringList{"a", "d", "c"}));

    // A deleted row is gone; a master key changed to match other rows shows them.
    head.setRecNo(2);
    ASSERT_TRUE(detail.locate(QStringLiteral("ITEM"), QStringLiteral("a")));
    detail.remove();
    EXPECT_EQ(itemsOf(2), (QStringList{"d", "c"}));
    head.setRecNo(1);
    head.edit();
    head.field("REC_ID").setInteger(2);
    head.post();
    EXPECT_EQ(itemsOf(1), (QStringList{"d", "c"}));

    // Emptied and refilled from code.
    detail.emptyTable();
    EXPECT_TRUE(itemsOf(1).isEmpty());
    detail.appendRowValues({2, 1, QStringLiteral("0"), QStringLiteral("e"), QVariant()});
    EXPECT_EQ(itemsOf(2), (QStringList{"e"}));
}

TEST(Table, FilteredClonesOverAMasterLinkSeeChangesMadeThroughEachOther)
{
    Table head(QStringLiteral("HEAD"));
    Table detail(QStringLiteral("BREAKDOWN"));
    createHeadAndBreakdown(head, detail);
    Table oldRows(QStringLiteral("VIEW2"));
    oldRows.cloneCursor(&detail);
    ASSERT_TRUE(oldRows.setMaster(&head, QStringLiteral("REC_ID"), QStringLiteral("REC_ID")));
    ASSERT_TRUE(oldRows.setFilter(QStringLiteral("RECORD_TYPE = '1'")));
    oldRows.setFiltered(true);
    addHead(head, QStringLiteral("XXK-000001"), QString(), 1);
    addHead(head, QStringLiteral("XXK-000002"), QString(), 2);
    head.first();
    EXPECT_EQ(oldRows.recordCount(), 0);

    // Rows added through the unlinked table reach the clone's view of its master.
    for (int recId : {1, 2, 1}) {
        detail.append();
        detail.field("REC_ID").setInteger(recId);
        detail.field("RECORD_TYPE").setString(QStringLiteral("1"));
        detail.field("ITEM").setString(QStringLiteral("r%1").arg(detail.recordCount()));
        detail.post();
    }
    EXPECT_EQ(column(oldRows, "ITEM"), (QStringList{"r0", "r2"}));
    head.next();
    EXPECT_EQ(column(oldRows, "ITEM"), (QStringList{"r1"}));

    // A key change through the table, and a change of the filtered field, move rows in and out.
    detail.first();
    detail.edit();
    detail.field("REC_ID").setInteger(2);
    detail.post();
    EXPECT_EQ(column(oldRows, "ITEM"), (QStringList{"r0", "r1"}));
    oldRows.first();
    oldRows.edit();
    oldRows.field("RECORD_TYPE").setString(QStringLiteral("0"));
    oldRows.post();
    EXPECT_EQ(column(oldRows, "ITEM"), (QStringList{"r1"}));

    // A delete through the clone is gone from the table.
    oldRows.first();
    oldRows.remove();
    EXPECT_EQ(oldRows.recordCount(), 0);
    EXPECT_EQ(column(detail, "ITEM"), (QStringList{"r0", "r2"}));
}

TEST(Table, LookedUpFieldsShowTheMatchingRowOrNothing)
{
    Table types(QStringLiteral("PL_STBL_PJT_TYPE"));
    types.setDeclaredFields({floatField("CD"), text("PJT_TYPE", 255)});
    types.setInitialRows({{1, QStringLiteral("技術活用パイロット")}, {9, QStringLiteral("その他")}});
    types.createDataSet();
    EXPECT_EQ(types.recordCount(), 2) << "initial rows are present as soon as the table exists";

    Table records(QStringLiteral("PL_TBL_PROJECT_MOC"));
    records.setDeclaredFields({floatField("MOC_ID"), floatField("PJT_TYPE_CODE"),
                               lookup("PJT_TYPE", 20, {"PJT_TYPE_CODE", "PL_STBL_PJT_TYPE", "CD", "PJT_TYPE"})});
    records.createDataSet();
    records.setLookupTable(QStringLiteral("PJT_TYPE"), &types);
    records.append();
    records.field("PJT_TYPE_CODE").setString(QStringLiteral("9"));
    EXPECT_EQ(records.field("PJT_TYPE").asString(), QStringLiteral("その他"));
    records.field("PJT_TYPE_CODE").setFloat(4);
    EXPECT_TRUE(records.field("PJT_TYPE").isNull());
    EXPECT_FALSE(records.field("PJT_TYPE").setString(QStringLiteral("x")));
}

// A table whose layout has a looked-up field keeps the rows of its file in their file form: the
// values read, the looked-up names shown and the rows written again are those of rows read whole.
TEST(Table, RowsOfATableWithALookedUpFieldOpenFromTheFileAndWriteBack)
{
    testsupport::TempDir dir;
    Table types(QStringLiteral("PL_STBL_PJT_TYPE"));
    types.setDeclaredFields({floatField("CD"), text("PJT_TYPE", 255)});
    types.setInitialRows({{1, QStringLiteral("技術活用パイロット")}, {9, QStringLiteral("その他")}});
    types.createDataSet();
    const QList<FieldDef> declared = {floatField("MOC_ID"), lookup("PJT_TYPE", 20, {"PJT_TYPE_CODE", "PL_STBL_PJT_TYPE", "CD", "PJT_TYPE"}),
                                      floatField("PJT_TYPE_CODE"), text("NOTE", 20)};
    {
        Table records(QStringLiteral("PL_TBL_PROJECT_MOC"));
        records.setDeclaredFields(declared);
        records.createDataSet();
        records.appendRowValues({1, QVariant(), 9, QStringLiteral("a'b")});
        records.appendRowValues({2, QVariant(), 1, QStringLiteral("c")});
        records.appendRowValues({3, QVariant(), 4});
        ASSERT_TRUE(records.saveToFile(dir.filePath("R.cds"), nullptr));
    }
    Table records(QStringLiteral("PL_TBL_PROJECT_MOC"));
    records.setDeclaredFields(declared);
    records.setFileName(dir.filePath("R.cds"));
    records.setLookupTable(QStringLiteral("PJT_TYPE"), &types);
    QString error;
    ASSERT_TRUE(records.open(&error)) << error.toStdString();
    EXPECT_EQ(column(records, "PJT_TYPE"), (QStringList{"その他", "技術活用パイロット", ""}));
    EXPECT_EQ(records.visibleValue(0, 3), QVariant(QStringLiteral("a'b")));
    QStringList codes;
    records.forEachStoredRowValues([&](const auto& valueOf) { codes << valueOf(2).toString() + valueOf(1).toString(); });
    EXPECT_EQ(codes, (QStringList{"9", "1", "4"}));

    ASSERT_TRUE(records.locate(QStringLiteral("MOC_ID"), 2));
    records.edit();
    records.field("NOTE").setString(QStringLiteral("changed"));
    records.post();
    ASSERT_TRUE(records.save(&error)) << error.toStdString();
    Table again(QStringLiteral("PL_TBL_PROJECT_MOC"));
    again.setFileName(dir.filePath("R.cds"));
    ASSERT_TRUE(again.open(&error)) << error.toStdString();
    EXPECT_EQ(again.allRows(), (QList<Table::RowValues>{{1, 9, QStringLiteral("a'b")}, {2, 1, QStringLiteral("changed")}, {3, 4, QVariant()}}));
}

TEST(Table, DataSourceReportsRowStateAndFieldChanges)
{
    Table t(QStringLiteral("HEAD"));
    t.setDeclaredFields(headFields());
    t.createDataSet();
    DataSource source(&t);
    EXPECT_EQ(source.objectName(), QStringLiteral("DsHEAD"));
    QSignalSpy data(&source, &DataSource::dataChanged);
    QSignalSpy state(&source, &DataSource::stateChanged);
    QSignalSpy field(&source, &DataSource::fieldChanged);
    t.append();
    t.field("TECH_TITLE").setString(QStringLiteral("x"));
    t.post();
    EXPECT_GE(data.count(), 2);
    EXPECT_EQ(state.count(), 2);
    ASSERT_EQ(field.count(), 1);
    EXPECT_EQ(field.at(0).at(0).toInt(), 1);
}

// Two cursors on one table: a row deleted (or moved out of view) through one while the other
// edits it. The editing cursor's post never lands on another row; a post of a deleted row fails
// with a message and every other row is kept.
TEST(Table, PostOfARowAnotherCursorDeletedFailsAndKeepsEveryOtherRow)
{
    for (const int rows : {1, 3}) {
        Table table(QStringLiteral("HEAD"));
        table.setDeclaredFields(headFields());
        table.createDataSet();
        for (int i = 1; i <= rows; ++i)
            addHead(table, QStringLiteral("XXK-%1").arg(i, 6, 10, QLatin1Char('0')), QStringLiteral("技術%1").arg(i), i);
        Table other(QStringLiteral("VIEW"));
        other.cloneCursor(&table);
        QSignalSpy failures(&table, &Table::postFailed);

        table.first();
        table.edit();
        table.field("TECH_TITLE").setString(QStringLiteral("書き換え"));
        other.first();
        other.remove();

        EXPECT_FALSE(table.post()) << rows;
        ASSERT_EQ(failures.count(), 1) << rows;
        EXPECT_TRUE(failures.at(0).at(0).toString().contains(QStringLiteral("削除"))) << rows;
        EXPECT_EQ(table.state(), Table::State::Browse);
        QStringList titles;
        for (int i = 2; i <= rows; ++i)
            titles << QStringLiteral("技術%1").arg(i);
        EXPECT_EQ(column(table, QStringLiteral("TECH_TITLE")), titles) << rows;
    }

    // A row that only left the editing cursor's view still takes that cursor's change.
    Table table(QStringLiteral("HEAD"));
    table.setDeclaredFields(headFields());
    table.createDataSet();
    addHead(table, QStringLiteral("XXK-000001"), QStringLiteral("一"), 1);
    addHead(table, QStringLiteral("XXK-000002"), QStringLiteral("二"), 1);
    Table filtered(QStringLiteral("VIEW"));
    filtered.cloneCursor(&table);
    ASSERT_TRUE(filtered.setFilter(QStringLiteral("REC_ID = 1")));
    filtered.setFiltered(true);
    filtered.first();
    filtered.edit();
    filtered.field("TECH_TITLE").setString(QStringLiteral("一の改"));
    table.first();
    table.edit();
    table.field("REC_ID").setInteger(2);
    table.post();
    EXPECT_TRUE(filtered.post());
    EXPECT_EQ(column(table, QStringLiteral("TECH_TITLE")), (QStringList{QStringLiteral("一の改"), QStringLiteral("二")}));
}

// A post that leaves every value as it was does not count as a change, so the table is not
// written again; any real difference, however small, does.
TEST(Table, APostChangesTheTableOnlyWhenAValueDiffers)
{
    struct Case
    {
        const char* what;
        std::function<void(Table&)> edit;
        bool changed;
    };
    const std::vector<Case> cases = {
        {"nothing set", [](Table&) {}, false},
        {"the same text again", [](Table& t) { t.field("TECH_TITLE").setString(QStringLiteral("防波堤")); }, false},
        {"the same number, written otherwise", [](Table& t) { t.field("RATE").setString(QStringLiteral(" 12.50 ")); }, false},
        {"changed and changed back",
         [](Table& t) {
             t.field("TECH_TITLE").setString(QStringLiteral("岸壁"));
             t.field("TECH_TITLE").setString(QStringLiteral("防波堤"));
         },
         false},
        {"another text", [](Table& t) { t.field("TECH_TITLE").setString(QStringLiteral("岸壁")); }, true},
        {"a number a little off", [](Table& t) { t.field("RATE").setFloat(12.5000001); }, true},
        {"a number cleared", [](Table& t) { t.field("RATE").clear(); }, true},
        {"an empty field filled", [](Table& t) { t.field("DB_REG_DATE").setString(QStringLiteral("2026/12/10")); }, true},
    };
    for (const Case& c : cases) {
        Table t(QStringLiteral("HEAD"));
        t.setDeclaredFields(headFields());
        t.createDataSet();
        addHead(t, QStringLiteral("XXK-1"), QStringLiteral("防波堤"), 1);
        t.edit();
        t.field("RATE").setFloat(12.5);
        t.post();
        t.markUnchanged();
        Table other(QStringLiteral("HEAD"));
        other.cloneCursor(&t);
        QSignalSpy otherMoved(&other, &Table::recordChanged);
        Events events(t);

        t.edit();
        c.edit(t);
        EXPECT_TRUE(t.post()) << c.what;
        EXPECT_EQ(t.isChangedSinceRead(), c.changed) << c.what;
        EXPECT_EQ(events.post.count(), 1) << c.what << ": the post is announced either way";
        EXPECT_EQ(t.state(), Table::State::Browse) << c.what;
        EXPECT_EQ(otherMoved.count() > 0, c.changed) << c.what << ": other cursors hear of real changes only";
    }
}
