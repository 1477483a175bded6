#include "entry/InputCheck.h"
#include "support/PhotoBytes.h"

#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

using inputcheck::Failure;
using inputcheck::ScreenValues;

namespace {

const QString kYearForm = QStringLiteral("技術開発年：書式が誤っています。\r\n半角で数値を入力してください。");
const QString kEntryDateForm = QStringLiteral("記入年月日：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。");
const QString kPost3 = QStringLiteral("問合せ先（郵便番号）：書式が誤っています。\r\n半角で３桁の整数を入力してください。");
const QString kPost4 = QStringLiteral("問合せ先（郵便番号）：書式が誤っています。\r\n半角で４桁の整数を入力してください。");
const QString kDateMissing = QStringLiteral("評価年月日を入力してください。");
const QString kOrganMissing = QStringLiteral("評価機関を選択してください。");
const QString kMissingPhoto = QStringLiteral("画像ファイルが見つかりません。\r\n画像ファイルを選択し直して下さい。");
const QString kPhotoTooLarge = QStringLiteral("写真のﾌｧｲﾙｻｲｽﾞが大きすぎます。\r\n185K ﾊﾞｲﾄ以内にしてください。");
const QString kPhotoTooWide = QStringLiteral("画像の幅が大きすぎます。\r\n600ﾋﾟｸｾﾙ以内にしてください。");

ScreenValues titled(std::initializer_list<std::pair<const char*, QString>> texts)
{
    ScreenValues values;
    values.texts.insert(QStringLiteral("TECH_TITLE"), QStringLiteral("技術"));
    for (const auto& [name, text] : texts)
        values.texts.insert(QLatin1String(name), text);
    return values;
}

// The first failing rule, as the save check shows it.
Failure firstFailure(const ScreenValues& values)
{
    const QList<Failure> failures = inputcheck::saveCheckFailures(values);
    return failures.isEmpty() ? Failure{} : failures.first();
}

// A JPEG picture `width` pixels wide, padded behind its end to `size` bytes where it is smaller; a
// width of 0 gives a header that names no width.
QByteArray jpeg(int width, qint64 size)
{
    const QByteArray bytes = width > 0 ? testsupport::jpegPhoto(width, 8)
                                       : QByteArray::fromHex("FFD8 FFC0 0011 08 0064 0000 03 011100 021101 031101");
    return bytes + QByteArray(std::max<qint64>(0, size - bytes.size()), '\0');
}

} // namespace

TEST(InputCheck, ValueTests)
{
    EXPECT_TRUE(inputcheck::isInteger("-2147483648"));
    for (const char* text : {"", "2147483648", "12a", " 12", "1.5"})
        EXPECT_FALSE(inputcheck::isInteger(text)) << text;
    EXPECT_TRUE(inputcheck::isEntryDate("1997/04/01"));
    EXPECT_TRUE(inputcheck::isEntryDate("2000/02/29"));
    for (const char* text : {"1997/4/1", "1997-04-01", "1997/02/30", "１９９７/04/01", "1997/04/1x"})
        EXPECT_FALSE(inputcheck::isEntryDate(text)) << text;
    // The evaluation form does not pin the slashes, only the length and the date.
    EXPECT_TRUE(inputcheck::isEvaluationDate("1997/4/001"));
    EXPECT_FALSE(inputcheck::isEvaluationDate("1997/13/01"));
}

