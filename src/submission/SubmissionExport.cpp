#include "submission/SubmissionExport.h"

#include "archive/ArchiveFile.h"
#include "comparison/CostRate.h"
#include "entry/Photos.h"
#include "store/DataModule.h"
#include "store/DurableFiles.h"
#include "store/WritableFolder.h"
#include "submission/DataUpgrade.h"
#include "submission/RegistrationRows.h"
#include "submission/SubmissionCheck.h"
#include "submission/SubmissionChanges.h"
#include "submission/SubmissionFiles.h"
#include "util/UserInteraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace submission {

const QString kCannotExport = QStringLiteral("登録用ファイルを作成できません。");
const QString kPackFailed = QStringLiteral("提出用ファイルを作成できませんでした。");
const QString kNotKept = QStringLiteral("提出用ファイルは作成しましたが、その控えを保管できませんでした。");

namespace {

// A name beside `path` that no file has yet, for the archive being written.
QString unusedSiblingName(const QString& path)
{
    const QFileInfo info(path);
    QString candidate;
    do {
        candidate = info.dir().filePath(QStringLiteral(".%1.%2.lzh").arg(info.completeBaseName(), QUuid::createUuid().toString(QUuid::Id128).left(8)));
    } while (QFileInfo::exists(candidate));
    return candidate;
}

// Why the archive could not be written, told of the file the user chose: the library's message
// names the new archive beside it.
QString packingProblem(const QString& path, const QString& partial, QString message, int result)
{
    if (message.isEmpty())
        return QStringLiteral("%1: LZH (%2)").arg(QDir::toNativeSeparators(path)).arg(result);
    message.replace(QDir::toNativeSeparators(partial), QDir::toNativeSeparators(path));
    message.replace(partial, QDir::toNativeSeparators(path));
    // The folder is named when it cannot take the file (a full disk, no permission).
    const QString folderProblem = store::folderWriteProblem(QFileInfo(path).absolutePath());
    return folderProblem.isEmpty() ? message : folderProblem + QStringLiteral("\r\n") + message;
}

// The current row of a table as it was before the export changed it, put back when the export
// fails: a failed export changes no table.
class RowKeeper
{
public:
    explicit RowKeeper(store::Table* table)
        : m_table(table)
        , m_changed(table->isChangedSinceRead())
    {
        if (table->isEmpty())
            return;
        for (int f = 0; f < table->fieldCount(); ++f)
            m_values.append(table->fields().at(f).isStored() ? table->field(f).value() : QVariant());
    }

    void restore()
    {
        if (m_values.isEmpty() || m_table->isEmpty())
            return;
        m_table->checkBrowseMode();
        bool differs = false;
        for (int f = 0; f < m_values.size() && !differs; ++f)
            differs = m_table->fields().at(f).isStored() && m_table->field(f).value() != m_values.at(f);
        if (differs) {
            m_table->edit();
            for (int f = 0; f < m_values.size(); ++f) {
                if (m_table->fields().at(f).isStored())
                    m_table->field(f).setValue(m_values.at(f));
            }
            m_table->post();
        }
        if (!m_changed)
            m_table->markUnchanged();
    }

private:
    store::Table* m_table;
    bool m_changed;
    QList<QVariant> m_values;
};

// The period rate goes out as the sheet shows it, as the save stores it: a sheet confirmed after
// the last save must not leave an older rate in the submission.
void chkProcessRate(store::DataModule& dm)
{
    store::Table* detail = dm.table(QStringLiteral("NT_TBL_DETAIL"));
    store::Table* sheet = dm.table(QStringLiteral("NT_TBL_COMPARE_MAIN"));
    if (detail->isEmpty() || sheet->isEmpty() || sheet->field(QStringLiteral("RATE_PROCESS")).isNull())
        return;
    const QString shown = comparison::mirrorOfRate(sheet->field(QStringLiteral("RATE_PROCESS")).asString()).label;
    if (detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).asString() == shown)
        return;
    dm.CdsChangeCmpMainMode(detail);
    detail->field(QStringLiteral("COMPARE_PROCESS_RATE")).setString(shown);
}

} // namespace

QString SubmissionExport::chooseFile(const QString& proposedName)
{
    UserInteraction::FileRequest request;
    request.folder = m_ui.desktopFolder();
    request.fileName = proposedName;
    request.filters = {QStringLiteral("新技術データ|*.lzh")};
    QString path = m_ui.fileDialog(UserInteraction::FileKind::Save, request).path;
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".lzh");
    return path;
}

