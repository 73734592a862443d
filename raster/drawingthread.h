#pragma once

#include "shownpicture.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace korvelian {

// Draws pictures on a thread of its own, the newest request first and only: the thread that
// asks records what to draw and returns at once. Each request is numbered; a newer one makes
// every earlier one stale, and a stale request's drawing ends between two of the raster's
// blocks. A large figure is drawn twice, a preview first and the exact picture after it:
// while requests keep coming faster than exact pictures, only previews finish; once they
// pause, the exact picture of the newest follows. A preview is short and never stopped but
// by the end, so that a screen shows something however fast requests come. Nothing here
// knows how a picture is shown; what shows it takes each finished pass through ShownPicture.
// Not in the browser edition, which has one thread: its page numbers the requests to a worker.
class DrawingThread
{
public:
    using Pass = DrawPass;
    // How much lower than the thread that asks the drawing thread runs, as a nice value.
    static constexpr int kNiceness = 5;
    // Whether the pass should end now, polled between blocks, from every core that draws.
    using Stop = std::function<bool()>;
    // Draws one pass of request `number` and hands its result on; false when stop ended it
    // early.
    using Job = std::function<bool(std::uint64_t number, Pass pass, const Stop& stop)>;

    DrawingThread();
    // Ends the drawing under way between two blocks and waits for the thread.
    ~DrawingThread();
    DrawingThread(const DrawingThread&) = delete;
    DrawingThread& operator=(const DrawingThread&) = delete;

    // A new request, which makes every earlier one stale; with a preview, the job's preview
    // pass is drawn before its exact one. An empty job only makes the earlier ones stale
    // (a picture drawn meanwhile by other means).
    std::uint64_t request(Job job, bool preview);
    // Whether a newer request was made since request number `number`.
    bool stale(std::uint64_t number) const;
    // Waits until every request made so far is drawn or dropped.
    void waitIdle();

private:
    void loop();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Written under the lock, read without it between blocks.
    std::atomic<std::uint64_t> m_newest = 0;
    std::atomic<bool> m_quit = false;
    // The request not yet taken up, if any.
    Job m_pending;
    bool m_pendingPreview = false;
    bool m_busy = false;
    // Last: it starts running once everything it uses exists.
    std::thread m_thread;
};

} // namespace korvelian
