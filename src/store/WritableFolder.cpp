#include "store/WritableFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace store {

QString folderWriteProblem(const QString& folder)
{
    const QByteArray probe = QFile::encodeName(
        QDir(folder).filePath(QStringLiteral(".vordell-write-check-%1").arg(QCoreApplication::applicationPid())));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return folderCannotBeWritten(folder, errno);
    // As much as a lock file and a little more: a disk without a free block refuses it.
    const char block[4096] = {};
    const ssize_t written = ::write(fd, block, sizeof block);
    int reason = written == ssize_t(sizeof block) ? 0 : written < 0 ? errno : ENOSPC;
    if (reason == 0 && ::fsync(fd) != 0)
        reason = errno;
    ::close(fd);
    ::unlink(probe.constData());
    return reason ? folderCannotBeWritten(folder, reason) : QString();
}

QString folderCannotBeWritten(const QString& folder, int errnum)
{
    const QString shown = QDir::toNativeSeparators(QDir(folder).absolutePath());
    if (errnum == ENOSPC || errnum == EDQUOT)
        return QStringLiteral("ディスクの空きが足りないため、フォルダ %1 に書き込めません。\r\n"
                              "空きを作ってから、もう一度お試しください。")
            .arg(shown);
    return QStringLiteral("フォルダ %1 に書き込めません (%2)。\r\n書き込めるようにしてから、もう一度お試しください。")
        .arg(shown, qt_error_string(errnum));
}

} // namespace store
