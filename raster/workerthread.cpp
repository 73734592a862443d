#include "workerthread.h"

#include <utility>

namespace korvelian {

WorkerThread::WorkerThread() : m_thread([this] { loop(); }) {}

WorkerThread::~WorkerThread()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void WorkerThread::start(std::function<void()> job)
{
    {
        std::lock_guard lock(m_mutex);
        m_job = std::move(job);
        m_busy = true;
        m_begun = false;
    }
    m_changed.notify_all();
}

void WorkerThread::wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy; });
}

bool WorkerThread::withdraw()
{
    std::lock_guard lock(m_mutex);
    if (!m_busy || m_begun)
        return false;
    m_busy = false;
    return true;
}

void WorkerThread::loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_busy || m_quit; });
        if (m_quit)
            return;
        m_begun = true;
        lock.unlock();
        m_job();
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace korvelian
