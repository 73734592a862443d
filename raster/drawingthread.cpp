#include "drawingthread.h"

#include <utility>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace korvelian {

DrawingThread::DrawingThread() : m_thread([this] { loop(); }) {}

DrawingThread::~DrawingThread()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_pending = nullptr;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::uint64_t DrawingThread::request(Job job, bool preview, Urgency urgency)
{
    std::uint64_t number = 0;
    {
        std::lock_guard lock(m_mutex);
        number = m_newest.load(std::memory_order_relaxed) + 1;
        m_newest.store(number, std::memory_order_relaxed);
        if (urgency == Urgency::Input)
            m_newestInput.store(number, std::memory_order_relaxed);
        m_pending = std::move(job);
        m_pendingPreview = preview;
    }
    m_changed.notify_all();
    return number;
}

bool DrawingThread::stale(std::uint64_t number) const
{
    return number != m_newest.load(std::memory_order_relaxed) ||
           m_quit.load(std::memory_order_relaxed);
}

bool DrawingThread::stopped(std::uint64_t number) const
{
    return number < m_newestInput.load(std::memory_order_relaxed) ||
           m_quit.load(std::memory_order_relaxed);
}

void DrawingThread::waitIdle()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_busy && !m_pending; });
}

void DrawingThread::loop()
{
#if defined(__linux__)
    // Below the event thread, and so are the raster's helper threads, which are started from
    // here and inherit it: input on a busy machine waits for no drawing.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), kNiceness);
#endif
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_pending || m_quit; });
        if (m_quit)
            return;
        const Job job = std::move(m_pending);
        m_pending = nullptr;
        const bool preview = m_pendingPreview;
        const std::uint64_t number = m_newest.load(std::memory_order_relaxed);
        m_busy = true;
        lock.unlock();
        // A preview is stopped only by the end: a newer request still shows this one's
        // preview until its own is drawn.
        if (preview)
            job(number, Pass::Preview, [this] { return m_quit.load(std::memory_order_relaxed); });
        if (!stale(number))
            job(number, Pass::Exact, [this, number] { return stopped(number); });
        lock.lock();
        m_busy = false;
        m_changed.notify_all();
    }
}

} // namespace korvelian
