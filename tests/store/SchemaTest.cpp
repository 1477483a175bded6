#include "store/FilterExpression.h"
#include "store/Schema.h"
#include "store/Table.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <QSet>

using namespace store;
using namespace store::schema;

namespace {

const TableDef& table(const char* name)
{
    const TableDef* def = findTable(QLatin1String(name));
    if (!def)
        throw std::runtime_error(std::string("unknown table ") + name);
    return *def;
}

int indexOf(const TableDef& def, const QString& field)
{
    for (int i = 0; i < def.fields.size(); ++i) {
        if (def.fields.at(i).name == field)
            return i;
    }
    return -1;
}

QStringList names(const QList<FieldDef>& fields)
{
    QStringList list;
    for (const FieldDef& f : fields)
        list << f.name;
    return list;
}

// name, type and width of every field, for comparing layouts.
QStringList signature(const QList<FieldDef>& fields, bool storedOnly)
{
    QStringList list;
    for (const FieldDef& f : fields) {
        if (!storedOnly || f.isStored())
            list << QStringLiteral("%1:%2:%3").arg(f.name).arg(int(f.type)).arg(f.width);
    }
    return list;
}

QList<const TableDef*> allTables()
{
    QList<const TableDef*> list;
    for (const TableDef& def : registrationTables())
        list << &def;
    for (const TableDef& def : lookupTables())
        list << &def;
    return list;
}

} // namespace

TEST(Schema, RegistrationTablesInDataFolderOrderWithTheirFieldCounts)
{
    struct Expected
    {
        const char* name;
        int fields;
        int lookups;
        bool bindsDeclared;
    };
    const Expected expected[] = {
        {"NT_TBL_MAIN", 62, 0, true},           {"NT_TBL_DETAIL", 114, 0, true},
        {"NT_TBL_DETAIL_FREE", 7, 0, true},     {"NT_TBL_DESCRIPTION", 18, 0, false},
        {"NT_TBL_PICTURE", 53, 0, false},       {"NT_TBL_COMPANY", 12, 0, false},
        {"NT_TBL_EVALUATE_RESULT", 5, 0, false}, {"PL_TBL_PROJECT_MOC", 11, 2, true},
        {"PL_TBL_PROJECT_PRIVATE", 9, 1, true}, {"NT_TBL_COMPARE_MAIN", 10, 0, false},
        {"NT_TBL_COMPARE_DETAIL", 10, 0, false}, {"NT_TBL_CONST_CONDITION", 8, 0, false},
        {"NT_TBL_INFO_IMAGES", 4, 0, false},
    };
    const QList<TableDef>& tables = registrationTables();
    ASSERT_EQ(tables.size(), int(std::size(expected)));
    for (int i = 0; i < tables.size(); ++i) {
        const TableDef& def = tables.at(i);
        SCOPED_TRACE(def.name.toStdString());
        EXPECT_EQ(def.name, QLatin1String(expected[i].name));
        EXPECT_EQ(def.group, TableGroup::Registration);
        EXPECT_EQ(def.fields.size(), expected[i].fields);
        int lookups = 0;
        for (const FieldDef& f : def.fields)
            lookups += f.isStored() ? 0 : 1;
        EXPECT_EQ(lookups, expected[i].lookups);
        EXPECT_EQ(def.bindsDeclaredFields, expected[i].bindsDeclared);
    }
}

