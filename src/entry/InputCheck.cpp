#include "entry/InputCheck.h"

#include "entry/Classification.h"
#include "entry/DescriptionTables.h"
#include "entry/Photos.h"

#include "util/SjisText.h"

#include <QDate>
#include <QFileInfo>

#include <algorithm>

namespace inputcheck {

namespace {

constexpr qint64 kMaxPhotoBytes = 185000;
constexpr int kMaxPhotoWidth = 600;

const QString kDevelopmentYearForm = QStringLiteral("技術開発年：書式が誤っています。\r\n半角で数値を入力してください。");
const QString kEntryDateForm = QStringLiteral("記入年月日：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。");
const QString kPostCode3 = QStringLiteral("問合せ先（郵便番号）：書式が誤っています。\r\n半角で３桁の整数を入力してください。");
const QString kPostCode4 = QStringLiteral("問合せ先（郵便番号）：書式が誤っています。\r\n半角で４桁の整数を入力してください。");
const QString kEvaluationDateMissing = QStringLiteral("評価年月日を入力してください。");
const QString kOrganMissing = QStringLiteral("評価機関を選択してください。");
const QString kOtherDateForm =
    QStringLiteral("評価年月日(その他の制度等による証明)：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。");

QString tableTooLongMessage(const QString& tableName)
{
    return tableName + QStringLiteral("の表で入力文字数が2000文字を超えています。");
}

QString countFormMessage(const QString& what)
{
    return QStringLiteral("実績件数（") + what + QStringLiteral("）：書式が誤っています。\r\n半角で数値を入力してください。");
}

// Collects the failures of the rules in the order they are tested.
class Rules
{
public:
    Rules(const ScreenValues& values, const std::function<void()>& goesOn) : m_values(values), m_goesOn(goesOn) {}

    QString text(const QString& name) const { return m_values.text(name); }
    bool filled(const QString& name) const { return !text(name).isEmpty(); }
    void fail(const QString& control, const QString& message) { m_failures.append({control, kErrorCaption, message}); }
    void failIf(bool failed, const QString& control, const QString& message)
    {
        if (failed)
            fail(control, message);
    }

    // A slot that shows a photo, or a title, must have its file: a row naming a missing file is
    // never submitted.
    void photo(const QString& letter)
    {
        const bool named = filled(QStringLiteral("ImagePath_") + letter);
        if (!named && !filled(QStringLiteral("PICTURE_") + letter))
            return;
        const QString problem = photoFileProblem(named ? m_values.photoFiles.value(letter) : QString());
        failIf(!problem.isEmpty(), QStringLiteral("BtnPICTURE_") + letter, problem);
        if (m_goesOn)
            m_goesOn();
    }
    void table(const QString& grid, const QString& tableName)
    {
        const auto found = m_values.tables.constFind(grid);
        failIf(found != m_values.tables.cend() && entry::TableTextTooLong(*found), grid, tableTooLongMessage(tableName));
    }
    void postCodePair(const QString& first, const QString& second)
    {
        if (!filled(first) && !filled(second))
            return;
        failIf(sjis::byteLength(text(first)) != 3 || !isInteger(text(first)), first, kPostCode3);
        failIf(sjis::byteLength(text(second)) != 4 || !isInteger(text(second)), second, kPostCode4);
    }
    void resultCount(const QString& field, const QString& what)
    {
        failIf(filled(field) && !isInteger(text(field)), field, countFormMessage(what));
    }

    QList<Failure> failures() const { return m_failures; }

private:
    const ScreenValues& m_values;
    const std::function<void()>& m_goesOn;
    QList<Failure> m_failures;
};

void nameAndDates(Rules& r)
{
    r.failIf(!r.filled(QStringLiteral("TECH_TITLE")), QStringLiteral("TECH_TITLE"), QStringLiteral("名称を入力してください。"));
    const QString year = r.text(QStringLiteral("TECH_DVLP_YEAR"));
    r.failIf(!year.isEmpty() && (sjis::byteLength(year) != 4 || !isInteger(year)), QStringLiteral("TECH_DVLP_YEAR"), kDevelopmentYearForm);
    const QString entered = r.text(QStringLiteral("DB_REG_DATE"));
    r.failIf(!entered.isEmpty() && !isEntryDate(entered), QStringLiteral("DB_REG_DATE"), kEntryDateForm);
}

void ministryEvaluation(Rules& r)
{
    const QString number = QStringLiteral("EVALUATE_MOC_NO");
    const QString date = QStringLiteral("EVALUATE_MOC_DATE");
    r.failIf(r.filled(number) && !r.filled(date), date, kEvaluationDateMissing);
    if (!r.filled(date))
        return;
    if (!isEvaluationDate(r.text(date))) {
        r.fail(date, QStringLiteral("評価年月日(国土交通省)：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。"));
        return;
    }
    r.failIf(!r.filled(number), number, QStringLiteral("建設技術評価(番号)を入力してください。"));
}

// A private certification is complete with its number, date and evaluating body together.
void privateCertification(Rules& r)
{
    const QString number = QStringLiteral("EVALUATE_PRIVATE_NO");
    const QString date = QStringLiteral("EVALUATE_PRIVATE_DATE");
    const QString organ = QStringLiteral("EVALUATE_ORGAN_CODE");
    r.failIf(r.filled(number) && !r.filled(date), date, kEvaluationDateMissing);
    r.failIf(r.filled(number) && !r.filled(organ), organ, kOrganMissing);
    if (r.filled(date)) {
        if (!isEvaluationDate(r.text(date)))
            r.fail(date, QStringLiteral("評価年月日(民間)：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。"));
        else if (!r.filled(number))
            r.fail(number, QStringLiteral("建設技術(番号)を入力してください。"));
        else if (!r.filled(organ))
            r.fail(organ, kOrganMissing);
    }
    r.failIf(r.filled(organ) && !r.filled(number), number, QStringLiteral("建設技術(番号)を選択してください。"));
    r.failIf(r.filled(organ) && !r.filled(date), date, kEvaluationDateMissing);
}

void otherCertificationDates(Rules& r)
{
    for (const QString date : {QStringLiteral("EVALUATE_DATE3"), QStringLiteral("EVALUATE_DATE4")})
        r.failIf(r.filled(date) && !isEvaluationDate(r.text(date)), date, kOtherDateForm);
}

} // namespace

bool isInteger(const QString& text)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    bool ok = false;
    text.toInt(&ok, 10);
    return ok;
}

