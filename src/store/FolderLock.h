#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace store {

// The lock that keeps a program folder to one run ("vordell.lock", a QLockFile). A live run holds
// the file with an advisory lock of the system for as long as it runs; a lock file that no live
// run holds was left by a run that ended without releasing it, and is taken over at once, with
// the helper file ("vordell.lock.rmlock") a run killed while taking over a lock leaves beside it.
class FolderLock
{
public:
    enum class Outcome { Held, InUse, CannotWrite };

    explicit FolderLock(const QString& folder);

    // Takes the lock. CannotWrite when the folder does not take the lock file (a full disk, a
    // read-only or foreign folder): `problem` then says what is wrong, naming the folder.
    Outcome acquire();
    QString problem() const { return m_problem; }
    // The lock taken by acquire(), released when it is destroyed.
    std::unique_ptr<QLockFile> take() { return std::move(m_lock); }

private:
    bool heldByLiveRun() const;
    bool removeAbandonedLock();

    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    QString m_problem;
};

} // namespace store
