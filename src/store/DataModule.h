#pragma once

#include "store/ProgramFolder.h"
#include "store/Table.h"

#include <QDateTime>
#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QStringList>

#include <optional>

#include <functional>
#include <memory>
#include <vector>

#include "util/UserInteraction.h"

namespace store {

class BackupGenerations;
class DataSource;
class WriteSet;

// What the save reads from the screens: the comparison results and the post-code boxes shown on
// the main window, the conventional technology's name, and the steps of the entry pages that
// hand their own controls to the tables (the description grids, the construction conditions).
struct SaveInputs
{
    QString compareCostRate;    // text of the cost rate shown on the comparison sheet
    QString compareProcessRate; // text of the period rate
    QString salesPostCode1, salesPostCode2;                 // technical contact's boxes
    QString salesPostCodeBusiness1, salesPostCodeBusiness2; // sales contact's boxes
    QString compareTechTitle;   // "従来技術名" as shown
    std::function<void()> writeDescriptionGrids; // the five grids into their memo fields
    std::function<void()> saveConditions;        // NT_TBL_CONST_CONDITION and its views
};

// The data module: owns every table and view of the system for the run and the operations on
// all of them — the start with its backup and recovery, the installation of new table layouts,
// save, cancel and delete of the current registration, and the registration numbers.
// Renumbers the contacts of each registration 1, 2, 3 … in field `order`, in their previous order
// (by `order`, then `recId`; rows without an order first), as an import does. Rows without a
// number keep their value.
void renumberContactOrder(QList<Table::RowValues>& rows, int regNo, int order, int recId);

class DataModule : public QObject
{
    Q_OBJECT

public:
    explicit DataModule(const QString& programFolder, UserInteraction* interaction, QObject* parent = nullptr);
    ~DataModule() override;

    const ProgramFolder& folder() const { return m_folder; }
    // A table, view or working dataset by name, with or without the "Cds" prefix.
    Table* table(const QString& name) const;
    // The data source of a registration table, lookup table or view ("Ds" + table name).
    DataSource* dataSource(const QString& name) const;

    // Replaces the clock used for the stamps of backup folders (tests).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // ---- start and end ----
    // The start: takes over installed layouts, opens every table, refreshes the automatic backup,
    // or offers to restore the data folder from it. False when the run must end (the user has
    // been told why); `startError` then holds the engine's message, if any.
    bool start();
    // True while this run holds the program folder; a second run on the same folder is refused
    // at the start and must touch nothing.
    bool holdsFolder() const { return m_lock != nullptr; }
    bool applicationTerminated() const { return m_terminated; }
    QString startError() const { return m_startError; }
    // When set, a broken data folder is restored without asking (the command-line tool's
    // --restore-backup); when cleared, the question goes to the user interaction.
    void setAnswerForBrokenData(std::optional<bool> answer) { m_brokenDataAnswer = answer; }

    bool OpenAllTables(QString* error);
    // Writes every table whose rows changed or whose file is missing, as one set, then closes
    // every table and releases the program folder. False with the file and the reason when the
    // write failed: every table then stays open, nothing is lost.
    bool CloseAllTables(QString* error = nullptr);
    // Writes what CloseAllTables writes and releases the program folder, but leaves the tables
    // open and their rows in memory: for a process that ends right after, which the system hands
    // that memory back to at once instead of row by row. Nothing may use the tables afterwards.
    bool WriteAllTablesBeforeExit(QString* error = nullptr);
    // Writes every registration table whose rows changed since it was last written, as one set:
    // after a crash at any moment the files hold either all of the change or none of it.
    bool WriteChangedTables(QString* error = nullptr);

    // ---- layout installation ----
    void InstallNewLayouts();
    int CarryOverTable(const QString& oldFile, const QString& newFile, bool backup);
    void RenumberContacts(const QString& path);

