#include "store/BackupGenerations.h"

#include "store/DurableFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace store {

namespace {

const QString kBuilding = QStringLiteral(".new");  // a generation being built
const QString kComplete = QStringLiteral(".next"); // a complete generation not yet moved in
const QString kDropped = QStringLiteral(".drop");  // the oldest generation, on its way out
const QString kLegacyPrevious = QStringLiteral(".old");

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

bool isCdsFile(const QString& name)
{
    return name.endsWith(QLatin1String(".cds"), Qt::CaseInsensitive);
}

QFileInfoList filesIn(const QString& folder)
{
    return QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool sameBytes(const QString& a, const QString& b)
{
    QFile first(a);
    QFile second(b);
    const qint64 size = first.size();
    if (size != second.size() || !first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly))
        return false;
    if (size == 0)
        return true;
    // Mapped, the two are compared where the system caches them, without copies.
    const uchar* left = first.map(0, size);
    const uchar* right = second.map(0, size);
    if (left && right)
        return std::memcmp(left, right, size_t(size)) == 0;
    constexpr qint64 kChunk = 1 << 20;
    while (!first.atEnd()) {
        const QByteArray chunk = first.read(kChunk);
        if (chunk.isEmpty() || chunk != second.read(kChunk))
            return false;
    }
    return second.atEnd();
}

// True when `folder` holds exactly the files `sources` (by name) with the same bytes.
bool holdsExactly(const QString& folder, const QStringList& sources)
{
    QSet<QString> names;
    for (const QFileInfo& file : filesIn(folder))
        names.insert(file.fileName());
    if (names.size() != sources.size())
        return false;
    for (const QString& source : sources) {
        const QString name = QFileInfo(source).fileName();
        if (!names.contains(name) || !sameBytes(source, QDir(folder).filePath(name)))
            return false;
    }
    return true;
}

// A file whose copy in the previous generation holds the same bytes joins the new one as a second
// name of that copy: its data is already on the disk, so it is neither copied nor written again.
// Table files and backups are only ever replaced, never written in place, so the shared copy stays
// as it is. False when the bytes differ or the file system cannot link.
bool linkIfBackedUp(const QString& source, const QString& backedUp, const QString& target)
{
    if (!QFileInfo(backedUp).isFile() || !sameBytes(source, backedUp))
        return false;
    std::error_code error;
    std::filesystem::create_hard_link(fsPath(backedUp), fsPath(target), error);
    return !error;
}

QString cannotBackUp(const QString& path, const QString& reason = QString())
{
    const QString shown = QDir::toNativeSeparators(path);
    return (reason.isEmpty() ? QStringLiteral("%1: バックアップを作れません").arg(shown)
                             : QStringLiteral("%1: バックアップを作れません (%2)").arg(shown, reason))
        + QStringLiteral("\r\n前回のバックアップを残します。");
}

void setModified(const QString& folder, const QDateTime& time)
{
#ifdef Q_OS_UNIX
    const qint64 ms = time.toMSecsSinceEpoch();
    const struct timespec times[2] = {{ms / 1000, (ms % 1000) * 1000000}, {ms / 1000, (ms % 1000) * 1000000}};
    ::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0);
#else
    Q_UNUSED(folder);
    Q_UNUSED(time);
#endif
}

} // namespace

BackupGenerations::BackupGenerations(const QString& dataFolder)
    : m_data(QDir(dataFolder).absolutePath())
    , m_newest(QDir(m_data).filePath(QStringLiteral("CdsBK")))
{
}

QString BackupGenerations::generation(int age) const
{
    return age == 0 ? m_newest : m_newest + QStringLiteral(".%1").arg(age);
}

QStringList BackupGenerations::existing() const
{
    QStringList found;
    for (int age = 0; age < kKept; ++age) {
        if (!filesIn(generation(age)).isEmpty())
            found.append(generation(age));
    }
    return found;
}

QDateTime BackupGenerations::madeAt(const QString& generation)
{
    return QFileInfo(generation).lastModified();
}

bool BackupGenerations::move(const QString& from, const QString& to, QString* error) const
{
    std::error_code code;
    std::filesystem::rename(fsPath(from), fsPath(to), code);
    if (code) {
        if (error)
            *error = cannotBackUp(to, QString::fromLocal8Bit(code.message()));
        return false;
    }
    return syncFolder(m_data, error);
}

void BackupGenerations::recover()
{
    // A backup the previous version of the swap left renamed aside.
    if (!QFileInfo::exists(m_newest) && QFileInfo::exists(m_newest + kLegacyPrevious))
        move(m_newest + kLegacyPrevious, m_newest, nullptr);
    QDir(m_newest + kLegacyPrevious).removeRecursively();
    QDir(m_newest + kBuilding).removeRecursively();
    rotate(nullptr);
    QDir(m_newest + kDropped).removeRecursively();
}

bool BackupGenerations::refresh(const QStringList& files, const QDateTime& now, QString* error)
{
    // Files of the backup other than table files stay unless the data folder has their name.
    QStringList sources;
    QSet<QString> names;
    for (const QString& file : files)
        names.insert(QFileInfo(file).fileName());
    for (const QFileInfo& kept : filesIn(m_newest)) {
        if (!isCdsFile(kept.fileName()) && !names.contains(kept.fileName()))
            sources.append(kept.filePath());
    }
    sources += files;
    if (holdsExactly(m_newest, sources))
        return true;

    const QString building = m_newest + kBuilding;
    QDir(building).removeRecursively();
    if (!QDir().mkpath(building)) {
        *error = cannotBackUp(building);
        return false;
    }
    const auto fail = [&](const QString& why) {
        *error = why;
        QDir(building).removeRecursively();
        return false;
    };
    for (const QString& source : std::as_const(sources)) {
        const QString name = QFileInfo(source).fileName();
        const QString copy = QDir(building).filePath(name);
        if (isCdsFile(name) && linkIfBackedUp(source, QDir(m_newest).filePath(name), copy))
            continue;
        QString why;
        if (!copyDurably(source, copy, &why))
            return fail(cannotBackUp(source, why));
    }
    // The generation's time is the folder's; it is set before the folder's entries are synced.
    setModified(building, now);
    QString why;
    if (!syncFolder(building, &why) || !move(building, m_newest + kComplete, &why))
        return fail(why);
    return rotate(error);
}

// Moves a complete CdsBK.next in as CdsBK: every older generation moves up one place into the
// first free one (the oldest of five goes when there is none), CdsBK becomes CdsBK.1.
bool BackupGenerations::rotate(QString* error)
{
    const QString complete = m_newest + kComplete;
    if (!QFileInfo::exists(complete))
        return true;
    if (QFileInfo::exists(m_newest) && filesIn(m_newest).isEmpty())
        QDir(m_newest).removeRecursively(); // an empty CdsBK is no generation
    int free = 1;
    while (free < kKept && QFileInfo::exists(generation(free)))
        ++free;
    if (free == kKept) {
        free = kKept - 1;
        QDir(m_newest + kDropped).removeRecursively();
        if (!move(generation(free), m_newest + kDropped, error))
            return false;
    }
    for (int age = free - 1; age >= 0; --age) {
        if (QFileInfo::exists(generation(age)) && !move(generation(age), generation(age + 1), error))
            return false;
    }
    if (!move(complete, m_newest, error))
        return false;
    QDir(m_newest + kDropped).removeRecursively();
    return true;
}

} // namespace store