TEST(Schema, FieldsThatOperationsAddressByPosition)
{
    struct Position
    {
        const char* table;
        int index;
        const char* field;
    };
    const Position positions[] = {
        // condition items: REG_NO, ORD, TYPE, NAME, TXT, MIN_VAL, MAX_VAL, F_UNIT at positions 1 to 8
        {"NT_TBL_CONST_CONDITION", 0, "REG_NO"},
        {"NT_TBL_CONST_CONDITION", 1, "ORD"},
        {"NT_TBL_CONST_CONDITION", 2, "TYPE"},
        {"NT_TBL_CONST_CONDITION", 3, "NAME"},
        {"NT_TBL_CONST_CONDITION", 4, "TXT"},
        {"NT_TBL_CONST_CONDITION", 5, "MIN_VAL"},
        {"NT_TBL_CONST_CONDITION", 6, "MAX_VAL"},
        {"NT_TBL_CONST_CONDITION", 7, "F_UNIT"},
        // contact rows of the report leave out 0, 1, 8, 11 and move 8 before 5
        {"NT_TBL_COMPANY", 0, "REC_ID"},
        {"NT_TBL_COMPANY", 1, "REG_NO"},
        {"NT_TBL_COMPANY", 2, "SALES_COMPANY_OTHER"},
        {"NT_TBL_COMPANY", 5, "SALES_ADDRESS_OTHER"},
        {"NT_TBL_COMPANY", 7, "SALES_FAX_NO_OTHER"},
        {"NT_TBL_COMPANY", 8, "SALES_POST_CODE_OTHER"},
        {"NT_TBL_COMPANY", 10, "SALES_URL_OTHER"},
        {"NT_TBL_COMPANY", 11, "SALES_ORDER_OTHER"},
        // breakdown rows of the report leave out 0 to 2
        {"NT_TBL_COMPARE_DETAIL", 0, "REC_ID"},
        {"NT_TBL_COMPARE_DETAIL", 1, "ORD"},
        {"NT_TBL_COMPARE_DETAIL", 2, "RECORD_TYPE"},
        {"NT_TBL_COMPARE_DETAIL", 3, "ITEM"},
        // record rows of the report leave out 0 to 3 (ministry) and 0 to 2 (private)
        {"PL_TBL_PROJECT_MOC", 3, "CLIENT_MOC_CODE"},
        {"PL_TBL_PROJECT_MOC", 4, "PJT_NAME"},
        {"PL_TBL_PROJECT_PRIVATE", 2, "CLIENT_KIND_CD"},
        {"PL_TBL_PROJECT_PRIVATE", 3, "PJT_NAME"},
        {"NT_TBL_EVALUATE_RESULT", 2, "ITEM"},
        // the save routine judges a row empty by the fields after the key
        {"NT_TBL_MAIN", 3, "REG_NO"},
        {"NT_TBL_MAIN", 61, "SUMMARY"},
        {"NT_TBL_DETAIL", 4, "REG_NO"},
        {"NT_TBL_DETAIL", 113, "CERTIFY_IDEA_PRIVATE"},
        {"NT_TBL_PICTURE", 7, "PICTURE_I"},
        {"NT_TBL_PICTURE", 8, "CERTIFY_PATENT_NO1"},
        {"NT_TBL_PICTURE", 13, "CERTIFY_PATENTEE1"},
        {"NT_TBL_PICTURE", 52, "CERTIFY_PATENT_PRIVATE5"},
    };
    for (const Position& p : positions) {
        const TableDef& def = table(p.table);
        ASSERT_LT(p.index, def.fields.size()) << p.table;
        EXPECT_EQ(def.fields.at(p.index).name, QLatin1String(p.field)) << p.table << " position " << p.index;
    }

    // The cycle-cost fields follow COST_TYPE, so the report fills the table it inserts there.
    const TableDef& detail = table("NT_TBL_DETAIL");
    EXPECT_EQ(indexOf(detail, "NEWTECH_COST_ONE"), indexOf(detail, "COST_TYPE") + 1);
}

