#pragma once

#include "report/DescriptionGrid.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The checks a registration passes before it is saved and before its submission file is made.
// They judge the values the entry pages show; the main window gathers them and shows the result.
namespace inputcheck {

inline const QString kErrorCaption = QStringLiteral("エラー");

// One failed rule: the control that gets the focus and the error box to show.
struct Failure
{
    QString control;
    QString caption;
    QString message;

    bool operator==(const Failure&) const = default;
};

// Value tests.
// The whole text is a signed 32-bit integer (an empty text is not).
bool isInteger(const QString& text);
// "yyyy/mm/dd" of a real date: 10 bytes, slashes at the 5th and 8th characters.
bool isEntryDate(const QString& text);
// 10 bytes that read as a real date in year/month/day order with "/" between the parts.
bool isEvaluationDate(const QString& text);
// Why a slot's photo file cannot be submitted (missing, not a GIF or JPEG picture, above 185000
// bytes, wider than 600 pixels); empty when it can.
QString photoFileProblem(const QString& path);

// What the entry pages show, as the save check reads it.
struct ScreenValues
{
    QHash<QString, QString> texts;                  // control name → its text (a lookup list: the title shown)
    QHash<QString, QString> photoFiles;             // slot letter → path of the slot's stored photo file
    QHash<QString, report::DescriptionGrid> tables; // grid name → the table it shows

    QString text(const QString& name) const { return texts.value(name); }
};

// The controls whose texts the save check reads.
QStringList saveCheckTextControls();
// The photo slots the save check tests, in its order.
inline const QStringList kCheckedPhotoSlots = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("S"), QStringLiteral("T"),
                                               QStringLiteral("G"), QStringLiteral("H"), QStringLiteral("I")};

// Every rule of the save check that fails, in the order the check tests them; the check itself
// stops at the first. A photo failure names the slot's select button "BtnPICTURE_" + letter.
// `goesOn`, when given, is called after each photo file is read (the part that takes time), so
// that the screen can show that the check goes on.
QList<Failure> saveCheckFailures(const ScreenValues& values, const std::function<void()>& goesOn = {});

// What the submission check reads.
struct SubmissionValues
{
    QString techTitle;
    QString developmentYear;
    bool groupShown = false;  // the 区分 list shows an entry
    QList<int> incompleteSlots; // classification slots (1 … 5) with a level left open
    QString summaryText;
    QString comparedTechnology; // the conventional technology's name
    QString baseValue;
    QString baseUnit;
    QHash<int, int> firstOpenLevels; // slot → the first level left open in it (1 when not given)
};

// The missing mandatory items, in the check's order: each names the control to fill and its line
// ("･ 技術名称") as the message.
QList<Failure> submissionFailures(const SubmissionValues& values);
// The lines of the missing mandatory items ("･ 技術名称"), in the check's order.
QStringList missingSubmissionItems(const SubmissionValues& values);
// The explanation that heads the list of missing items.
QString missingItemsIntro();
// The error box's text: the explanation, then one "\r\n" + line per missing item.
QString missingItemsMessage(const QStringList& items);

// The entry pages, as the lists of problems name them.
inline const QString kNamesPage = QStringLiteral("名称・分類等");
inline const QString kSummaryPage = QStringLiteral("概要");
inline const QString kComparisonPage = QStringLiteral("従来技術との比較");
inline const QString kRecordsPage = QStringLiteral("施工実績等");
// The caption of the entry page that holds a control the checks name.
QString pageOf(const QString& control);

// One problem of a registration, whichever check found it.
struct Problem
{
    enum class Check { Save, Submission };
    Check check;
    QString control;
    QString message;

    // The page, and for a box of a contact the contact's tab: "名称・分類等（営業）".
    QString page() const;
    // "保存" for the save check, "提出" for the submission check.
    QString checkName() const;
    // The message on one line (its line breaks become blanks).
    QString oneLineMessage() const;
    // The page, the check and the message, separated by tabs.
    QString line() const;

    bool operator==(const Problem&) const = default;
};

// Every problem of both checks: the save check's failing rules in their order, then the missing
// mandatory items of the submission check. `goesOn` as for saveCheckFailures.
QList<Problem> allProblems(const ScreenValues& screen, const SubmissionValues& submission, const std::function<void()>& goesOn = {});

} // namespace inputcheck
