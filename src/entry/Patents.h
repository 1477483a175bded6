#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The intellectual-property answers of a registration: five patent blocks and one utility model.
// Each answer is a pair or group of radio buttons whose choice is stored as a one-character code.
namespace patents {

constexpr int kBlocks = 5;

// Codes of the yes/no pairs: "1" yes (granted), "0" no (pending), "9" the question does not apply.
inline const QString kYes = QStringLiteral("1");
inline const QString kNo = QStringLiteral("0");
inline const QString kNotApplicable = QStringLiteral("9");

// The three pairs of a patent block (field names without the block number) and its five detail boxes.
inline const QStringList kBlockCodeFields = {QStringLiteral("CERTIFY_PATENT_FLG"), QStringLiteral("CERTIFY_PATENT_GENERAL"),
                                             QStringLiteral("CERTIFY_PATENT_PRIVATE")};
inline const QStringList kBlockDetailBoxes = {QStringLiteral("CERTIFY_PATENTEE"), QStringLiteral("CERTIFY_PRACTICE"),
                                              QStringLiteral("CERTIFY_PATENT_FEE"), QStringLiteral("CERTIFY_PRACTICE_FORM"),
                                              QStringLiteral("CERTIFY_ADDRESS")};
// The utility model's status and licence fields.
inline const QString kIdeaStatus = QStringLiteral("CERTIFY_IDEA_STAT");
inline const QStringList kIdeaLicenceFields = {QStringLiteral("CERTIFY_IDEA_GENERAL"), QStringLiteral("CERTIFY_IDEA_PRIVATE")};

// Field or control name with its block number: "CERTIFY_PATENT_FLG" + 3.
QString numbered(const QString& name, int block);
// The buttons of a pair: "Rb" + field + "_Y" / "_N" (+ block number for the patent blocks).
QString yesButton(const QString& field, const QString& suffix = {});
QString noButton(const QString& field, const QString& suffix = {});

struct Choice
{
    QString field; // with its block number
    QString code;
};

// The code a patent block's button records: "Rb" + field + "_Y" + n gives field + n = "1", "_N" + n
// gives "0"; none for another button.
std::optional<Choice> patentButtonChoice(const QString& button, const QString& field);
// The code a utility-model licence button records: "1" for the "_Y" button, "0" otherwise.
QString licenceButtonCode(const QString& button, const QString& field);
// The code a utility-model status button records: k for "Rb" + field + k (k = 1 … 6), the sixth
// recording "1"; none for another button.
std::optional<QString> statusButtonCode(const QString& button, const QString& field);

// A pair's code while its patent block is active: "1" stays, anything else becomes "0".
QString activeCode(const QString& stored);

// The utility model's three codes.
struct IdeaCodes
{
    QString status;
    QString general;
    QString exclusive;
};
// The licence codes after a status was chosen: with "有り" ("1") each licence keeps "1" and becomes
// "0" otherwise; with any other status both are "9".
IdeaCodes afterStatusChoice(const IdeaCodes& codes);
// The codes as a registration is opened: an empty status is "4" (none); the older status "5" is a
// granted model with an exclusive licence only; a granted model's empty or "9" licences are "0";
// any other status has no licences.
IdeaCodes whenOpened(const IdeaCodes& stored);

} // namespace patents
