#pragma once

#include <chrono>
#include <functional>

#if defined(KORVELIAN_SINGLE_THREAD)

namespace korvelian {

// Where one thread runs everything (the browser edition) a job runs when it is started, so
// that its owner takes one lane only and never waits.
class WorkerThread
{
public:
    static constexpr std::chrono::microseconds kWatch{0};

    void start(const std::function<void()>& job) { job(); }
    void wait() {}
    void wait(std::chrono::steady_clock::time_point) {}
    bool withdraw() { return false; }
};

} // namespace korvelian

#else

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace korvelian {

// A thread kept for the life of its owner that runs one job at a time: handing it work costs
// a wake-up, not a thread start.
class WorkerThread
{
public:
    // A job's caller that finishes its own share first watches for the job's end this long
    // before it sleeps: woken from sleep, it would lose tens of microseconds on a virtual
    // machine, more than a small figure's whole share.
    static constexpr std::chrono::microseconds kWatch{500};

    WorkerThread();
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts job on the thread; the previous job must have been waited for.
    void start(std::function<void()> job);
    // Returns once the job started last has finished, watching for its end a while before
    // it sleeps.
    void wait();
    // The same, watching until watchUntil at most: a caller that waits for several threads
    // in turn watches for all of them in one while.
    void wait(std::chrono::steady_clock::time_point watchUntil);
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

#endif