bool isEvaluationDate(const QString& text)
{
    if (sjis::byteLength(text) != 10)
        return false;
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return false;
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        const QString& part = parts.at(i);
        if (part.isEmpty() || std::any_of(part.begin(), part.end(), [](QChar c) { return c < u'0' || c > u'9'; }))
            return false;
        numbers[i] = part.toInt();
    }
    return QDate(numbers[0], numbers[1], numbers[2]).isValid();
}

bool isEntryDate(const QString& text)
{
    return isEvaluationDate(text) && text.at(4) == QLatin1Char('/') && text.at(7) == QLatin1Char('/');
}

QString photoFileProblem(const QString& path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile())
        return QStringLiteral("画像ファイルが見つかりません。\r\n画像ファイルを選択し直して下さい。");
    const int width = photos::photoWidth(path);
    if (width < 0)
        return photos::kNotAPhoto;
    if (file.size() > kMaxPhotoBytes)
        return QStringLiteral("写真のﾌｧｲﾙｻｲｽﾞが大きすぎます。\r\n185K ﾊﾞｲﾄ以内にしてください。");
    if (width > kMaxPhotoWidth)
        return QStringLiteral("画像の幅が大きすぎます。\r\n") + QString::number(kMaxPhotoWidth) + QStringLiteral("ﾋﾟｸｾﾙ以内にしてください。");
    if (!photos::decodesWhole(path))
        return photos::kNotAPhoto;
    return {};
}

QStringList saveCheckTextControls()
{
    QStringList names = {"TECH_TITLE", "TECH_DVLP_YEAR", "DB_REG_DATE", "SALES_POST_CODE1", "SALES_POST_CODE2",
                         "SALES_POST_CODE_BUSINESS1", "SALES_POST_CODE_BUSINESS2", "RESULTS_MOC", "RESULTS_PUBLIC",
                         "RESULTS_PRIVATE", "EVALUATE_MOC_NO", "EVALUATE_MOC_DATE", "EVALUATE_PRIVATE_NO",
                         "EVALUATE_PRIVATE_DATE", "EVALUATE_ORGAN_CODE", "EVALUATE_DATE3", "EVALUATE_DATE4"};
    for (const QString& letter : kCheckedPhotoSlots)
        names << QStringLiteral("PICTURE_") + letter << QStringLiteral("ImagePath_") + letter;
    return names;
}

QList<Failure> saveCheckFailures(const ScreenValues& values, const std::function<void()>& goesOn)
{
    Rules r(values, goesOn);
    nameAndDates(r);
    r.postCodePair(QStringLiteral("SALES_POST_CODE1"), QStringLiteral("SALES_POST_CODE2"));
    r.postCodePair(QStringLiteral("SALES_POST_CODE_BUSINESS1"), QStringLiteral("SALES_POST_CODE_BUSINESS2"));

    r.photo(QStringLiteral("A"));
    r.table(QStringLiteral("SUMMARY_TABLE"), QStringLiteral("概要"));
    r.photo(QStringLiteral("B"));
    r.table(QStringLiteral("FEATURE_TABLE"), QStringLiteral("特徴"));
    r.table(QStringLiteral("CNST_COST_TABLE"), QStringLiteral("施工単価"));
    r.photo(QStringLiteral("S"));
    r.table(QStringLiteral("CNST_METHOD_TABLE"), QStringLiteral("施工方法"));

    r.resultCount(QStringLiteral("RESULTS_MOC"), QStringLiteral("国土交通省"));
    r.resultCount(QStringLiteral("RESULTS_PUBLIC"), QStringLiteral("その他公共機関"));
    r.resultCount(QStringLiteral("RESULTS_PRIVATE"), QStringLiteral("民間"));

    ministryEvaluation(r);
    privateCertification(r);
    otherCertificationDates(r);

    r.photo(QStringLiteral("T"));
    r.table(QStringLiteral("TEST_TABLE"), QStringLiteral("実験等実施状況"));
    for (const QString letter : {QStringLiteral("G"), QStringLiteral("H"), QStringLiteral("I")})
        r.photo(letter);
    return r.failures();
}