TEST(InputCheck, SaveCheckStopsAtTheFirstFailingRowInOrder)
{
    const struct
    {
        ScreenValues values;
        QString control;
        QString message;
    } cases[] = {
        // An empty title fails first even when everything else is wrong too.
        {ScreenValues{{{"TECH_DVLP_YEAR", "98"}, {"DB_REG_DATE", "x"}}}, "TECH_TITLE", QStringLiteral("名称を入力してください。")},
        {titled({{"TECH_DVLP_YEAR", "98"}}), "TECH_DVLP_YEAR", kYearForm},
        {titled({{"TECH_DVLP_YEAR", "19a8"}}), "TECH_DVLP_YEAR", kYearForm},
        {titled({{"DB_REG_DATE", "1997/4/1"}}), "DB_REG_DATE", kEntryDateForm},
        {titled({{"DB_REG_DATE", "1997-04-01"}}), "DB_REG_DATE", kEntryDateForm},
        {titled({{"DB_REG_DATE", "1997/02/30"}}), "DB_REG_DATE", kEntryDateForm},
        // Only the second half of a post code: the empty first half fails.
        {titled({{"SALES_POST_CODE2", "1234"}}), "SALES_POST_CODE1", kPost3},
        {titled({{"SALES_POST_CODE1", "123"}, {"SALES_POST_CODE2", "12"}}), "SALES_POST_CODE2", kPost4},
        {titled({{"SALES_POST_CODE_BUSINESS1", "12３"}, {"SALES_POST_CODE_BUSINESS2", "1234"}}), "SALES_POST_CODE_BUSINESS1", kPost3},
        {titled({{"RESULTS_PUBLIC", "3件"}}), "RESULTS_PUBLIC",
         QStringLiteral("実績件数（その他公共機関）：書式が誤っています。\r\n半角で数値を入力してください。")},
        {titled({{"EVALUATE_MOC_NO", "1"}}), "EVALUATE_MOC_DATE", kDateMissing},
        {titled({{"EVALUATE_MOC_DATE", "2001/1/1"}}), "EVALUATE_MOC_DATE",
         QStringLiteral("評価年月日(国土交通省)：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。")},
        {titled({{"EVALUATE_MOC_DATE", "2001/01/01"}}), "EVALUATE_MOC_NO", QStringLiteral("建設技術評価(番号)を入力してください。")},
        // Number and date without a body: the number is tested before the date.
        {titled({{"EVALUATE_PRIVATE_NO", "1"}, {"EVALUATE_PRIVATE_DATE", "2001/01/01"}}), "EVALUATE_ORGAN_CODE", kOrganMissing},
        {titled({{"EVALUATE_PRIVATE_NO", "1"}}), "EVALUATE_PRIVATE_DATE", kDateMissing},
        {titled({{"EVALUATE_PRIVATE_DATE", "2001/01/01"}}), "EVALUATE_PRIVATE_NO", QStringLiteral("建設技術(番号)を入力してください。")},
        {titled({{"EVALUATE_PRIVATE_DATE", "01/01/2001"}, {"EVALUATE_PRIVATE_NO", "1"}, {"EVALUATE_ORGAN_CODE", "機関"}}),
         "EVALUATE_PRIVATE_DATE", QStringLiteral("評価年月日(民間)：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。")},
        // A body chosen alone asks for the number.
        {titled({{"EVALUATE_ORGAN_CODE", "機関"}}), "EVALUATE_PRIVATE_NO", QStringLiteral("建設技術(番号)を選択してください。")},
        {titled({{"EVALUATE_DATE4", "2001.01.01"}}), "EVALUATE_DATE4",
         QStringLiteral("評価年月日(その他の制度等による証明)：書式が誤っています。\r\nyyyy/mm/dd の形式で半角入力してください。")},
        // A photo title without its file fails at the slot's select button.
        {titled({{"PICTURE_G", "写真"}}), "BtnPICTURE_G", kMissingPhoto},
    };
    for (const auto& c : cases) {
        const Failure failure = firstFailure(c.values);
        EXPECT_EQ(failure.control, c.control);
        EXPECT_EQ(failure.message, c.message) << c.control.toStdString();
        EXPECT_EQ(failure.caption, QStringLiteral("エラー"));
    }
}

TEST(InputCheck, CompleteValuesPass)
{
    const ScreenValues values = titled({{"TECH_DVLP_YEAR", "1998"}, {"DB_REG_DATE", "1997/04/01"}, {"SALES_POST_CODE1", "123"},
                                        {"SALES_POST_CODE2", "4567"}, {"RESULTS_MOC", "-3"}, {"EVALUATE_MOC_NO", "1"},
                                        {"EVALUATE_MOC_DATE", "2001/01/01"}, {"EVALUATE_PRIVATE_NO", "2"},
                                        {"EVALUATE_PRIVATE_DATE", "2001/02/01"}, {"EVALUATE_ORGAN_CODE", "機関"}});
    EXPECT_TRUE(inputcheck::saveCheckFailures(values).isEmpty());
}

