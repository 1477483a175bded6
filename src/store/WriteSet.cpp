#include "store/WriteSet.h"

#include "store/DurableFiles.h"
#include "store/ProgramFolder.h"
#include "util/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <filesystem>
#include <system_error>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace store {

namespace {

const QString kPartSuffix = QStringLiteral(".part");
const QByteArray kJournalEnd = "end";

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString failedWrite(const QString& path, const QString& reason)
{
    return QStringLiteral("%1: 書き込みに失敗しました (%2)").arg(shown(path), reason);
}

#ifdef Q_OS_UNIX
// Closes the last descriptor of a replaced file on a thread of its own: the file system frees the
// file's blocks and cached pages then, which takes about a millisecond for a large table file.
void releaseInBackground(int descriptor)
{
    if (descriptor < 0)
        return;
    try {
        std::thread([descriptor] { ::close(descriptor); }).detach();
    } catch (const std::system_error&) {
        ::close(descriptor);
    }
}
#endif

// Replaces `target` by `part` in one step. The file replaced is released after the rename instead
// of within it, so that the caller does not wait for its blocks to be freed.
bool replaceFile(const QString& part, const QString& target, QString* error)
{
#ifdef Q_OS_UNIX
    const int replaced = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const auto release = qScopeGuard([replaced] { releaseInBackground(replaced); });
#endif
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(part.toStdU16String()), std::filesystem::path(target.toStdU16String()), code);
    if (code) {
        if (error)
            *error = failedWrite(target, QString::fromLocal8Bit(code.message()));
        return false;
    }
    return true;
}

// The folders of the targets, each once.
QStringList foldersOf(const QList<QString>& targets)
{
    QStringList folders;
    for (const QString& target : targets) {
        const QString folder = QFileInfo(target).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

bool syncFolders(const QStringList& folders, QString* error)
{
    for (const QString& folder : folders) {
        if (!syncFolder(folder, error))
            return false;
    }
    return true;
}

// Removes the journal once its renames are on the disk, and then the journal's name.
bool removeJournal(const QString& journal, QString* error)
{
    if (!QFile::remove(journal)) {
        if (error)
            *error = failedWrite(journal, QStringLiteral("削除できません"));
        return false;
    }
    return syncFolder(QFileInfo(journal).absolutePath(), error);
}

void removeStrayParts(const QString& folder)
{
    const QFileInfoList parts = QDir(folder).entryInfoList({QStringLiteral("*") + kPartSuffix}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& part : parts)
        QFile::remove(part.filePath());
}

} // namespace

WriteSet::WriteSet(const QString& programFolder)
    : m_root(QDir(programFolder).absolutePath())
{
}

WriteSet::~WriteSet()
{
    abandon();
}

QString WriteSet::journalPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("write-set.journal"));
}

bool WriteSet::stage(const QString& target, const Writer& write, QString* error)
{
    Entry entry;
    entry.target = QFileInfo(target).absoluteFilePath();
    entry.part = entry.target + kPartSuffix;
    QFile file(entry.part);
    // Unbuffered: each write reaches the system, which tells why one fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        if (error)
            *error = failedWrite(entry.part, file.errorString());
        return false;
    }
    m_entries.append(entry); // removed again by abandon() whatever happens next
    QString why;
    if (!write(&file, &why) || !flushToDisk(&file, &why) || file.error() != QFileDevice::NoError) {
        if (error)
            *error = failedWrite(entry.target, why.isEmpty() ? file.errorString() : why);
        return false;
    }
    m_entries.last().size = file.size();
    file.close();
    return true;
}

bool WriteSet::stageCopy(const QString& source, const QString& target, QString* error)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: ファイルを開けません (%2)").arg(shown(source), in.errorString());
        return false;
    }
    return stage(target, [&in](QIODevice* out, QString* why) { return filewriting::copyAll(&in, out, why); }, error);
}

