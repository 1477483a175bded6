#pragma once

#include "entry/Conditions.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace store {
class DataModule;
}

// What changed in a registration since a submission file: its values as saved compared with
// those of the file, item by item as the entry pages show them. Keys, running numbers and the
// stamps the export writes are no differences; rows (contacts, records, evaluation results,
// breakdown rows) are matched by their content, description tables by cell, photos by content,
// codes are shown as their names.
namespace submission {

inline const QString kNoChanges = QStringLiteral("前回の提出から変更はありません。");

// One registration's stored values.
struct RegistrationValues
{
    using Row = QHash<QString, QString>; // field → value as text (dates yyyy/mm/dd, numbers in the general form)
    QHash<QString, QList<Row>> tables;   // table → its rows of the registration
    QHash<QString, QByteArray> photos;   // photo slot → SHA-256 of the photo file; empty: the file is missing
};

// One difference: the entry page, the item's caption, its value in the file and now, and the
// control that shows it.
struct Difference
{
    QString page;
    QString caption;
    QString inFile;
    QString now;
    QString control;

    // page, caption, in the file, now: separated by tabs, each on one line.
    QString line() const;
    bool operator==(const Difference&) const = default;
};

// The values of a registration of the data module (its saved rows and its photos in Images\).
RegistrationValues storedValues(const store::DataModule& dm, const QString& regNo);
// The values of the registration of a submission file, read from a folder of its own: nothing of
// it reaches the data folder. False with the reason when the file cannot be read as one.
bool submissionValues(const QString& path, RegistrationValues* values, QString* error);

// The names of codes (classification levels, groups, evaluating bodies, kinds of project …) as
// the data module's lookup tables give them.
class CodeNames
{
public:
    explicit CodeNames(const store::DataModule& dm);
    QString name(const QString& table, const QString& code) const;
    // The construction condition items defined for a level-3 classification code, by item number
    // (a later line for an item replaces an earlier one); empty when the code has none or the
    // definition file cannot be read.
    QHash<int, conditions::ItemDefinition> conditionItems(const QString& code) const;

private:
    QHash<QString, QHash<QString, QString>> m_names; // table → CD → name
    QString m_conditionDefinitions;                  // the definition file
    mutable QHash<QString, QHash<int, conditions::ItemDefinition>> m_conditionItems; // read once per code
};

// Every difference between the file's values and the values now, in page order.
QList<Difference> compareRegistrations(const RegistrationValues& inFile, const RegistrationValues& now, const CodeNames& names);

// A fingerprint of what the comparison looks at in a registration of the data module, cheap
// enough for every registration of a list: equal fingerprints mean no difference. Photos count by
// their original names and the size and time of their files instead of their bytes. With
// `numbers`, only those registrations are fingerprinted (the rows of the others are skipped).
QHash<QString, QByteArray> registrationFingerprints(const store::DataModule& dm);
QHash<QString, QByteArray> registrationFingerprints(const store::DataModule& dm, const QSet<QString>& numbers);

} // namespace submission