TEST(InputCheck, PhotoFileLimits)
{
    testsupport::TempDir dir;
    const struct
    {
        const char* name;
        int width;
        qint64 size;
        QString problem;
    } cases[] = {{"limit.jpg", 600, 185000, {}},
                 {"large.jpg", 600, 185001, kPhotoTooLarge},
                 {"wide.jpg", 601, 1000, kPhotoTooWide},
                 {"both.jpg", 700, 190000, kPhotoTooLarge},
                 {"wide.jpeg", 2000, 1000, kPhotoTooWide},
                 {"noWidth.jpg", 0, 1000, QStringLiteral("写真にはGIFまたはJPEG形式の画像ファイルを指定してください。")}};
    for (const auto& c : cases) {
        QFile file(dir.filePath(c.name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(jpeg(c.width, c.size));
        file.close();
        EXPECT_EQ(inputcheck::photoFileProblem(file.fileName()), c.problem) << c.name;
    }
    EXPECT_EQ(inputcheck::photoFileProblem(dir.filePath("absent.jpg")), kMissingPhoto);
    // A text named as a picture is no photo, whatever its size.
    EXPECT_EQ(inputcheck::photoFileProblem(dir.write("text.jpg", "kein Bild")), QStringLiteral("写真にはGIFまたはJPEG形式の画像ファイルを指定してください。"));
}

TEST(InputCheck, OverlongTableNamesItsTable)
{
    report::DescriptionGrid table;
    table.setCell(2, 1, QString(1100, QChar(0x3042)));
    ScreenValues values = titled({});
    values.tables.insert(QStringLiteral("TEST_TABLE"), report::DescriptionGrid{});
    EXPECT_TRUE(inputcheck::saveCheckFailures(values).isEmpty());
    values.tables.insert(QStringLiteral("FEATURE_TABLE"), table);
    values.tables.insert(QStringLiteral("TEST_TABLE"), table);
    const QList<Failure> failures = inputcheck::saveCheckFailures(values);
    ASSERT_EQ(failures.size(), 2);
    EXPECT_EQ(failures.first(), (Failure{"FEATURE_TABLE", "エラー", QStringLiteral("特徴の表で入力文字数が2000文字を超えています。")}));
    EXPECT_EQ(failures.last(), (Failure{"TEST_TABLE", "エラー", QStringLiteral("実験等実施状況の表で入力文字数が2000文字を超えています。")}));
}
TEST(InputCheck, SubmissionItemsInOrder)
{
    inputcheck::SubmissionValues values;
    values.incompleteSlots = {1, 3};
    values.comparedTechnology = QStringLiteral("従来");
    values.baseUnit = QStringLiteral("m");
    EXPECT_EQ(inputcheck::missingSubmissionItems(values),
              (QStringList{"･ 技術名称", "･ 技術開発年(半角で数値)", "･ 区分(選択)", "･ 分類(選択)", "･ 分類3(選択)", "･ 概要の文章",
                           "･ 基準とする数量(活用の効果の根拠)"}));
    EXPECT_TRUE(inputcheck::missingItemsMessage({"･ 技術名称"}).endsWith(QStringLiteral("選択して下さい。）\r\n\r\n･ 技術名称")));

    values = {"技術", "1998", true, {}, "概要", {}, {}, {}};
    EXPECT_TRUE(inputcheck::missingSubmissionItems(values).isEmpty());
}

TEST(InputCheck, AllProblemsListTheSaveRulesThenTheMissingItemsWithTheirPages)
{
    ScreenValues screen = titled({{"TECH_TITLE", QString()}, {"RESULTS_PUBLIC", "x"}, {"PICTURE_B", QStringLiteral("全景")}});
    inputcheck::SubmissionValues submission = {"", "1998", true, {2}, "概要", "従来", "", "m"};
    const QList<inputcheck::Problem> problems = inputcheck::allProblems(screen, submission);
    QStringList lines;
    for (const inputcheck::Problem& problem : problems)
        lines << problem.line();
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("名称・分類等\t保存\t名称を入力してください。"),
                         QStringLiteral("概要\t保存\t画像ファイルが見つかりません。 画像ファイルを選択し直して下さい。"),
                         QStringLiteral("施工実績等\t保存\t実績件数（その他公共機関）：書式が誤っています。 半角で数値を入力してください。"),
                         QStringLiteral("名称・分類等\t提出\t･ 技術名称"),
                         QStringLiteral("名称・分類等\t提出\t･ 分類2(選択)"),
                         QStringLiteral("従来技術との比較\t提出\t･ 基準とする数量(活用の効果の根拠)"),
                     }));
    EXPECT_EQ(problems.at(1).control, QStringLiteral("BtnPICTURE_B"));
    EXPECT_EQ(problems.at(4).control, QStringLiteral("Level1_2"));
}