TEST(Schema, MainTableClassificationFieldsInSlotOrderWithLevelWidths)
{
    const TableDef& main = table("NT_TBL_MAIN");
    QStringList expectedNames;
    QList<int> expectedWidths;
    for (const QString slot : {QString(), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")}) {
        for (int level = 1; level <= 4; ++level) {
            expectedNames << QStringLiteral("LEVEL%1_COMBO%2").arg(level).arg(slot);
            expectedWidths << 2 * level + 1;
        }
    }
    QStringList levelNames;
    QList<int> levelWidths;
    for (const FieldDef& f : main.fields) {
        if (f.name.startsWith(QLatin1String("LEVEL"))) {
            levelNames << f.name;
            levelWidths << f.width;
            EXPECT_EQ(f.type, FieldType::FixedText) << f.name.toStdString();
        }
    }
    EXPECT_EQ(levelNames, expectedNames);
    EXPECT_EQ(levelWidths, expectedWidths);
    EXPECT_EQ(indexOf(main, "LEVEL1_COMBO"), indexOf(main, "OPEN_DIV_CD") + 1);
    EXPECT_EQ(indexOf(main, "GRP2_CODE2"), indexOf(main, "DATA_TYPE_CODE") + 1);
    EXPECT_EQ(indexOf(main, "LEVEL1_COMBO2"), indexOf(main, "GRP5_CODE5") + 1);
}

TEST(Schema, RegistrationNumberIsFixedTenExceptInFreeItems)
{
    for (const TableDef& def : registrationTables()) {
        const int at = indexOf(def, "REG_NO");
        if (def.name == QLatin1String("NT_TBL_COMPARE_DETAIL")) {
            EXPECT_EQ(at, -1);
            continue;
        }
        ASSERT_GE(at, 0) << def.name.toStdString();
        const FieldDef& regNo = def.fields.at(at);
        EXPECT_EQ(regNo.width, 10) << def.name.toStdString();
        const FieldType expected =
            def.name == QLatin1String("NT_TBL_DETAIL_FREE") ? FieldType::Text : FieldType::FixedText;
        EXPECT_EQ(regNo.type, expected) << def.name.toStdString();
    }
}

TEST(Schema, LookedUpFieldsPointAtExistingCodeLists)
{
    struct Expected
    {
        const char* table;
        const char* field;
        LookupDef def;
    };
    const Expected expected[] = {
        {"PL_TBL_PROJECT_MOC", "PJT_TYPE", {"PJT_TYPE_CODE", "PL_STBL_PJT_TYPE", "CD", "PJT_TYPE"}},
        {"PL_TBL_PROJECT_MOC", "CLIENT", {"CLIENT_MOC_CODE", "PL_STBL_CLIENT_MOC", "CD", "CLIENT"}},
        {"PL_TBL_PROJECT_PRIVATE", "CLIENT_KIND", {"CLIENT_KIND_CD", "PL_STBL_CLIENT_KIND", "CD", "CLIENT_KIND"}},
    };
    for (const Expected& e : expected) {
        const TableDef& def = table(e.table);
        const int at = indexOf(def, e.field);
        ASSERT_GE(at, 0) << e.field;
        const FieldDef& f = def.fields.at(at);
        EXPECT_EQ(f.type, FieldType::Lookup);
        EXPECT_EQ(f.width, 20);
        EXPECT_EQ(f.lookup.keyField, e.def.keyField);
        EXPECT_EQ(f.lookup.table, e.def.table);
        EXPECT_EQ(f.lookup.tableKeyField, e.def.tableKeyField);
        EXPECT_EQ(f.lookup.resultField, e.def.resultField);

        EXPECT_GE(indexOf(def, f.lookup.keyField), 0) << e.field;
        const TableDef* list = findTable(f.lookup.table);
        ASSERT_NE(list, nullptr) << e.field;
        EXPECT_EQ(list->group, TableGroup::Lookup);
        EXPECT_GE(indexOf(*list, f.lookup.tableKeyField), 0);
        EXPECT_GE(indexOf(*list, f.lookup.resultField), 0);
    }
}

TEST(Schema, LookupTablesStartWithTheirCode)
{
    const QStringList expected = {
        "NT_STBL_INFO_TECH_EVAL_RSLT", "NT_STBL_INFO_GATHER_MOC", "NT_STBL_INFO_GRP1", "NT_STBL_INFO_GRP2",
        "NT_STBL_INFO_GRP3",           "NT_STBL_INFO_GRP4",       "NT_STBL_INFO_GRP5", "NT_STBL_INFO_EV_ORGAN",
        "NT_STBL_HAC_SAI",             "PL_STBL_CLIENT_MOC",      "PL_STBL_CLIENT_KIND", "PL_STBL_PJT_TYPE"};
    QStringList actual;
    for (const TableDef& def : lookupTables()) {
        actual << def.name;
        EXPECT_EQ(def.group, TableGroup::Lookup);
        ASSERT_GE(def.fields.size(), 2);
        EXPECT_EQ(def.fields.at(0).name, QLatin1String("CD")) << def.name.toStdString();
        EXPECT_EQ(def.bindsDeclaredFields, def.name == QLatin1String("PL_STBL_PJT_TYPE")) << def.name.toStdString();
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(table("NT_STBL_INFO_GRP1").fields.at(1).name, QLatin1String("GRP_TITLE1"));
    EXPECT_EQ(table("NT_STBL_INFO_GRP4").fields.at(1).name, QLatin1String("GRP_TITLE4"));
    EXPECT_EQ(table("NT_STBL_INFO_EV_ORGAN").fields.at(1).name, QLatin1String("EVALUATE_ORGAN"));
    EXPECT_EQ(table("NT_STBL_HAC_SAI").indexFieldNames, QLatin1String("CD"));
}

TEST(Schema, ProjectTypesAreBuiltInInCodeOrder)
{
    const TableDef& def = table("PL_STBL_PJT_TYPE");
    EXPECT_EQ(signature(def.fields, false),
              signature({floatField("CD"), text("PJT_TYPE", 255)}, false));
    EXPECT_EQ(def.indexFieldNames, QLatin1String("CD"));
    const QList<QPair<double, QString>> expected = {
        {1, "技術活用パイロット"}, {2, "特定技術活用パイロット"}, {3, "試験フィールド"}, {4, "リサイクルモデル事業"},
        {5, "一般工事"},           {6, "特定試験フィールド"},     {9, "その他"}};
    ASSERT_EQ(def.initialRows.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(def.initialRows.at(i).size(), 2);
        EXPECT_EQ(def.initialRows.at(i).at(0).toDouble(), expected.at(i).first);
        EXPECT_EQ(def.initialRows.at(i).at(1).toString(), expected.at(i).second);
    }
}

TEST(Schema, FindTableIgnoresCaseAndRefusesUnknownNames)
{
    ASSERT_NE(findTable("nt_tbl_main"), nullptr);
    EXPECT_EQ(findTable("nt_tbl_main")->name, QLatin1String("NT_TBL_MAIN"));
    ASSERT_NE(findTable("Pl_Stbl_Pjt_Type"), nullptr);
    EXPECT_EQ(findTable("Pl_Stbl_Pjt_Type")->group, TableGroup::Lookup);
    EXPECT_EQ(findTable("CdsNT_TBL_MAIN"), nullptr);
    EXPECT_EQ(findTable(""), nullptr);
}

TEST(Schema, EveryTableHasUniqueFieldsAndConsistentKeys)
{
    for (const TableDef* def : allTables()) {
        SCOPED_TRACE(def->name.toStdString());
        QSet<QString> seen;
        for (const FieldDef& f : def->fields) {
            EXPECT_FALSE(seen.contains(f.name.toUpper())) << "duplicate " << f.name.toStdString();
            seen.insert(f.name.toUpper());
        }
        for (const QString& key : def->indexFieldNames.split(';', Qt::SkipEmptyParts))
            EXPECT_GE(indexOf(*def, key), 0) << "index field " << key.toStdString();
        if (def->masterTable.isEmpty())
            continue;
        const TableDef* master = findTable(def->masterTable);
        ASSERT_NE(master, nullptr);
        EXPECT_EQ(master->group, TableGroup::Registration);
        const QStringList masterFields = def->masterFields.split(';');
        const QStringList detailFields = def->detailFields.split(';');
        EXPECT_EQ(masterFields.size(), detailFields.size());
        for (const QString& f : masterFields)
            EXPECT_GE(indexOf(*master, f), 0) << "master field " << f.toStdString();
        for (const QString& f : detailFields)
            EXPECT_GE(indexOf(*def, f), 0) << "detail field " << f.toStdString();
    }
    EXPECT_TRUE(table("NT_TBL_MAIN").masterTable.isEmpty());
    EXPECT_EQ(table("NT_TBL_COMPARE_DETAIL").masterTable, QLatin1String("NT_TBL_COMPARE_MAIN"));
    EXPECT_EQ(table("NT_TBL_COMPANY").indexFieldNames, QLatin1String("REG_NO;SALES_ORDER_OTHER;REC_ID"));
}

TEST(Schema, ViewsFilterTheirTableAndFollowTheirMaster)
{
    QStringList viewNames;
    for (const ViewDef& view : views()) {
        SCOPED_TRACE(view.name.toStdString());
        viewNames << view.name;
        const TableDef* over = findTable(view.over);
        ASSERT_NE(over, nullptr);
        QString error;
        FilterExpression filter;
        EXPECT_TRUE(filter.parse(view.filter, over->fields, &error)) << error.toStdString();
        EXPECT_FALSE(filter.isEmpty());
        const TableDef* master = findTable(view.masterTable);
        ASSERT_NE(master, nullptr);
        EXPECT_GE(indexOf(*master, view.masterFields), 0);
        EXPECT_GE(indexOf(*over, view.detailFields), 0);
        for (const QString& key : view.indexFieldNames.split(';'))
            EXPECT_GE(indexOf(*over, key), 0) << key.toStdString();
    }
    QStringList expected = {"CdsNT_TBL_COMPARE_DETAIL1", "CdsNT_TBL_COMPARE_DETAIL2"};
    for (int n = 1; n <= 6; ++n)
        expected << QStringLiteral("CdsNT_TBL_CONST_CONDITION_%1").arg(n);
    for (int n = 1; n <= 7; ++n)
        expected << QStringLiteral("CdsNT_TBL_INFO_IMAGES%1").arg(n);
    EXPECT_EQ(viewNames, expected);
    EXPECT_EQ(views().at(1).filter, QLatin1String("RECORD_TYPE = '1'"));
    EXPECT_EQ(views().at(7).filter, QLatin1String("ORD = '6'"));
    EXPECT_EQ(views().at(10).filter, QLatin1String("IMAGES_TYPE = 'S'"));
    EXPECT_EQ(views().at(14).filter, QLatin1String("IMAGES_TYPE = 'I'"));
}

TEST(Schema, WorkingDatasetsMirrorTheRegistrationTables)
{
    const QList<WorkingDef>& working = workingDatasets();
    ASSERT_EQ(working.size(), registrationTables().size() + 3);
    for (int i = 0; i < registrationTables().size(); ++i) {
        EXPECT_EQ(working.at(i).name, QStringLiteral("CdsTemp") + registrationTables().at(i).name);
        EXPECT_EQ(working.at(i).layoutOf, registrationTables().at(i).name);
    }
    const QStringList scratch = {"CdsGetMaxRegNo", "CdsMoveDataOrg", "CdsMoveData"};
    for (int i = 0; i < scratch.size(); ++i) {
        const WorkingDef& def = working.at(registrationTables().size() + i);
        EXPECT_EQ(def.name, scratch.at(i));
        EXPECT_TRUE(def.layoutOf.isEmpty());
    }
}

// Every table's declared layout survives being written to a file and opened again, the way the
// templates and new data files are made.
TEST(Schema, DeclaredLayoutsSurviveAFileRoundTrip)
{
    testsupport::TempDir dir;
    for (const TableDef* def : allTables()) {
        SCOPED_TRACE(def->name.toStdString());
        const QString path = dir.filePath(def->name + QStringLiteral(".cds"));
        QString error;
        {
            Table created(QStringLiteral("Cds") + def->name);
            created.setDeclaredFields(def->fields);
            created.setInitialRows(def->initialRows);
            created.createDataSet();
            ASSERT_TRUE(created.isActive());
            ASSERT_TRUE(created.saveToFile(path, &error)) << error.toStdString();
        }
        Table reopened(QStringLiteral("Cds") + def->name);
        if (def->bindsDeclaredFields)
            reopened.setDeclaredFields(def->fields);
        reopened.setFileName(path);
        ASSERT_TRUE(reopened.open(&error)) << error.toStdString();
        EXPECT_EQ(signature(reopened.fields(), !def->bindsDeclaredFields), signature(def->fields, !def->bindsDeclaredFields));
        EXPECT_EQ(reopened.recordCount(), def->initialRows.size());
    }
}
