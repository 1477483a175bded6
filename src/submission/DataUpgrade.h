#pragma once

#include <QString>

class UserInteraction;

namespace store {
class DataModule;
}

// The data version every main row carries, and the rebuild of older table files in the working
// folder into the current layouts (those of the templates in Zero\), before imported rows are
// merged. Each newer layout keeps the older fields in order and adds fields at the end, so a
// rebuild copies the rows field by field into an empty template.
namespace submission {

constexpr int CurrentDataVersion() { return 7800; }

extern const QString kUpgradeFailed;
extern const QString kUpgradeNotice;
extern const QString kDataTooNew;

// REG_VERSION of the first row of a NT_TBL_MAIN file as text, trimmed; empty for an empty value,
// a value below 7000, an empty table or an unreadable file.
QString ReadDataVersion(const QString& mainTableFile);

// Writes the current data version into REG_VERSION, and "1" into DATA_TYPE_CODE, of the live main
// table's current row and posts it (an empty table gets a new row).
void StampDataVersion(store::DataModule& dm);
void StampDataType(store::DataModule& dm);

class DataUpgrade
{
public:
    DataUpgrade(store::DataModule& dm, UserInteraction& ui) : m_dm(dm), m_ui(ui) {}

    // Checks the version of the table files in `folder` and rebuilds older layouts, telling the
    // user of each step. False when the data cannot be taken over (the user has been told why).
    bool UpgradeImportedData(const QString& folder);

private:
    // Each step gives an empty text on success, the failure message otherwise.
    QString UpgradeFrom7000();
    QString UpgradeFrom7100();
    QString UpgradeFrom7200();
    QString UpgradeFrom7300();
    QString UpgradeFrom7400();
    QString UpgradeFrom7500();
    QString UpgradeOtherVersion();
    QString runStep(int step);

    QString EnsureFreeItemFile();
    // Rebuilds the tables in order; stops at the first that fails.
    QString RebuildTables(const QStringList& tables);
    bool DetailAndCompanyCurrent() const;
    bool LayoutsCurrent() const;
    bool sameFieldCount(const QString& table) const;
    bool ReportUpgradeStep(const QString& message);
    QString folderFile(const QString& name) const;

    store::DataModule& m_dm;
    UserInteraction& m_ui;
    QString m_folder;
};

} // namespace submission
