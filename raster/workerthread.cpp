#include "workerthread.h"

#include <chrono>
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
        m_idle.store(false, std::memory_order_relaxed);
        m_begun = false;
    }
    m_changed.notify_all();
}

void WorkerThread::wait()
{
    wait(std::chrono::steady_clock::now() + kWatch);
}

void WorkerThread::wait(std::chrono::steady_clock::time_point watchUntil)
{
    for (int i = 1; !m_idle.load(std::memory_order_acquire); ++i) {
        if (i % 64 == 0 && std::chrono::steady_clock::now() > watchUntil) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_busy; });
            return;
        }
    }
}

bool WorkerThread::withdraw()
{
    std::lock_guard lock(m_mutex);
    if (!m_busy || m_begun)
        return false;
    m_busy = false;
    m_idle.store(true, std::memory_order_release);
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
        m_idle.store(true, std::memory_order_release);
        m_changed.notify_all();
    }
}

} // namespace korvelian
