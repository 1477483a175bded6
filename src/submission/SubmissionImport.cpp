#include "submission/SubmissionImport.h"

#include "store/ChangedTables.h"
#include "store/DataModule.h"
#include "store/DurableFiles.h"
#include "store/RegistrationNumbers.h"
#include "store/TableFile.h"
#include "store/WritableFolder.h"
#include "store/WriteSet.h"
#include "submission/DataUpgrade.h"
#include "submission/RegistrationProblems.h"
#include "submission/RegistrationRows.h"
#include "submission/SubmissionChanges.h"
#include "submission/SubmissionExtraction.h"
#include "submission/SubmissionFiles.h"
#include "util/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace submission {

const QString kOldDataNotSupported = QStringLiteral(
    "旧バージョンの新技術データ（NewTech.nt6）は、変換プログラム「ConvertToCDS.exe」がないため、この環境では変換できません。\r\n"
    "旧バージョンのプログラムで提出用ファイル（.lzh）を作成してから取り込んで下さい。");
const QString kOtherEditionQuestion =
    QStringLiteral("指定されたデータは港湾版のデータではありません。\r\n港湾版のデータとして取り込みますか？");
const QString kOtherEditionNotice = QStringLiteral(
    "指定されたデータを港湾版のデータに変換して、データの取り込みを行います。\r\n以下の項目については再度入力して下さい。\r\n\r\n"
    "・分類\r\n・施工上・使用上の条件\r\n・評価・証明\r\n・施工実績");

namespace {

const QString kCaution = QStringLiteral("注意");

// The items of the other edition that this edition does not take over.
const QStringList kDroppedTablesOfOtherEdition = {"PL_TBL_PROJECT_MOC", "PL_TBL_PROJECT_PRIVATE", "NT_TBL_CONST_CONDITION"};
const QStringList kClearedDetailFields = {"EVALUATE_MOC_NO", "EVALUATE_MOC_DATE", "EVALUATE_PRIVATE_NO", "EVALUATE_PRIVATE_DATE",
                                          "EVALUATE_ORGAN_CODE"};
const QStringList kZeroedDetailFields = {"RESULTS_MOC",     "RESULTS_TECH_USE", "RESULTS_SPE_TECH", "RESULTS_TEST",
                                         "RESULTS_RECYCLE", "RESULTS_PUBLIC",   "RESULTS_PRIVATE"};
const QStringList kClearedMainFields = {"LEVEL1_COMBO", "LEVEL2_COMBO", "LEVEL3_COMBO", "LEVEL4_COMBO"};

void setByName(const store::Table* table, store::Table::RowValues& row, const QString& field, const QVariant& value)
{
    const int index = table->fieldIndex(field);
    if (index >= 0 && index < row.size())
        row[index] = value;
}

// Clears, in the rows of the other edition, what the harbour edition records differently.
void ConvertToHarbourEdition(const QString& table, store::Table* live, QList<store::Table::RowValues>& rows)
{
    if (kDroppedTablesOfOtherEdition.contains(table)) {
        rows.clear();
    } else if (table == QLatin1String("NT_TBL_DETAIL")) {
        for (store::Table::RowValues& row : rows) {
            for (const QString& field : kClearedDetailFields)
                setByName(live, row, field, QVariant());
            for (const QString& field : kZeroedDetailFields)
                setByName(live, row, field, 0);
        }
    } else if (table == QLatin1String("NT_TBL_MAIN")) {
        for (store::Table::RowValues& row : rows) {
            for (const QString& field : kClearedMainFields)
                setByName(live, row, field, QVariant());
        }
    }
}

// The rows of a table file in Temp\, read through its working table (so in the live layout); false
// with the engine's error when the file cannot be opened as that table.
bool readWorkingRows(store::DataModule& dm, const QString& table, QList<store::Table::RowValues>* rows, QString* error)
{
    store::Table* working = dm.table(QStringLiteral("CdsTemp") + table);
    working->close(nullptr);
    working->setFileName(dm.folder().tempPath(memberName(table)));
    const bool opened = working->open(error);
    if (opened)
        *rows = working->allRows();
    working->markUnchanged();
    working->close(nullptr);
    working->setFileName(QString());
    return opened;
}

// Stages the photos of the extension in Temp\ as files of Images\ under the new number, each
// keeping its slot letter; they reach Images\ with the rows, or not at all.
bool stageImageFiles(const QString& source, const QString& target, const QString& number, const QString& extension,
                     store::WriteSet& set, QString* error)
{
    for (const QFileInfo& file : QDir(source).entryInfoList({QStringLiteral("*") + extension}, QDir::Files | QDir::Hidden)) {
        const QString slot = store::PhotoSlotOfFileName(file.fileName());
        if (slot.isEmpty())
            continue;
        const QString destination = store::ProgramFolder::resolveIn(target, number + slot + extension);
        if (!set.stageCopy(file.filePath(), destination, error))
            return false;
    }
    return true;
}

// Removes the rows appended to the table after it held `count`, leaving it marked unchanged when
// it was before they came.
void takeBackAppendedRows(store::Table* table, int count, bool wasChanged)
{
    QList<store::Table::RowValues> rows = table->allRows();
    if (rows.size() > count) {
        rows.resize(count);
        table->emptyTable();
        for (const store::Table::RowValues& row : std::as_const(rows))
            table->appendRowValues(row);
    }
    if (!wasChanged)
        table->markUnchanged();
}

} // namespace

