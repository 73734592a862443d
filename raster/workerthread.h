#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace korvelian {

// A thread kept for the life of its owner that runs one job at a time: handing it work costs
// a wake-up, not a thread start.
class WorkerThread
{
public:
    WorkerThread();
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts job on the thread; the previous job must have been waited for.
    void start(std::function<void()> job);
    // Returns once the job started last has finished, watching for its end a while before
    // it sleeps.
    void wait();
    // Drops the job started last if the thread has not begun it: true when dropped.
    bool withdraw();

private:
    void loop();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::function<void()> m_job;
    bool m_busy = false;
    bool m_begun = false;
    // !m_busy, for watching without the lock.
    std::atomic<bool> m_idle = true;
    bool m_quit = false;
    // Last: it starts running once everything it uses exists.
    std::thread m_thread;
};

} // namespace korvelian