QList<Failure> submissionFailures(const SubmissionValues& values)
{
    QList<Failure> missing;
    const auto add = [&](const QString& control, const QString& line) { missing.append({control, kErrorCaption, line}); };
    if (values.techTitle.isEmpty())
        add(QStringLiteral("TECH_TITLE"), QStringLiteral("･ 技術名称"));
    if (values.developmentYear.isEmpty())
        add(QStringLiteral("TECH_DVLP_YEAR"), QStringLiteral("･ 技術開発年(半角で数値)"));
    if (!values.groupShown)
        add(QStringLiteral("GRP_TITLE1"), QStringLiteral("･ 区分(選択)"));
    // The line leads to the first level that is left open.
    for (int slot : values.incompleteSlots)
        add(classification::listBoxName(values.firstOpenLevels.value(slot, 1), slot), slot == 1 ? QStringLiteral("･ 分類(選択)") : QStringLiteral("･ 分類%1(選択)").arg(slot));
    if (values.summaryText.isEmpty())
        add(QStringLiteral("SUMMARY_DESC"), QStringLiteral("･ 概要の文章"));
    if (!values.comparedTechnology.isEmpty()) {
        // Both are entered on the comparison sheet, which its button on the comparison page opens.
        if (values.baseValue.isEmpty())
            add(QStringLiteral("btnCmp"), QStringLiteral("･ 基準とする数量(活用の効果の根拠)"));
        if (values.baseUnit.isEmpty())
            add(QStringLiteral("btnCmp"), QStringLiteral("･ 単位(活用の効果の根拠)"));
    }
    return missing;
}

QStringList missingSubmissionItems(const SubmissionValues& values)
{
    QStringList lines;
    for (const Failure& item : submissionFailures(values))
        lines << item.message;
    return lines;
}

QString missingItemsIntro()
{
    return QStringLiteral("以下の入力必須項目が未入力であるため、登録用ファイルが作成できません。\r\n入力必須項目に入力して下さい。\r\n"
                          "（分類2～分類5は必須入力ではありませんが、レベル1を選択した場合は\r\n　下位のレベルを必ず選択して下さい。）\r\n");
}

QString missingItemsMessage(const QStringList& items)
{
    QString message = missingItemsIntro();
    for (const QString& item : items)
        message += QStringLiteral("\r\n") + item;
    return message;
}

QString pageOf(const QString& control)
{
    static const QStringList summary = {"BtnPICTURE_A", "BtnPICTURE_B", "SUMMARY_TABLE", "FEATURE_TABLE", "SUMMARY_DESC"};
    static const QStringList comparison = {"BtnPICTURE_S", "CNST_COST_TABLE", "CNST_METHOD_TABLE", "btnCmp"};
    if (summary.contains(control))
        return kSummaryPage;
    if (comparison.contains(control))
        return kComparisonPage;
    if (control.startsWith(QLatin1String("RESULTS_")) || control.startsWith(QLatin1String("EVALUATE_"))
        || control.startsWith(QLatin1String("BtnPICTURE_")) || control == QLatin1String("TEST_TABLE"))
        return kRecordsPage;
    return kNamesPage;
}

QString Problem::page() const
{
    // The technical and the sales contact have the same boxes on two tabs of one page; the
    // sales contact's names end in "_BUSINESS" and a digit at most.
    if (!control.startsWith(QLatin1String("SALES_")))
        return pageOf(control);
    return pageOf(control) + (control.contains(QLatin1String("_BUSINESS")) ? QStringLiteral("（営業）") : QStringLiteral("（技術）"));
}

QString Problem::checkName() const
{
    return check == Check::Save ? QStringLiteral("保存") : QStringLiteral("提出");
}

QString Problem::oneLineMessage() const
{
    QString text = message;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
}

QString Problem::line() const
{
    return page() + QLatin1Char('\t') + checkName() + QLatin1Char('\t') + oneLineMessage();
}

QList<Problem> allProblems(const ScreenValues& screen, const SubmissionValues& submission, const std::function<void()>& goesOn)
{
    QList<Problem> problems;
    for (const Failure& failure : saveCheckFailures(screen, goesOn))
        problems.append({Problem::Check::Save, failure.control, failure.message});
    for (const Failure& item : submissionFailures(submission))
        problems.append({Problem::Check::Submission, item.control, item.message});
    return problems;
}

} // namespace inputcheck