QString SubmissionImport::RememberedFolder() const
{
    if (!m_rememberedFolder.isEmpty() && QFileInfo(m_rememberedFolder).isDir())
        return m_rememberedFolder;
    return m_ui.desktopFolder();
}

SubmissionImport::Choice SubmissionImport::chooseFile()
{
    UserInteraction::FileRequest request;
    request.folder = RememberedFolder();
    request.filters = {QStringLiteral("新技術データ|*.lzh"), QStringLiteral("旧新技術データ|NewTech.nt6")};
    request.fileNameForFilter = {QString(), QStringLiteral("NewTech.nt6")};
    const UserInteraction::FileAnswer answer = m_ui.fileDialog(UserInteraction::FileKind::Open, request);
    if (answer.path.isEmpty())
        return {};
    m_rememberedFolder = QFileInfo(answer.path).absolutePath();
    return {answer.path, answer.filterIndex == 1};
}

SubmissionImport::Outcome SubmissionImport::importSubmissionFile(const QString& chosenPath)
{
    m_importedNumber.clear();
    Choice choice = chosenPath.isEmpty() ? chooseFile() : Choice{chosenPath, false};
    if (choice.path.isEmpty())
        return Outcome::Cancelled;
    if (choice.oldData || QFileInfo(choice.path).fileName().compare(QLatin1String("NewTech.nt6"), Qt::CaseInsensitive) == 0) {
        m_ui.warn(kCaution, kOldDataNotSupported);
        return Outcome::Refused;
    }
    return ImportSubmissionFile(choice.path);
}

SubmissionImport::Outcome SubmissionImport::refuse()
{
    DeleteTempFiles(m_dm.folder());
    return Outcome::Refused;
}

QString SubmissionImport::extractInto(const QString& path, const QString& folder)
{
    if (!QFileInfo(path).isFile())
        return kNotSubmissionData;
    QString error;
    return ExtractSubmissionFile(path, folder, &error) ? QString() : error;
}

