#include "store/ShippedDataInstall.h"

#include "store/DurableFiles.h"
#include "store/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace store {

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool makeFolder(const QString& path, QString* error)
{
    if (QDir().mkpath(path))
        return true;
    return fail(error, QStringLiteral("%1: フォルダを作成できません。").arg(QDir::toNativeSeparators(path)));
}

bool readAll(const QString& path, QByteArray* bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("%1: 読み込めません (%2)").arg(QDir::toNativeSeparators(path), file.errorString()));
    *bytes = file.readAll();
    return true;
}

// Writes through a temporary file, so the target is either the old file or the new one; the copy
// belongs to the user and is writable, whatever the permissions of the installed file.
bool writeAll(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, QStringLiteral("%1: 書き込めません (%2)").arg(QDir::toNativeSeparators(path), file.errorString()));
    return true;
}

// Copies `source` to `target` unless `target` already holds the same bytes.
bool copyIfDifferent(const QString& source, const QString& target, QString* error)
{
    QByteArray shipped;
    if (!readAll(source, &shipped, error))
        return false;
    if (QFileInfo::exists(target)) {
        QByteArray present;
        if (readAll(target, &present, error) && present == shipped)
            return true;
    }
    return writeAll(target, shipped, error);
}

bool installTableFile(const QString& source, const QString& dataFolder, const QString& name, QString* error)
{
    const bool registrationTable = name.contains(QStringLiteral("_TBL_"), Qt::CaseInsensitive);
    const QString existing = ProgramFolder::resolveIn(dataFolder, name);
    if (!QFileInfo::exists(existing)) {
        // A registration table the automatic backup holds was lost: the start offers the backup,
        // which an empty table would silently replace at its next refresh.
        if (registrationTable && QFileInfo::exists(ProgramFolder(dataFolder).path(QStringLiteral("CdsBK\\") + name)))
            return true;
        return copyIfDifferent(source, existing, error);
    }
    if (registrationTable)
        return true; // the user's rows
    QByteArray shipped;
    QByteArray present;
    if (!readAll(source, &shipped, error) || !readAll(existing, &present, error))
        return false;
    if (present == shipped)
        return true;
    return writeAll(QDir(dataFolder).filePath(QLatin1Char('_') + QFileInfo(existing).fileName()), shipped, error);
}

} // namespace

bool installShippedData(const QString& shippedFolder, const QString& programFolder, QString* error)
{
    if (!QFileInfo(shippedFolder).isDir())
        return fail(error, QStringLiteral("%1: フォルダがありません。").arg(QDir::toNativeSeparators(shippedFolder)));
    const ProgramFolder target(programFolder);
    for (const char* folder : {"FLATT_FILES", "Zero", "Temp", "Images"}) {
        if (!makeFolder(target.path(QString::fromLatin1(folder)), error))
            return false;
    }
    const QDir shipped(shippedFolder);
    QStringList written = {target.root(), target.dataFolder()};
    QDirIterator it(shippedFolder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = shipped.relativeFilePath(source);
        const QString folder = QFileInfo(relative).path();
        bool done;
        if (folder.compare(QStringLiteral("FLATT_FILES"), Qt::CaseInsensitive) == 0) {
            done = installTableFile(source, target.dataFolder(), QFileInfo(relative).fileName(), error);
        } else {
            const QString path = target.path(relative);
            if (!written.contains(QFileInfo(path).path()))
                written.append(QFileInfo(path).path());
            done = makeFolder(QFileInfo(path).path(), error) && copyIfDifferent(source, path, error);
        }
        if (!done)
            return false;
    }
    // The installed files' names reach the disk with their data (each written through QSaveFile).
    for (const QString& folder : std::as_const(written)) {
        if (!syncFolder(folder, error))
            return false;
    }
    return true;
}

} // namespace store