bool WriteSet::commit(QString* error)
{
    if (m_entries.isEmpty())
        return true;
    QList<QString> targets;
    for (const Entry& entry : std::as_const(m_entries))
        targets.append(entry.target);
    const QStringList folders = foldersOf(targets);
    if (m_entries.size() == 1) {
        // One rename is all-or-nothing by itself; a part a crash leaves is removed at the next
        // start, and a part whose rename failed by abandon().
        if (!replaceFile(m_entries.first().part, m_entries.first().target, error))
            return false;
        m_entries.clear();
        return syncFolders(folders, error);
    }
    const QDir root(m_root);
    QByteArray journal;
    for (const Entry& entry : std::as_const(m_entries)) {
        journal += QByteArray::number(entry.size) + '\t' + root.relativeFilePath(entry.part).toUtf8() + '\t'
            + root.relativeFilePath(entry.target).toUtf8() + '\n';
    }
    journal += kJournalEnd + '\n';
    // The parts' names reach the disk before the journal that names them, and the journal before
    // the first rename: after a power cut the start finds either no journal and the old files, or
    // the journal and every part it names that was not yet renamed. A journal cut short lacks its
    // last line and is rolled back.
    const QString journalFile = journalPath(m_root);
    QFile file(journalFile);
    if (!syncFolders(folders, error))
        return false;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) || !filewriting::writeAll(&file, journal)
        || !flushToDisk(&file)) {
        if (error)
            *error = failedWrite(journalFile, file.errorString());
        file.close();
        QFile::remove(journalFile);
        return false;
    }
    file.close();
    if (!syncFolder(m_root, error)) {
        QFile::remove(journalFile); // nothing was renamed: the set is abandoned
        return false;
    }
    const QList<Entry> entries = std::exchange(m_entries, {});
    for (const Entry& entry : entries) {
        if (!replaceFile(entry.part, entry.target, error))
            return false; // the journal stays: the next start completes the set
    }
    // The renames reach the disk before the journal that would complete them goes.
    return syncFolders(folders, error) && removeJournal(journalFile, error);
}

void WriteSet::abandon()
{
    for (const Entry& entry : std::as_const(m_entries))
        QFile::remove(entry.part);
    m_entries.clear();
}

bool WriteSet::recover(const QString& programFolder, QString* error)
{
    const QString root = QDir(programFolder).absolutePath();
    const QString journalFile = journalPath(root);
    QFile file(journalFile);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("%1: ファイルを開けません (%2)").arg(shown(journalFile), file.errorString());
            return false;
        }
        const QList<QByteArray> lines = file.readAll().split('\n');
        file.close();
        QList<Entry> entries;
        bool complete = false;
        bool intact = true;
        for (const QByteArray& line : lines) {
            if (line == kJournalEnd) {
                complete = true;
                break;
            }
            const QList<QByteArray> parts = line.split('\t');
            bool ok = parts.size() == 3;
            Entry entry;
            if (ok) {
                entry.size = parts.at(0).toLongLong(&ok);
                entry.part = QDir(root).absoluteFilePath(QString::fromUtf8(parts.at(1)));
                entry.target = QDir(root).absoluteFilePath(QString::fromUtf8(parts.at(2)));
                ok = ok && entry.part.startsWith(root + QLatin1Char('/')) && entry.target.startsWith(root + QLatin1Char('/'));
            }
            if (!ok) {
                intact = false;
                break;
            }
            entries.append(entry);
        }
        // A part that is there must be complete; a part that is gone was already renamed.
        for (const Entry& entry : std::as_const(entries)) {
            const QFileInfo part(entry.part);
            if (part.exists() && part.size() != entry.size)
                intact = false;
        }
        const bool rollForward = complete && intact;
        QList<QString> targets;
        for (const Entry& entry : std::as_const(entries)) {
            targets.append(entry.target);
            if (!QFileInfo::exists(entry.part))
                continue;
            if (rollForward) {
                if (!replaceFile(entry.part, entry.target, error))
                    return false;
            } else {
                QFile::remove(entry.part);
            }
        }
        if (!syncFolders(foldersOf(targets), error) || !removeJournal(journalFile, error))
            return false;
    }
    const ProgramFolder folder(root);
    for (const char* name : {"FLATT_FILES", "Zero", "Images"})
        removeStrayParts(folder.path(QLatin1String(name)));
    return true;
}

} // namespace store
