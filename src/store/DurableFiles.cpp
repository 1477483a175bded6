#include "store/DurableFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace store {

namespace {

QString failed(const QString& path, const QString& reason)
{
    return QStringLiteral("%1: 書き込みに失敗しました (%2)").arg(QDir::toNativeSeparators(path), reason);
}

#ifdef Q_OS_UNIX
bool syncPath(const QString& path, int flags, QString* error)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    bool ok = descriptor >= 0 && ::fsync(descriptor) == 0;
    const int code = errno;
    if (descriptor >= 0)
        ::close(descriptor);
    if (!ok && error)
        *error = failed(path, qt_error_string(code));
    return ok;
}
#endif

} // namespace

bool flushToDisk(QFileDevice* file)
{
    QString ignored;
    return flushToDisk(file, &ignored);
}

bool flushToDisk(QFileDevice* file, QString* why)
{
    if (!file->flush()) {
        *why = file->errorString();
        return false;
    }
#ifdef Q_OS_UNIX
    if (::fsync(file->handle()) != 0) {
        *why = qt_error_string(errno);
        return false;
    }
#endif
    return true;
}

bool syncFile(const QString& path, QString* error)
{
#ifdef Q_OS_UNIX
    return syncPath(path, O_RDONLY, error);
#else
    Q_UNUSED(path);
    Q_UNUSED(error);
    return true;
#endif
}

bool syncFolder(const QString& folder, QString* error)
{
#ifdef Q_OS_UNIX
    return syncPath(folder, O_RDONLY | O_DIRECTORY, error);
#else
    Q_UNUSED(folder);
    Q_UNUSED(error);
    return true;
#endif
}

bool makeFolderDurably(const QString& folder, QString* error)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    const QString parent = info.absolutePath();
    if (parent == info.absoluteFilePath() || !makeFolderDurably(parent, error))
        return false;
    if (!QDir().mkdir(info.absoluteFilePath()) && !QFileInfo(info.absoluteFilePath()).isDir()) {
        if (error)
            *error = failed(folder, qt_error_string(errno));
        return false;
    }
    return syncFolder(parent, error);
}

bool replaceDurably(const QString& from, const QString& to, QString* error)
{
    if (!syncFile(from, error))
        return false;
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), code);
    if (code) {
        if (error)
            *error = failed(to, QString::fromLocal8Bit(code.message()));
        return false;
    }
    const QString toFolder = QFileInfo(to).absolutePath();
    const QString fromFolder = QFileInfo(from).absolutePath();
    return syncFolder(toFolder, error) && (fromFolder == toFolder || syncFolder(fromFolder, error));
}

bool copyDurably(const QString& from, const QString& to, QString* error)
{
    QFile source(from);
    if (!source.copy(to)) {
        if (error)
            *error = failed(to, source.errorString());
        return false;
    }
    return syncFile(to, error);
}

} // namespace store