SubmissionImport::Outcome SubmissionImport::ImportSubmissionFile(const QString& path)
{
    // The questions and notices on the way show the ordinary cursor.
    const UserInteraction::Busy busy(m_ui, QStringLiteral("データを取り込んでいます…"));
    m_importedNumber.clear();
    const store::ProgramFolder& folder = m_dm.folder();
    const QString temp = folder.path(QStringLiteral("Temp"));
    QDir().mkpath(temp);
    DeleteTempFiles(folder);
    // A working folder that cannot take the members (a full disk, a file in its place) is named
    // as such, not mistaken for a file that is no submission.
    const QString tempProblem = store::folderWriteProblem(temp);
    if (!tempProblem.isEmpty()) {
        m_ui.error(kProgramTitle, tempProblem);
        return refuse();
    }
    // A broken archive may leave part of its members behind: only a complete extraction counts.
    // A member that could not be extracted is reported by the check of the extracted files; a
    // member past its bound, with its own message.
    const QString extractionError = extractInto(path, temp);
    if (!extractionError.isEmpty() && extractionError != kNotSubmissionData) {
        m_ui.error(kProgramTitle, extractionError);
        return refuse();
    }
    if (!extractionError.isEmpty())
        DeleteTempFiles(folder);
    m_ui.workGoesOn();

    QString problem = CheckSubmissionFiles(temp);
    QList<store::FieldDef> fields;
    QList<QVector<QVariant>> mainRows;
    // A submission file holds exactly one registration.
    if (problem.isEmpty() && (!store::TableFile::read(folder.tempPath(QStringLiteral("NT_TBL_MAIN.Cds")), &fields, &mainRows, nullptr)
                              || mainRows.size() != 1))
        problem = kNotSubmissionData;
    // An imported photo passes the checks a chosen one passes.
    if (problem.isEmpty())
        problem = photoRefusal(temp);
    if (!problem.isEmpty()) {
        m_ui.warn(kCaution, problem);
        return refuse();
    }

    const bool otherEdition = DataEditionCode(temp) != QLatin1String("kw");
    if (otherEdition) {
        if (m_ui.message(UserInteraction::Icon::Question, kProgramTitle, kOtherEditionQuestion, UserInteraction::Yes | UserInteraction::No)
            != UserInteraction::Yes)
            return refuse();
        m_ui.warn(kCaution, kOtherEditionNotice);
    }

    m_ui.workGoesOn();
    DataUpgrade upgrade(m_dm, m_ui);
    if (!upgrade.UpgradeImportedData(temp))
        return refuse();
    m_dm.RenumberContacts(folder.tempPath(QStringLiteral("NT_TBL_COMPANY.cds")));

    // Every member is read before anything is merged: a registration comes over whole or not at
    // all, and a refused one leaves the data folder, the photos and the numbers as they were.
    QHash<QString, QList<store::Table::RowValues>> members;
    QString error;
    for (const QString& table : appendOrder()) {
        if (!readWorkingRows(m_dm, table, &members[table], &error)) {
            m_ui.error(kProgramTitle, error);
            return refuse();
        }
        // More rows of a kind than the program can enter are no registration of it.
        const QString tooMany = rowCountRefusal(table, members.value(table), m_dm.table(table)->fieldIndex(QStringLiteral("RECORD_TYPE")));
        if (!tooMany.isEmpty()) {
            m_ui.warn(kCaution, tooMany);
            return refuse();
        }
        m_ui.workGoesOn();
    }

    QString number;
    store::Table* main = m_dm.table(QStringLiteral("NT_TBL_MAIN"));
    const bool numbered = m_dm.NextLocalNumber(&number, &error);
    if (main->state() == store::Table::State::Insert)
        main->cancel();
    if (!numbered) {
        m_ui.error(kProgramTitle, error);
        return refuse();
    }
    number = number.trimmed();
    if (!mergeRegistration(number, otherEdition, members, &error)) {
        m_ui.error(kProgramTitle, error);
        return refuse();
    }
    DeleteTempFiles(folder);
    m_ui.workGoesOn();
    main->locate(QStringLiteral("REG_NO"), number);
    m_dm.recordSaveTime(number);
    m_importedNumber = number;
    // The file received is the registration's starting point until it is handed in again.
    if (!keepSubmission(m_dm, number, path, KeptSubmission::Kind::Imported, &error))
        m_ui.error(kProgramTitle, error);
    return Outcome::Imported;
}

bool SubmissionImport::mergeRegistration(const QString& number, bool convertEdition,
                                         const QHash<QString, QList<store::Table::RowValues>>& members, QString* error)
{
    const QString temp = m_dm.folder().path(QStringLiteral("Temp"));
    // What the live tables held before, to take the rows back when they cannot be stored.
    QHash<store::Table*, std::pair<int, bool>> before;
    for (const QString& table : appendOrder()) {
        store::Table* live = m_dm.table(table);
        live->checkBrowseMode();
        before.insert(live, {live->storedRowCount(), live->isChangedSinceRead()});
        QList<store::Table::RowValues> rows = members.value(table);
        if (convertEdition)
            ConvertToHarbourEdition(table, live, rows);
        for (const store::Table::RowValues& row : rowsUnderNumber(table, *live, rows, number, temp, nullptr))
            live->appendRowValues(row);
        m_ui.workGoesOn();
    }
    // Every table of the registration and its photos reach the program folder in one set: a
    // crash or a failed write leaves all of it or none of it.
    const QString images = m_dm.folder().path(QStringLiteral("Images"));
    store::WriteSet set(m_dm.folder().root());
    QList<store::Table*> staged;
    bool stored = store::makeFolderDurably(images, error);
    // Table by table, each a step of the work.
    for (store::Table* table : m_dm.registrationTables()) {
        stored = stored && store::stageChangedTables({table}, &set, &staged, error);
        m_ui.workGoesOn();
    }
    for (const char* extension : {".jpg", ".gif", ".jpeg"})
        stored = stored && stageImageFiles(temp, images, number, QLatin1String(extension), set, error);
    m_ui.workGoesOn();
    if (stored && set.commit(error)) {
        for (store::Table* table : std::as_const(staged))
            table->markUnchanged();
        return true;
    }
    if (error->isEmpty())
        *error = store::folderCannotBeWritten(images, EIO);
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        takeBackAppendedRows(it.key(), it.value().first, it.value().second);
    return false;
}

} // namespace submission
