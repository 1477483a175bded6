#pragma once

#include "store/Draft.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace store {

// Writes and removes draft files on a thread of its own, in the order asked, so that the thread
// the user types on never waits for the disk. A write still waiting when a newer one for the same
// file (or its removal) is asked for is dropped: only the latest state matters.
class DraftWriter
{
public:
    DraftWriter();
    ~DraftWriter(); // finishes what was asked, then ends the thread

    // Serialises and writes `draft` to `path` (atomically, see drafts::write).
    void write(const QString& path, Draft draft);
    void remove(const QString& path);
    // Waits until everything asked so far is done.
    void wait();
    // The message of the last write that failed since the last call, if any.
    QString takeError();

private:
    struct Job
    {
        QString path;
        std::optional<Draft> draft; // none: remove
    };
    void enqueue(Job job);
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    QString m_error;
    std::thread m_thread;
};

} // namespace store