    // ---- the current registration ----
    void PostAllTables(const SaveInputs& inputs);
    void SubCdsPost(Table* table, int offset);
    void CancelAllTables();
    void PostPendingTables();
    // Removes the current registration's rows of every detail table, and its main row when that is
    // still being inserted (a new registration), and writes the change; a failed write is shown to
    // the user (false).
    bool DeleteRegistrationRows();
    // The same, with the registration's main row, as one set.
    bool DeleteRegistration();
    void DeleteAll(Table* table);
    bool BeforeExpFile(Table* workingTable, const QString& fileName, QString* error);
    void chkData();
    void ErrorEvasion();
    void CdsCmpAfterCancel(Table* cancelled);
    void CdsChangeCmpMainMode(Table* table);

    // ---- registration numbers ----
    // The next local number "XXK-nnnnnn " (with its trailing blank); puts NT_TBL_MAIN in insert
    // state. False with a message when a table file cannot be read, holds a malformed local
    // number, or the local numbers are used up.
    bool NextLocalNumber(QString* number, QString* error);

    // ---- the time of each registration's last save (the list shows it) ----
    // Records now as the last save of `number`; a failure is told to the user.
    void recordSaveTime(const QString& number);
    QHash<QString, QDateTime> saveTimes() const;
    int numberCounter() const { return m_numberCounter; }
    void resetNumberCounter() { m_numberCounter = 0; }

    // ---- modified state ----
    // Set by the page change of the main window: the next edit of NT_TBL_DESCRIPTION is the
    // loading of its memos, not a change by the user.
    void setSilentDescription(bool on) { m_silentDescription = on; }
    bool silentDescription() const { return m_silentDescription; }

    // The tables linked to NT_TBL_MAIN by REG_NO and their views, in the data module's order.
    QList<Table*> registrationDetailTables() const;
    QList<Table*> registrationTables() const; // the thirteen, NT_TBL_MAIN first
    QList<Table*> lookupTables() const;

signals:
    void MarkModified();
    void MarkSaved();
    // NT_TBL_CONST_CONDITION was posted (the construction-condition rules check it).
    void constConditionPosted();
    // The index of save times changed.
    void saveTimesChanged();

private:
    Table* addTable(const QString& name);
    void createTables();
    void wireEvents();
    void setUpViews();
    void bindRegistrationTable(Table* table);
    bool openTable(Table* table, QString* error);
    QStringList listFolder(const QString& folder) const;
    bool lockFolder();
    void endRun(const QString& why);
    void closeWithoutWriting();
    static QStringList columnOf(Table* table, const QString& field);
    // The newest generation of the backup whose tables read and whose rows join; empty when there
    // is none, with the newest one's problem in `problem` (empty when no generation holds files).
    QString usableBackup(const BackupGenerations& backups, QString* problem) const;
    bool restoreFromBackup(const QString& generation);
    void DescriptionAfterEdit();
    void deleteWhere(Table* view, const std::function<bool(Table*)>& predicate, bool* deletedAny);
    void postViewPhotos(Table* view);
    bool backUpOldLayout(const QString& oldFile, const QString& newFile, WriteSet* set, QString* error);
    int carryOver(const QString& oldFile, const QString& newFile, const std::function<bool(Table*)>& keep);
    bool writeAllTables(QString* error); // every table with a file, as one set
    bool writeTables(const QList<Table*>& tables, QString* error);
    bool writeChangedTablesOrTell();
    void removeRegistrationRows();

    ProgramFolder m_folder;
    UserInteraction* m_interaction;
    std::function<QDateTime()> m_clock;
    std::vector<std::unique_ptr<Table>> m_tables;
    QHash<QString, Table*> m_byName; // upper-case component name → table
    QHash<QString, DataSource*> m_sources;
    bool m_terminated = false;
    QString m_startError;
    std::optional<bool> m_brokenDataAnswer;
    bool m_silentDescription = false;
    int m_numberCounter = 0;
    std::unique_ptr<QLockFile> m_lock; // held from the start to the closing of the tables
};

} // namespace store