SubmissionExport::Outcome SubmissionExport::exportSubmissionFile(const QString& chosenPath)
{
    m_writtenPath.clear();
    if (CheckSubmissionItems(m_dm, m_ui) || CheckSubmissionPhotos(m_dm, m_ui))
        return Outcome::Stopped;
    store::Table* main = m_dm.table(QStringLiteral("NT_TBL_MAIN"));
    if (main->isEmpty()) {
        m_ui.warn(QStringLiteral("注意"), kCannotExport);
        return Outcome::Stopped;
    }
    RowKeeper mainBefore(main);
    RowKeeper detailBefore(m_dm.table(QStringLiteral("NT_TBL_DETAIL")));
    StampDataVersion(m_dm);
    StampDataType(m_dm);
    if (main->field(QStringLiteral("REG_NO")).asString().trimmed().isEmpty()) {
        m_dm.ErrorEvasion();
        return Outcome::Stopped;
    }
    const QString regNo = main->field(QStringLiteral("REG_NO")).asString().trimmed();
    const QString proposed = ProposedFileName(main->field(QStringLiteral("TECH_TITLE")).asString());
    m_dm.chkData();
    chkProcessRate(m_dm);

    Outcome outcome = Outcome::Cancelled;
    // What changed since the last submission is shown before the file is chosen.
    const bool reviewed = !chosenPath.isEmpty() || !m_reviewChanges || !hasKeptSubmission(m_dm, regNo) || m_reviewChanges(regNo);
    const QString path = !reviewed ? QString() : chosenPath.isEmpty() ? chooseFile(proposed) : chosenPath;
    if (!path.isEmpty()) {
        QString error;
        if (WriteSubmissionFile(regNo, path, &error)) {
            const QFileInfo written(path);
            m_ui.message(UserInteraction::Icon::None, kProgramTitle,
                         QStringLiteral("\"%1\"にファイル\"%2\"をエクスポートしました。")
                             .arg(QDir::toNativeSeparators(written.absolutePath() + QLatin1Char('/')), written.fileName()),
                         UserInteraction::Ok);
            m_writtenPath = path;
            outcome = Outcome::Written;
            QString notKept;
            if (!keepSubmission(m_dm, regNo, path, KeptSubmission::Kind::Submitted, &notKept))
                m_ui.error(kProgramTitle, kNotKept + QStringLiteral("\r\n") + notKept);
        } else {
            mainBefore.restore();
            detailBefore.restore();
            m_ui.error(kProgramTitle, kPackFailed + QStringLiteral("\r\n") + error);
            outcome = Outcome::Failed;
        }
    }
    emit m_dm.MarkSaved();
    return outcome;
}

bool SubmissionExport::WriteSubmissionFile(const QString& regNo, const QString& path, QString* error)
{
    // The pending edits of the registration (the rates set by chkData among them) go with it.
    const UserInteraction::Busy busy(m_ui, QStringLiteral("提出用ファイルを作成しています…"));
    for (store::Table* live : m_dm.registrationTables())
        live->checkBrowseMode();
    const bool packed = fillWorkingFolder(regNo, error) && packWorkingFolder(regNo, path, error);
    DeleteTempFiles(m_dm.folder());
    return packed;
}

bool SubmissionExport::fillWorkingFolder(const QString& regNo, QString* error)
{
    DeleteTempFiles(m_dm.folder());
    if (!SetZeroFiles(m_dm.folder(), error))
        return false;
    const RegistrationRowSet registration = registrationRows(m_dm, regNo);
    // Every one of the thirteen files belongs in the submission: one that cannot be prepared ends
    // the export, rather than a file being handed in without it.
    for (const QString& table : appendOrder()) {
        store::Table* working = m_dm.table(QStringLiteral("CdsTemp") + table);
        if (!m_dm.BeforeExpFile(working, memberName(table), error)) {
            working->close(nullptr);
            return false;
        }
        // Fields are copied by position: the working table has the live table's layout.
        for (const store::Table::RowValues& row : registration.value(table))
            working->appendRowValues(row);
        const bool saved = working->save(error);
        working->close(nullptr);
        if (!saved)
            return false;
    }
    return true;
}

bool SubmissionExport::packWorkingFolder(const QString& regNo, const QString& path, QString* error)
{
    const store::ProgramFolder& folder = m_dm.folder();
    QStringList patterns = {QDir(folder.path(QStringLiteral("Temp"))).filePath(QStringLiteral("*.Cds"))};
    // Exactly the photos the registration's image rows name: a file left in the folder by a photo
    // refused or replaced belongs to no row.
    for (const QString& name : photos::namedFiles(*m_dm.table(QStringLiteral("NT_TBL_INFO_IMAGES")), regNo))
        patterns.append(folder.path(QStringLiteral("Images\\") + name));
    // The archive is written under a new name and replaces the chosen file only when complete,
    // so a failure never costs the user an earlier submission file.
    const QString partial = unusedSiblingName(path);
    ArchiveFile archive(nullptr);
    ArchiverError failure;
    int result = 0;
    const bool ran = archive.SetFileName(partial, failure) && archive.SetArchiverType(atLha, failure);
    if (ran) {
        archive.Options()->x = 0;
        archive.Options()->n = 1;
    }
    if (!ran || !archive.PackFiles(nullptr, QString(), patterns, result, failure) || result != 0 || !QFileInfo(partial).isFile()) {
        QFile::remove(partial);
        if (error)
            *error = packingProblem(path, partial, failure.Message.isEmpty() ? archive.LastOutput() : failure.Message, result);
        return false;
    }
    // On the disk, under its name, before the user is told it was written.
    if (!store::replaceDurably(partial, path, error)) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

} // namespace submission
