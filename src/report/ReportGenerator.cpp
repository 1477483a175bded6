#include "report/ReportGenerator.h"

#include "comparison/CostType.h"
#include "entry/Classification.h"
#include "report/DescriptionGrid.h"
#include "report/FragmentBuilders.h"
#include "report/HtmlText.h"
#include "store/DataModule.h"
#include "util/NumberText.h"
#include "util/PostCode.h"
#include "util/SjisText.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <cmath>

namespace report {

namespace {

const QString kMark = QStringLiteral("*");
const QString kLineEnd = QStringLiteral("\r\n");

QString tag(const QString& name)
{
    return QStringLiteral("<%=") + name + QStringLiteral("%>");
}

// The document as it is worked on, step after step.
class Document
{
public:
    explicit Document(QString text) : m_text(std::move(text)) {}

    void fill(const QString& name, const QString& value) { m_text = ReplaceTag(m_text, tag(name), value); }
    void mark(const QString& name) { fill(name, kMark); }
    void remove(const QString& name) { fill(name, QString()); }
    // The field's own tag with its text, escaped.
    void fillText(const QString& name, const QString& text) { fill(name, html::escape(text)); }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

// Every field of the table's current row into its own tag, escaped.
void fillCurrentRow(Document& doc, store::Table* table)
{
    for (int i = 0; i < table->fieldCount(); ++i)
        doc.fillText(table->field(i).name(), table->field(i).asString());
}

void fillMain(Document& doc, store::Table* main, const ReportScreen& screen)
{
    for (int i = 0; i < main->fieldCount(); ++i) {
        const store::Field field = main->field(i);
        const QString name = field.name();
        const QString value = field.asString();
        if (name == QLatin1String("DVLP_TYPE_CODE")) {
            if (QStringList{"1", "2", "3"}.contains(value))
                doc.mark(QStringLiteral("DVLP_TYPE1"));
            else if (QStringList{"7", "8", "9", "0"}.contains(value))
                doc.mark(QStringLiteral("DVLP_TYPE2"));
            else
                continue;
            doc.mark(QStringLiteral("DVLP_TYPE_CODE") + value);
        } else if (name.startsWith(QLatin1String("LEVEL1_COMBO"))) {
            const int slot = name.size() == 12 ? 1 : name.mid(12).toInt();
            if (slot < 1 || slot > 5)
                continue;
            const QString prefix = slot == 1 ? QStringLiteral("GRP_TITLE") : QStringLiteral("GRP%1_TITLE").arg(slot);
            const auto& titles = screen.levelTitles[size_t(slot - 1)];
            doc.fillText(prefix + QLatin1Char('3'), titles[0]);
            doc.fillText(prefix + QLatin1Char('4'), titles[1]);
            doc.fillText(prefix + QLatin1Char('5'), titles[2]);
            doc.fillText(prefix + QLatin1Char('2'), titles[3]);
        } else if (name == QLatin1String("OPEN_DIV_CD")) {
            if (QStringList{"0", "1", "2"}.contains(value))
                doc.mark(QStringLiteral("OPEN_DIV_CD") + value);
        } else {
            doc.fillText(name, value);
        }
    }
}

void fillDescription(Document& doc, store::Table* description, const QMap<QString, DescriptionGrid>& shownGrids)
{
    static const QSet<QString> grids{"SUMMARY_TABLE", "FEATURE_TABLE", "CNST_METHOD_TABLE", "CNST_COST_TABLE", "TEST_TABLE"};
    for (int i = 0; i < description->fieldCount(); ++i) {
        const store::Field field = description->field(i);
        if (shownGrids.contains(field.name()))
            doc.fill(field.name(), BuildGridTable(shownGrids.value(field.name())));
        else if (grids.contains(field.name()))
            doc.fill(field.name(), BuildGridTable(DescriptionGrid::fromStoredText(field.asString())));
        else
            doc.fill(field.name(), html::escapeWithBreaks(field.asString()));
    }
}

void fillPictures(Document& doc, store::DataModule& dm)
{
    store::Table* pictures = dm.table(QStringLiteral("NT_TBL_PICTURE"));
    const QString slotLetters = QStringLiteral("ABSTGHI");
    for (int i = 0; i < pictures->fieldCount(); ++i) {
        const store::Field field = pictures->field(i);
        const QString name = field.name();
        const QString value = field.asString();
        if (name.startsWith(QLatin1String("PICTURE_")) && name.size() == 9 && slotLetters.contains(name.at(8))) {
            store::Table* images = dm.table(QStringLiteral("CdsNT_TBL_INFO_IMAGES%1").arg(slotLetters.indexOf(name.at(8)) + 1));
            const QString fileName = images->field(QStringLiteral("IMAGES_FILE")).asString().trimmed();
            doc.fill(name, BuildPhotoBlock(dm.folder(), value, fileName));
        } else if (name.startsWith(QLatin1String("CERTIFY_PATENT_NO"))) {
            doc.fill(name, html::escapeWithBreaks(value));
        } else if (name.startsWith(QLatin1String("CERTIFY_PATENT_FLG"))) {
            doc.fill(name, value == QLatin1String("0") ? QStringLiteral("【出願中】") : QString());
        } else if (name.startsWith(QLatin1String("CERTIFY_PATENT_GENERAL")) || name.startsWith(QLatin1String("CERTIFY_PATENT_PRIVATE"))) {
            doc.fill(name, value == QLatin1String("1") ? kMark : QString());
        } else {
            doc.fillText(name, value);
        }
    }
}

// The row of the organisation list whose code the registration holds; -1 when none.
int organRow(const store::Table* organs, const QString& code)
{
    for (int row = 0; row < organs->recordCount(); ++row) {
        if (organs->visibleValue(row, 0).toString().trimmed() == code)
            return row;
    }
    return -1;
}

void fillEvaluateOrgan(Document& doc, store::DataModule& dm, const ReportScreen& screen)
{
    const QString code = dm.table(QStringLiteral("NT_TBL_DETAIL"))->field(QStringLiteral("EVALUATE_ORGAN_CODE")).asString().trimmed();
    store::Table* organs = dm.table(QStringLiteral("NT_STBL_INFO_EV_ORGAN"));
    const int row = organRow(organs, code);
    if (code.isEmpty() || screen.evaluateOrgan.isEmpty() || row < 0)
        return;
    for (int i = 0; i < organs->fieldCount(); ++i)
        doc.fillText(organs->fields().at(i).name, store::valueText(organs->fields().at(i), organs->visibleValue(row, i)));
}

void fillFreeItems(Document& doc, store::Table* free)
{
    for (int i = 0; i < free->fieldCount(); ++i) {
        const store::Field field = free->field(i);
        const QString value = field.asString();
        const bool choice = field.name() == QLatin1String("FREE_ITEM1") || field.name() == QLatin1String("FREE_ITEM2");
        if (choice && QStringList{"1", "2", "3"}.contains(value))
            doc.mark(field.name() + value);
        else
            doc.fillText(field.name(), value);
    }
}

// The absolute value of a number text in the general number form ("0" for no number).
QString absoluteNumber(const QString& text)
{
    double number = 0;
    numbertext::parse(text, &number);
    return numbertext::format(std::fabs(number));
}

// A rate of the comparison sheet: greater than, equal to or less than zero marks options 1, 2, 3.
void fillRate(Document& doc, const QString& stem, const QString& rateBox, const QString& rateLabel)
{
    if (rateBox.trimmed().isEmpty())
        return;
    double rate = 0;
    if (!numbertext::parse(rateBox, &rate))
        return;
    if (rate == 0) {
        doc.mark(stem + QLatin1Char('2'));
    } else if (rate > 0) {
        doc.mark(stem + QLatin1Char('1'));
        doc.fillText(stem + QStringLiteral("_RATE1"), rateLabel);
    } else {
        doc.mark(stem + QLatin1Char('3'));
        doc.fillText(stem + QStringLiteral("_RATE3"), absoluteNumber(rateLabel));
    }
}

// The joined post-code boxes of a post-code field; empty for other fields or a blank box.
QString shownPostCode(const QString& field, const ReportScreen& screen)
{
    if (field == QLatin1String("SALES_POST_CODE"))
        return postcode::JoinPostCode(screen.salesPostCode1, screen.salesPostCode2);
    if (field == QLatin1String("SALES_POST_CODE_BUSINESS"))
        return postcode::JoinPostCode(screen.salesPostCodeBusiness1, screen.salesPostCodeBusiness2);
    return {};
}

} // namespace

QString shownPatentStatus(const QString& stored, store::Table* pictures)
{
    if (!stored.trimmed().isEmpty() && stored.trimmed() != QLatin1String("4"))
        return stored;
    bool entered = false;
    bool granted = false;
    for (int block = 1; block <= 5; ++block) {
        if (pictures->field(QStringLiteral("CERTIFY_PATENT_NO%1").arg(block)).asString().trimmed().isEmpty())
            continue;
        entered = true;
        if (pictures->field(QStringLiteral("CERTIFY_PATENT_FLG%1").arg(block)).asString().trimmed() != QLatin1String("0"))
            granted = true;
    }
    if (!entered)
        return stored;
    return granted ? QStringLiteral("1") : QStringLiteral("2");
}

namespace {

void fillDetail(Document& doc, store::Table* detail, store::Table* pictures, const ReportScreen& screen)
{
    static const QSet<QString> flags{
        "KEYWD_SAFETY_YN",      "KEYWD_ENV_YN",         "KEYWD_INFO_YN",       "KEYWD_COST_YN",       "KEYWD_QUALITY_YN",
        "KEYWD_LANDSCAPE_YN",   "KEYWD_TRADITION_YN",   "KEYWD_RECYCLE_YN",    "TERGET_MAN_COUNT_YN", "TERGET_MAN_POWER_YN",
        "TERGET_EFFICIENCY_YN", "TERGET_ACCURACY_YN",   "TERGET_ENDURANCE_YN", "TERGET_SAFTY_YN",     "TERGET_WORK_ENV_YN",
        "TERGET_AREA_ENV_YN",   "TERGET_EARTH_ENV_YN",  "TERGET_RESOURCE_YN",  "TERGET_RESULT_YN",    "TERGET_RECYCLE_YN",
        "TERGET_OTHER_YN"};
    static const QSet<QString> ideaMarks{"CERTIFY_IDEA_GENERAL", "CERTIFY_IDEA_PRIVATE"};
    static const QSet<QString> compared{"COMPARE_QUALITY", "COMPARE_SAFTY", "COMPARE_CONSTRUCT", "COMPARE_ENV"};
    static const QSet<QString> statuses{"CST_TBL_YN", "CERTIFY_PATENT_STAT", "CERTIFY_IDEA_STAT"};
    const QString patent = QStringLiteral("CERTIFY_PATENT_STAT");
    const QString idea = QStringLiteral("CERTIFY_IDEA_STAT");
    const QString table = QStringLiteral("CST_TBL_YN");

    for (int i = 0; i < detail->fieldCount(); ++i) {
        const store::Field field = detail->field(i);
        const QString name = field.name();
        const QString value = name == patent ? shownPatentStatus(field.asString(), pictures) : field.asString();
        // The post code shown in the two boxes wins over the stored one, which the save writes
        // from the boxes only later.
        if (const QString shown = shownPostCode(name, screen); !shown.isEmpty())
            doc.fillText(name, QStringLiteral("〒") + shown);
        if (name == QLatin1String("COMPARE_COST")) {
            fillRate(doc, name, screen.rateCost, screen.costRateLabel);
        } else if (name == QLatin1String("COMPARE_PROCESS")) {
            fillRate(doc, name, screen.rateProcess, screen.processRateLabel);
        } else if (name == QLatin1String("COST_TYPE")) {
            doc.fillText(name, screen.costTypeName);
            if (value == QLatin1String("7") || value == QLatin1String("8"))
                doc.fill(QStringLiteral("CYCLE_COST"), BuildCycleCostTable());
        } else if (value == QLatin1String("1")) {
            if (flags.contains(name) || ideaMarks.contains(name))
                doc.mark(name);
            else if (compared.contains(name) || statuses.contains(name))
                doc.mark(name + value);
            else
                doc.fill(name, value);
        } else if (value == QLatin1String("0")) {
            if (flags.contains(name) || ideaMarks.contains(name)) {
                doc.remove(name);
            } else {
                // 歩掛り表 "0" is the option なし: its box is marked besides the own tag's value.
                if (name == table)
                    doc.mark(name + value);
                doc.fill(name, value);
            }
        } else if (value == QLatin1String("2") || value == QLatin1String("3")) {
            if (compared.contains(name) || statuses.contains(name))
                doc.mark(name + value);
            else
                doc.fill(name, value);
        } else if (value == QLatin1String("4")) {
            if (statuses.contains(name))
                doc.mark(name + value);
            else
                doc.fill(name, value);
        } else if (value == QLatin1String("5")) {
            if (name == patent) {
                doc.mark(patent + QLatin1Char('1'));
                doc.fill(patent + QLatin1Char('5'), QStringLiteral("（専用実施権）"));
            } else if (name == table) {
                doc.mark(name + value);
            } else {
                doc.fill(name, value);
            }
        } else if (value.isEmpty()) {
            if (name == patent || name == idea)
                doc.mark(name + QLatin1Char('4'));
            else
                doc.remove(name);
        } else {
            if (ideaMarks.contains(name))
                doc.remove(name);
            doc.fillText(name, value);
        }
    }
}

// The construction conditions: their table when one of them is entered, else nothing. A definition
// file that cannot be read is said where they belong.
void fillConditions(Document& doc, store::DataModule& dm, const ReportScreen& screen)
{
    QList<conditions::ShownCondition> shown;
    QString error;
    if (!shownConditions(dm, screen, &shown, &error))
        shown = {{QStringLiteral("施工条件"), error}};
    doc.fill(QStringLiteral("NT_TBL_CONST_CONDITION"), BuildConditionTable(shown));
}

// Characters that code page 932 cannot hold reach the page as character references, never as '?'.
QString withReferencesForUnencodable(QString text)
{
    while (const std::optional<char32_t> c = sjis::findUnencodable(text)) {
        const char32_t one[] = {*c};
        text.replace(QString::fromUcs4(one, 1), QStringLiteral("&#%1;").arg(quint32(*c)));
    }
    return text;
}

// Lines end in CR LF, the last one included.
QString withCrLfLines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text.replace(QLatin1Char('\n'), kLineEnd);
}

} // namespace

ReportScreen screenFromTables(store::DataModule& dm)
{
    ReportScreen screen;
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    for (int slot = 1; slot <= classification::kSlots; ++slot) {
        for (int level = 1; level <= classification::kLevels; ++level) {
            const QString code = main->field(classification::codeBoxName(level, slot)).asString().trimmed();
            screen.levelTitles[size_t(slot - 1)][size_t(level - 1)] =
                classification::titleOfCode(dm.table(classification::levelTableName(level)), code).value_or(QString());
        }
    }
    screen.groupTitle = classification::titleOfCode(dm.table(QStringLiteral("NT_STBL_INFO_GRP1")),
                                                    main->field(QStringLiteral("GRP_CODE1")).asString().trimmed())
                            .value_or(QString());
    store::Table* detail = dm.table(QStringLiteral("NT_TBL_DETAIL"));
    screen.evaluateOrgan = classification::titleOfCode(dm.table(QStringLiteral("NT_STBL_INFO_EV_ORGAN")),
                                                       detail->field(QStringLiteral("EVALUATE_ORGAN_CODE")).asString().trimmed())
                               .value_or(QString());
    postcode::split(detail->field(QStringLiteral("SALES_POST_CODE")).asString(), &screen.salesPostCode1, &screen.salesPostCode2);
    postcode::split(detail->field(QStringLiteral("SALES_POST_CODE_BUSINESS")).asString(), &screen.salesPostCodeBusiness1,
                    &screen.salesPostCodeBusiness2);
    screen.costTypeName = comparison::GetCostType(detail->field(QStringLiteral("COST_TYPE")).asString());

    store::Table* sheet = dm.table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    const auto sheetText = [sheet](const char* name) { return sheet->field(QLatin1String(name)).asString(); };
    const auto mirror = [](const QString& rate) {
        return rate.isEmpty() ? QStringLiteral("0") : absoluteNumber(rate);
    };
    screen.rateCost = sheetText("RATE_COST");
    screen.rateProcess = sheetText("RATE_PROCESS");
    screen.costRateLabel = mirror(screen.rateCost);
    screen.processRateLabel = mirror(screen.rateProcess);
    if (!sheetText("N_COST").isEmpty())
        screen.totalNewTech = sheetText("N_COST");
    if (!sheetText("O_COST").isEmpty())
        screen.totalOldTech = sheetText("O_COST");
    return screen;
}

bool shownConditions(store::DataModule& dm, const ReportScreen& screen, QList<conditions::ShownCondition>* shown, QString* error)
{
    shown->clear();
    store::Table* main = dm.table(QStringLiteral("NT_TBL_MAIN"));
    const auto mainText = [main](const char* name) { return main->field(QLatin1String(name)).asString(); };
    const QString code = conditions::definitionCode(mainText("LEVEL1_COMBO"), mainText("LEVEL2_COMBO"), mainText("LEVEL3_COMBO"));
    if (code.isEmpty())
        return true;
    QList<conditions::ItemDefinition> definitions;
    if (!conditions::readDefinitions(dm.folder().path(conditions::kDefinitionFileName), code, &definitions, error))
        return false;
    // A later line for the same item number rebuilds its panel over the earlier one.
    QMap<int, conditions::ItemDefinition> byItem;
    for (const conditions::ItemDefinition& definition : std::as_const(definitions)) {
        if (definition.item > 0 && QStringList{"M", "N", "R", "S", "T"}.contains(definition.kind))
            byItem.insert(definition.item, definition);
    }
    for (auto it = byItem.cbegin(); it != byItem.cend(); ++it) {
        store::Table* row = dm.table(QStringLiteral("NT_TBL_CONST_CONDITION_%1").arg(it.key()));
        const bool hasRow = row->isActive() && (row->recordCount() > 0 || row->isEditing());
        const auto rowText = [row, hasRow](const char* name) { return hasRow ? row->field(QLatin1String(name)).asString() : QString(); };
        const QString stored = rowText("TXT");
        const conditions::ItemControls controls =
            screen.conditionControls.value(it.key(), conditions::controlsOfStoredText(stored));
        shown->append(conditions::shownCondition(it.value(), controls, stored, rowText("MIN_VAL"), rowText("MAX_VAL")));
    }
    return true;
}

QString templateFileName(int tab)
{
    return tab <= 0 ? QStringLiteral("Template.htm") : QStringLiteral("Template%1.htm").arg(tab);
}

QString ReplaceTag(const QString& text, const QString& tag, const QString& value)
{
    if (tag.isEmpty())
        return text;
    QString out = text;
    qsizetype at = out.indexOf(tag);
    while (at >= 0) {
        out.replace(at, tag.size(), value);
        at = out.indexOf(tag, at + value.size());
    }
    return out;
}

QString FillReport(store::DataModule& dm, const ReportScreen& screen, const QString& document)
{
    Document doc(document);
    fillMain(doc, dm.table(QStringLiteral("NT_TBL_MAIN")), screen);
    fillDescription(doc, dm.table(QStringLiteral("NT_TBL_DESCRIPTION")), screen.descriptionGrids);
    fillPictures(doc, dm);
    fillCurrentRow(doc, dm.table(QStringLiteral("NT_TBL_EVALUATE_RESULT")));
    doc.fillText(QStringLiteral("GRP_TITLE1"), screen.groupTitle);
    fillEvaluateOrgan(doc, dm, screen);
    doc.fill(QStringLiteral("PL_TBL_PROJECT_PRIVATE"), BuildRecordRows(*dm.table(QStringLiteral("PL_TBL_PROJECT_PRIVATE")), {0, 1, 2}));
    doc.fill(QStringLiteral("PL_TBL_PROJECT_MOC"), BuildRecordRows(*dm.table(QStringLiteral("PL_TBL_PROJECT_MOC")), {0, 1, 2, 3}));
    fillFreeItems(doc, dm.table(QStringLiteral("NT_TBL_DETAIL_FREE")));
    fillDetail(doc, dm.table(QStringLiteral("NT_TBL_DETAIL")), dm.table(QStringLiteral("NT_TBL_PICTURE")), screen);
    fillConditions(doc, dm, screen);
    doc.fill(QStringLiteral("SALES_OTHER_TABLE"), BuildContactRows(*dm.table(QStringLiteral("NT_TBL_COMPANY")), {0, 1, 8, 11}, {4, 8}));
    doc.fill(QStringLiteral("EVL_TABLE"), BuildRecordRows(*dm.table(QStringLiteral("NT_TBL_EVALUATE_RESULT")), {0, 1}));
    doc.fillText(QStringLiteral("TOTAL_NEW_TECH"), screen.totalNewTech);
    doc.fillText(QStringLiteral("TOTAL_OLD_TECH"), screen.totalOldTech);
    doc.fillText(QStringLiteral("RATE_COST1"), screen.rateCost);
    doc.fillText(QStringLiteral("RATE_PROCESS1"), screen.rateProcess);
    fillCurrentRow(doc, dm.table(QStringLiteral("NT_TBL_COMPARE_MAIN")));
    doc.fill(QStringLiteral("NT_TBL_COMPARE_DETAIL"), BuildRecordRows(*dm.table(QStringLiteral("CdsNT_TBL_COMPARE_DETAIL1")), {0, 1, 2}));
    doc.fill(QStringLiteral("NT_TBL_COMPARE_DETAIL2"), BuildRecordRows(*dm.table(QStringLiteral("CdsNT_TBL_COMPARE_DETAIL2")), {0, 1, 2}));
    return doc.text();
}

QString RemoveUnfilledTags(const QString& document)
{
    static const QRegularExpression tags(QStringLiteral("<%=[A-Z0-9_]+%>"));
    QString out = document;
    return out.remove(tags);
}

bool GenerateReport(store::DataModule& dm, const ReportScreen& screen, int tab, QString* outputPath, QString* error)
{
    const QString templatePath = dm.folder().path(templateFileName(tab));
    QFile source(templatePath);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("ファイル \"%1\" は開けません。%2").arg(templatePath, source.errorString());
        return false;
    }
    const QString filled = RemoveUnfilledTags(FillReport(dm, screen, sjis::decode(source.readAll())));
    const QString path = dm.folder().path(QStringLiteral("NewTech.htm"));
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(sjis::encode(withCrLfLines(withReferencesForUnencodable(filled)))) < 0 ||
        !target.commit()) {
        *error = QStringLiteral("ファイル \"%1\" は開けません。%2").arg(path, target.errorString());
        return false;
    }
    *outputPath = path;
    return true;
}

} // namespace report
