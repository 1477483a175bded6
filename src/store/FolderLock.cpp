#include "store/FolderLock.h"

#include "store/WritableFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QThread>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

const QString kLockName = QStringLiteral("vordell.lock");
// The helper file QLockFile takes while it removes a stale lock.
const QString kHelperSuffix = QStringLiteral(".rmlock");
// A run holds its new lock file with the system's lock a moment after creating it: an empty
// file younger than this may belong to a run in that moment.
constexpr qint64 kCreationMomentMs = 100;

// A file descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// True when a live run holds the file with the system's lock.
bool heldBySomeone(const QString& path)
{
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        return false;
    return ::flock(file.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

// Removes the file at `path` unless a live run holds it; false when it stays.
bool removeUnheld(const QString& path, int* reason)
{
    const QByteArray name = QFile::encodeName(path);
    const Descriptor file(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        return errno == ENOENT;
    if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        *reason = errno;
        return false;
    }
    // Still the file that was opened: another run may have replaced it meanwhile.
    struct stat opened, current;
    if (::fstat(file.get(), &opened) != 0 || ::stat(name.constData(), &current) != 0 || opened.st_ino != current.st_ino
        || opened.st_dev != current.st_dev)
        return true;
    if (::unlink(name.constData()) != 0 && errno != ENOENT) {
        *reason = errno;
        return false;
    }
    return true;
}

} // namespace

FolderLock::FolderLock(const QString& folder)
    : m_folder(folder)
    , m_path(QDir(folder).filePath(kLockName))
{
}

FolderLock::Outcome FolderLock::acquire()
{
    m_problem.clear();
    // A few rounds: another run starting at the same moment may take the lock in between.
    for (int round = 0; round < 3; ++round) {
        auto lock = std::make_unique<QLockFile>(m_path);
        // A lock is never stale by its age, however long a run lasts: only a run that ended leaves one.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            return Outcome::Held;
        }
        if (lock->error() != QLockFile::LockFailedError) {
            m_problem = folderWriteProblem(m_folder);
            if (m_problem.isEmpty())
                m_problem = folderCannotBeWritten(m_folder, EIO);
            return Outcome::CannotWrite;
        }
        if (heldByLiveRun())
            return Outcome::InUse;
        if (!removeAbandonedLock())
            return Outcome::CannotWrite;
    }
    return Outcome::InUse;
}

bool FolderLock::heldByLiveRun() const
{
    if (heldBySomeone(m_path))
        return true;
    QLockFile reader(m_path);
    qint64 pid = 0;
    QString host;
    QString application;
    if (reader.getLockInfo(&pid, &host, &application)) {
        // A run on another machine sharing the folder: its system lock cannot be seen from here.
        return !host.isEmpty() && host != QSysInfo::machineHostName();
    }
    // A lock that names nobody: its run either died before writing who it is, or is just
    // about to take the system's lock.
    const qint64 age = QFileInfo(m_path).lastModified().msecsTo(QDateTime::currentDateTime());
    if (age >= 0 && age < kCreationMomentMs) {
        QThread::msleep(static_cast<unsigned long>(kCreationMomentMs - age));
        return heldBySomeone(m_path) || QFileInfo(m_path).size() > 0;
    }
    return false;
}

bool FolderLock::removeAbandonedLock()
{
    int reason = 0;
    const QString helper = m_path + kHelperSuffix;
    if (!heldBySomeone(helper))
        removeUnheld(helper, &reason);
    if (removeUnheld(m_path, &reason))
        return true;
    m_problem = folderCannotBeWritten(m_folder, reason ? reason : EIO);
    return false;
}

} // namespace store
