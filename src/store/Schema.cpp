#include "store/Schema.h"

#include <initializer_list>

namespace store::schema {

namespace {

// Free text that the entry screens limit (or do not limit) without a width of its own.
constexpr int kTextWidth = 255;

const QString kMain = QStringLiteral("NT_TBL_MAIN");
const QString kRegNo = QStringLiteral("REG_NO");

// prefix + n for n in [from, to], in that order: "GRP2_CODE" 2..5 → GRP2_CODE2 … GRP2_CODE5.
QStringList numbered(const QString& prefix, int from, int to)
{
    QStringList names;
    for (int n = from; n <= to; ++n)
        names << prefix + QString::number(n);
    return names;
}

void addFixed(QList<FieldDef>& fields, const QStringList& names, int width)
{
    for (const QString& name : names)
        fields << fixedText(name, width);
}

void addText(QList<FieldDef>& fields, const QStringList& names, int width = kTextWidth)
{
    for (const QString& name : names)
        fields << text(name, width);
}

void addFloat(QList<FieldDef>& fields, const QStringList& names)
{
    for (const QString& name : names)
        fields << floatField(name);
}

void addMemo(QList<FieldDef>& fields, const QStringList& names)
{
    for (const QString& name : names)
        fields << memo(name);
}

// The four classification levels of one slot: level codes of 3, 5, 7 and 9 characters.
void addLevels(QList<FieldDef>& fields, const QString& slotSuffix)
{
    const int widths[] = {3, 5, 7, 9};
    for (int level = 1; level <= 4; ++level)
        fields << fixedText(QStringLiteral("LEVEL%1_COMBO%2").arg(level).arg(slotSuffix), widths[level - 1]);
}

TableDef tableDef(const QString& name, QList<FieldDef> fields, const QString& index, bool bindsDeclared)
{
    TableDef def;
    def.name = name;
    def.fields = std::move(fields);
    def.bindsDeclaredFields = bindsDeclared;
    def.indexFieldNames = index;
    return def;
}

// A registration table whose rows follow the master's current row by equal key fields.
TableDef detailOf(const QString& master, const QString& key, const QString& name, QList<FieldDef> fields,
                  const QString& index, bool bindsDeclared)
{
    TableDef def = tableDef(name, std::move(fields), index, bindsDeclared);
    def.masterTable = master;
    def.masterFields = key;
    def.detailFields = key;
    return def;
}

TableDef detailOfMain(const QString& name, QList<FieldDef> fields, const QString& index, bool bindsDeclared)
{
    return detailOf(kMain, kRegNo, name, std::move(fields), index, bindsDeclared);
}

TableDef mainTable()
{
    QList<FieldDef> f;
    f << dateTime("REG_DATE") << dateTime("DB_REG_DATE") << dateTime("DB_RENEW_DATE")
      << fixedText("REG_NO", 10) << text("TECH_TITLE", 255) << text("TECH_SUBTITLE", 255)
      << fixedText("GATHER_MOC_CODE", 3) << fixedText("TECH_DVLP_YEAR", 4);
    addFixed(f, {"TECH_GRP_CODE", "TECH_EVAL_YN", "TECH_EVAL_RSLT"}, 1);
    f << fixedText("GRP_CODE1", 2) << fixedText("GRP_CODE2", 2) << fixedText("GRP_CODE3", 3)
      << fixedText("GRP_CODE4", 2) << fixedText("GRP_CODE5", 2) << fixedText("DVLP_TYPE_CODE", 1)
      << text("DVLP_COOPERATIVE", 255) << text("TECH_DVLP_COMPANY", 255);
    addFixed(f, {"FLG", "WORD_FLG", "DVLP_COMPANY_CODE"}, 1);
    f << floatField("REG_VERSION") << fixedText("OPEN_DIV_CD", 1);
    addLevels(f, QString());
    f << fixedText("DATA_TYPE_CODE", 1);
    addFixed(f, numbered("GRP2_CODE", 2, 5), 2);
    addFixed(f, numbered("GRP3_CODE", 2, 5), 3);
    addFixed(f, numbered("GRP4_CODE", 2, 5), 2);
    addFixed(f, numbered("GRP5_CODE", 2, 5), 2);
    for (int slot = 2; slot <= 5; ++slot)
        addLevels(f, QString::number(slot));
    f << text("SUMMARY", 255);

    return tableDef(kMain, f, kRegNo, true);
}

TableDef detailTable()
{
    QList<FieldDef> f;
    f << dateTime("EVALUATE_MOC_DATE") << dateTime("EVALUATE_PRIVATE_DATE") << dateTime("EVALUATE_DATE3")
      << dateTime("EVALUATE_DATE4") << fixedText("REG_NO", 10);
    addText(f, {"SALES_COMPANY", "SALES_SECTION", "SALES_STUFF", "SALES_ADDRESS", "SALES_TEL_NO", "SALES_FAX_NO"});
    addFixed(f,
             {"KEYWD_SAFETY_YN", "KEYWD_ENV_YN", "KEYWD_INFO_YN", "KEYWD_COST_YN", "KEYWD_QUALITY_YN",
              "KEYWD_LANDSCAPE_YN", "KEYWD_TRADITION_YN", "KEYWD_RECYCLE_YN"},
             1);
    addText(f, numbered("KEYWD_FREE", 1, 3), 64);
    addFixed(f,
             {"TERGET_MAN_COUNT_YN", "TERGET_MAN_POWER_YN", "TERGET_EFFICIENCY_YN", "TERGET_ACCURACY_YN",
              "TERGET_ENDURANCE_YN", "TERGET_SAFTY_YN", "TERGET_WORK_ENV_YN", "TERGET_AREA_ENV_YN",
              "TERGET_EARTH_ENV_YN", "TERGET_RESOURCE_YN", "TERGET_RESULT_YN", "TERGET_RECYCLE_YN",
              "TERGET_OTHER_YN"},
             1);
    f << text("COMPARE_TECH_TITLE", 255) << fixedText("COMPARE_BASE_YN", 1) << fixedText("COMPARE_PROCESS", 1)
      << floatField("COMPARE_PROCESS_RATE") << text("COMPARE_PROCESS_NOTE", 255)
      << fixedText("COMPARE_MAN_COUNT", 1) << floatField("COMPARE_MAN_COUNT_RATE") << text("COMPARE_MAN_COUNT_NOTE", 64)
      << fixedText("COMPARE_COST", 1) << floatField("COMPARE_COST_RATE") << text("COMPARE_COST_NOTE", 255)
      << fixedText("COMPARE_CONST_MANAGE", 1) << text("COMPARE_CONST_MANAGE_NOTE", 64)
      << fixedText("COMPARE_SAFTY", 1) << text("COMPARE_SAFTY_NOTE", 255)
      << fixedText("COMPARE_CONSTRUCT", 1) << text("COMPARE_CONSTRUCT_NOTE", 255)
      << fixedText("COMPARE_ENV", 1) << text("COMPARE_ENV_NOTE", 255)
      << fixedText("COMPARE_PURPOSE", 1) << text("COMPARE_PURPOSE_NOTE", 64)
      << fixedText("COMPARE_QUALITY", 1) << text("COMPARE_QUALITY_NOTE", 255) << text("COMPARE_OTHER_NOTE", 255);
    addFloat(f,
             {"RESULTS_MOC", "RESULTS_PUBLIC", "RESULTS_PRIVATE", "RESULTS_TECH_USE", "RESULTS_SPE_TECH",
              "RESULTS_TEST", "RESULTS_RECYCLE"});
    f << fixedText("CERTIFY_PATENT_STAT", 1) << fixedText("CERTIFY_PATENT_NO", 255)
      << fixedText("CERTIFY_IDEA_STAT", 1) << fixedText("CERTIFY_IDEA_NO", 255)
      << fixedText("EVALUATE_MOC_NO", 20) << fixedText("EVALUATE_PRIVATE_NO", 20)
      << fixedText("EVALUATE_ORGAN_CODE", 2);
    addText(f, {"EVALUATE_NAME3", "EVALUATE_NO3", "EVALUATE_ORGAN_NAME3", "EVALUATE_SCOPE3"});
    addText(f, {"EVALUATE_NAME4", "EVALUATE_NO4", "EVALUATE_ORGAN_NAME4", "EVALUATE_SCOPE4"});
    f << fixedText("CST_TBL_YN", 1);
    addText(f,
            {"SALES_COMPANY_BUSINESS", "SALES_SECTION_BUSINESS", "SALES_STUFF_BUSINESS", "SALES_ADDRESS_BUSINESS",
             "SALES_TEL_NO_BUSINESS", "SALES_FAX_NO_BUSINESS"});
    f << text("TERGET_OTHER", 50) << text("SALES_POST_CODE", 255) << text("SALES_POST_CODE_BUSINESS", 255)
      << fixedText("POLICY_TECH_YN", 10) << fixedText("RECOMMEND_TECH_YN", 10) << text("SALES_E_MAIL", 255)
      << text("SALES_E_MAIL_BUSINESS", 255) << floatField("RECOMMEND_CNT") << fixedText("THEME_TECH_YN", 4);
    addText(f,
            {"SALES_URL", "SALES_URL_BUSINESS", "EVALUATE_MOC_URL", "EVALUATE_PRIVATE_URL", "EVALUATE_URL3",
             "EVALUATE_URL4"});
    f << fixedText("COST_TYPE", 1);
    addFloat(f,
             {"NEWTECH_COST_ONE", "NEWTECH_COST_THREE", "NEWTECH_COST_FIVE", "NEWTECH_COST_TEN", "OLDTECH_COST_ONE",
              "OLDTECH_COST_THREE", "OLDTECH_COST_FIVE", "OLDTECH_COST_TEN"});
    addFixed(f, {"CERTIFY_IDEA_GENERAL", "CERTIFY_IDEA_PRIVATE"}, 1);
    return detailOfMain("NT_TBL_DETAIL", f, kRegNo, true);
}

TableDef detailFreeTable()
{
    QList<FieldDef> f;
    // REG_NO has a variable width in this table.
    f << text("REG_NO", 10) << text("FREE_ITEM_TITLE1", 40) << text("FREE_ITEM1", 1) << text("FREE_ITEM_NOTE1", 255)
      << text("FREE_ITEM_TITLE2", 40) << text("FREE_ITEM2", 1) << text("FREE_ITEM_NOTE2", 255);
    return detailOfMain("NT_TBL_DETAIL_FREE", f, kRegNo, true);
}

TableDef descriptionTable()
{
    QList<FieldDef> f{fixedText("REG_NO", 10)};
    addMemo(f,
            {"SUMMARY_DESC", "OLD_CONST_CONDITION", "FEATURE_DESC", "CONDITION_DESC", "CNST_ATTN_DESC", "SUBJECT_DESC",
             "CNST_COST_DESC", "CNST_METHOD_DESC", "REF_DESC", "TEST_DESC", "APDX_DESC", "CERTIFY_NOTE",
             "SUMMARY_TABLE", "CNST_METHOD_TABLE", "CNST_COST_TABLE", "FEATURE_TABLE", "TEST_TABLE"});
    return detailOfMain("NT_TBL_DESCRIPTION", f, kRegNo, false);
}

TableDef pictureTable()
{
    QList<FieldDef> f{fixedText("REG_NO", 10)};
    for (const char* slot : {"A", "B", "S", "T", "G", "H", "I"})
        f << text(QStringLiteral("PICTURE_") + QLatin1String(slot), kTextWidth);
    // Five patent blocks, grouped by item: all five numbers, then all five patentees, and so on.
    addMemo(f, numbered("CERTIFY_PATENT_NO", 1, 5));
    for (const char* item : {"CERTIFY_PATENTEE", "CERTIFY_PRACTICE", "CERTIFY_PATENT_FEE", "CERTIFY_PRACTICE_FORM",
                             "CERTIFY_ADDRESS"})
        addText(f, numbered(QLatin1String(item), 1, 5));
    for (const char* flag : {"CERTIFY_PATENT_FLG", "CERTIFY_PATENT_GENERAL", "CERTIFY_PATENT_PRIVATE"})
        addText(f, numbered(QLatin1String(flag), 1, 5), 1);
    return detailOfMain("NT_TBL_PICTURE", f, kRegNo, false);
}

TableDef companyTable()
{
    QList<FieldDef> f{floatField("REC_ID"), fixedText("REG_NO", 10)};
    addText(f,
            {"SALES_COMPANY_OTHER", "SALES_SECTION_OTHER", "SALES_STUFF_OTHER", "SALES_ADDRESS_OTHER",
             "SALES_TEL_NO_OTHER", "SALES_FAX_NO_OTHER", "SALES_POST_CODE_OTHER", "SALES_E_MAIL_OTHER",
             "SALES_URL_OTHER"});
    f << floatField("SALES_ORDER_OTHER");
    return detailOfMain("NT_TBL_COMPANY", f, QStringLiteral("REG_NO;SALES_ORDER_OTHER;REC_ID"), false);
}

TableDef evaluateResultTable()
{
    QList<FieldDef> f{floatField("EVALUATE_ID"), fixedText("REG_NO", 10), memo("ITEM"), memo("CONTENTS"),
                      memo("RESULT")};
    return detailOfMain("NT_TBL_EVALUATE_RESULT", f, QStringLiteral("REG_NO;EVALUATE_ID"), false);
}

TableDef projectMocTable()
{
    QList<FieldDef> f{floatField("MOC_ID"),
                      fixedText("REG_NO", 10),
                      floatField("PJT_TYPE_CODE"),
                      fixedText("CLIENT_MOC_CODE", 3),
                      text("PJT_NAME", 255),
                      lookup("PJT_TYPE", 20, {"PJT_TYPE_CODE", "PL_STBL_PJT_TYPE", "CD", "PJT_TYPE"}),
                      lookup("CLIENT", 20, {"CLIENT_MOC_CODE", "PL_STBL_CLIENT_MOC", "CD", "CLIENT"}),
                      text("CLIENT_MOC_OFFICE", 255),
                      dateTime("PJT_START_DATE"),
                      dateTime("PJT_END_DATE"),
                      text("TALVEN_NO", 255)};
    return detailOfMain("PL_TBL_PROJECT_MOC", f, QStringLiteral("REG_NO;MOC_ID"), true);
}

TableDef projectPrivateTable()
{
    QList<FieldDef> f{floatField("PRIVATE_ID"),
                      fixedText("REG_NO", 10),
                      fixedText("CLIENT_KIND_CD", 1),
                      text("PJT_NAME", 255),
                      lookup("CLIENT_KIND", 20, {"CLIENT_KIND_CD", "PL_STBL_CLIENT_KIND", "CD", "CLIENT_KIND"}),
                      text("CLIENT_NAME", 255),
                      dateTime("PJT_START_DATE"),
                      dateTime("PJT_END_DATE"),
                      text("TALVEN_NO", 255)};
    return detailOfMain("PL_TBL_PROJECT_PRIVATE", f, QStringLiteral("REG_NO;PRIVATE_ID"), true);
}

TableDef compareMainTable()
{
    QList<FieldDef> f{fixedText("REG_NO", 10), integer("REC_ID"), floatField("BASE_VALUE"), text("BASE_UNIT", kTextWidth)};
    addFloat(f, {"N_COST", "O_COST", "RATE_COST", "N_PROCESS", "O_PROCESS", "RATE_PROCESS"});
    return detailOfMain("NT_TBL_COMPARE_MAIN", f, kRegNo, false);
}

TableDef compareDetailTable()
{
    QList<FieldDef> f{integer("REC_ID"),
                      integer("ORD"),
                      text("RECORD_TYPE", 1),
                      text("ITEM", kTextWidth),
                      text("METHOD", kTextWidth),
                      floatField("F_VALUE"),
                      text("F_UNIT", kTextWidth),
                      floatField("UNIT_PRICE"),
                      floatField("PRICE"),
                      text("SAMMARY", kTextWidth)};
    return detailOf(QStringLiteral("NT_TBL_COMPARE_MAIN"), QStringLiteral("REC_ID"), QStringLiteral("NT_TBL_COMPARE_DETAIL"),
                    f, QStringLiteral("REC_ID;RECORD_TYPE;ORD"), false);
}

TableDef constConditionTable()
{
    // The condition operations address REG_NO, ORD, TYPE and NAME by position 1 to 4.
    QList<FieldDef> f{fixedText("REG_NO", 10),      text("ORD", 1),          text("TYPE", 1),
                      text("NAME", kTextWidth),     text("TXT", kTextWidth), floatField("MIN_VAL"),
                      floatField("MAX_VAL"),        text("F_UNIT", kTextWidth)};
    return detailOfMain("NT_TBL_CONST_CONDITION", f, kRegNo, false);
}

TableDef infoImagesTable()
{
    QList<FieldDef> f{fixedText("REG_NO", 10), text("IMAGES_TYPE", 1), text("IMAGES_FILE", kTextWidth),
                      text("IMAGES_ORIGINAL", kTextWidth)};
    return detailOfMain("NT_TBL_INFO_IMAGES", f, kRegNo, false);
}

// A code list: the code CD first, the title shown to the user second. Such tables come with the
// installed data files, so the open table takes the layout of its file.
TableDef lookupTable(const QString& name, QList<FieldDef> fields, const QString& index = QString())
{
    TableDef def = tableDef(name, std::move(fields), index, false);
    def.group = TableGroup::Lookup;
    return def;
}

QList<TableDef> buildLookupTables()
{
    QList<TableDef> tables;
    tables << lookupTable("NT_STBL_INFO_TECH_EVAL_RSLT", {text("CD", 1), text("TECH_EVAL_RSLT", kTextWidth)})
           << lookupTable("NT_STBL_INFO_GATHER_MOC", {text("CD", 3), text("GATHER_MOC", kTextWidth)});
    // Code widths follow the fields that store them: the category (2) and the level codes, with
    // GRP3 … GRP5 holding levels 1 to 3 (3, 5, 7 characters) and GRP2 level 4 (9 characters).
    const int codeWidths[] = {2, 9, 3, 5, 7};
    for (int n = 1; n <= 5; ++n) {
        tables << lookupTable(QStringLiteral("NT_STBL_INFO_GRP%1").arg(n),
                              {text("CD", codeWidths[n - 1]), text(QStringLiteral("GRP_TITLE%1").arg(n), kTextWidth)});
    }
    // The report fills a tag for every field of the chosen organisation by field name; the
    // names carry the table's own prefix so that no tag of another table is taken.
    tables << lookupTable("NT_STBL_INFO_EV_ORGAN",
                          {text("CD", 2), text("EVALUATE_ORGAN", kTextWidth), text("EVALUATE_ORGAN_ADDRESS", kTextWidth),
                           text("EVALUATE_ORGAN_TEL_NO", kTextWidth), text("EVALUATE_ORGAN_URL", kTextWidth)});
    tables << lookupTable("NT_STBL_HAC_SAI", {text("CD", 10), text("HAC_SAI", kTextWidth)}, QStringLiteral("CD"))
           << lookupTable("PL_STBL_CLIENT_MOC", {text("CD", 3), text("CLIENT", kTextWidth)})
           << lookupTable("PL_STBL_CLIENT_KIND", {text("CD", 1), text("CLIENT_KIND", kTextWidth)});

    // The kinds of project are built in: the table starts with these rows whatever its file holds.
    TableDef projectTypes =
        lookupTable("PL_STBL_PJT_TYPE", {floatField("CD"), text("PJT_TYPE", kTextWidth)}, QStringLiteral("CD"));
    projectTypes.bindsDeclaredFields = true;
    const std::pair<int, const char*> kinds[] = {
        {1, "技術活用パイロット"}, {2, "特定技術活用パイロット"}, {3, "試験フィールド"}, {4, "リサイクルモデル事業"},
        {5, "一般工事"},           {6, "特定試験フィールド"},     {9, "その他"}};
    for (const auto& [code, title] : kinds)
        projectTypes.initialRows << QVector<QVariant>{double(code), QString::fromUtf8(title)};
    tables << projectTypes;
    return tables;
}

QList<ViewDef> buildViews()
{
    QList<ViewDef> list;
    for (int kind = 0; kind <= 1; ++kind) {
        list << ViewDef{QStringLiteral("CdsNT_TBL_COMPARE_DETAIL%1").arg(kind + 1), QStringLiteral("NT_TBL_COMPARE_DETAIL"),
                        QStringLiteral("RECORD_TYPE = '%1'").arg(kind), QStringLiteral("NT_TBL_COMPARE_MAIN"),
                        QStringLiteral("REC_ID"), QStringLiteral("REC_ID"), QStringLiteral("REC_ID;RECORD_TYPE;ORD")};
    }
    for (int item = 1; item <= 6; ++item) {
        list << ViewDef{QStringLiteral("CdsNT_TBL_CONST_CONDITION_%1").arg(item), QStringLiteral("NT_TBL_CONST_CONDITION"),
                        QStringLiteral("ORD = '%1'").arg(item), kMain, kRegNo, kRegNo, kRegNo};
    }
    const QString slotLetters = QStringLiteral("ABSTGHI");
    for (int n = 1; n <= slotLetters.size(); ++n) {
        list << ViewDef{QStringLiteral("CdsNT_TBL_INFO_IMAGES%1").arg(n), QStringLiteral("NT_TBL_INFO_IMAGES"),
                        QStringLiteral("IMAGES_TYPE = '%1'").arg(slotLetters.at(n - 1)), kMain, kRegNo, kRegNo, kRegNo};
    }
    return list;
}

QList<WorkingDef> buildWorkingDatasets()
{
    QList<WorkingDef> list;
    for (const TableDef& table : registrationTables())
        list << WorkingDef{QStringLiteral("CdsTemp") + table.name, table.name};
    for (const char* name : {"CdsGetMaxRegNo", "CdsMoveDataOrg", "CdsMoveData"})
        list << WorkingDef{QLatin1String(name), QString()};
    return list;
}

} // namespace

const QList<TableDef>& registrationTables()
{
    static const QList<TableDef> tables{mainTable(),          detailTable(),         detailFreeTable(),
                                        descriptionTable(),   pictureTable(),        companyTable(),
                                        evaluateResultTable(), projectMocTable(),    projectPrivateTable(),
                                        compareMainTable(),   compareDetailTable(),  constConditionTable(),
                                        infoImagesTable()};
    return tables;
}

const QList<TableDef>& lookupTables()
{
    static const QList<TableDef> tables = buildLookupTables();
    return tables;
}

const TableDef* findTable(const QString& name)
{
    for (const QList<TableDef>* group : {&registrationTables(), &lookupTables()}) {
        for (const TableDef& table : *group) {
            if (table.name.compare(name, Qt::CaseInsensitive) == 0)
                return &table;
        }
    }
    return nullptr;
}

const QList<ViewDef>& views()
{
    static const QList<ViewDef> list = buildViews();
    return list;
}

const QList<WorkingDef>& workingDatasets()
{
    static const QList<WorkingDef> list = buildWorkingDatasets();
    return list;
}

} // namespace store::schema
