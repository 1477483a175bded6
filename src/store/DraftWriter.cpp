#include "store/DraftWriter.h"

#include <algorithm>

namespace store {

DraftWriter::DraftWriter()
    : m_thread([this] { run(); })
{
}

DraftWriter::~DraftWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void DraftWriter::write(const QString& path, Draft draft)
{
    enqueue({path, std::move(draft)});
}

void DraftWriter::remove(const QString& path)
{
    enqueue({path, std::nullopt});
}

void DraftWriter::enqueue(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_jobs, [&](const Job& waiting) { return waiting.path == job.path; });
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void DraftWriter::wait()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

QString DraftWriter::takeError()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_error, QString());
}

void DraftWriter::run()
{
    std::unique_lock lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty()) {
            if (m_stopping)
                return;
            continue;
        }
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        QString error;
        const bool done = job.draft ? drafts::write(job.path, drafts::serialise(*job.draft), &error) : drafts::remove(job.path);
        lock.lock();
        if (!done)
            m_error = error.isEmpty() ? job.path : error;
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

} // namespace store
