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
// every earlier one stale, so that a pass not yet begun is never drawn. A request from input
// also stops a stale request's drawing between two of the raster's blocks: a large figure is
// drawn twice, a preview first and the exact picture after it, and while input keeps coming
// faster than exact pictures, only previews finish; once it pauses, the exact picture of the
// newest follows. A preview is short and never stopped but by the end, so that a screen shows
// something however fast requests come. A steady request (a drifting phase's next step) stops
// nothing: were its steps faster than a pass, each would stop the one before and nothing new
// would ever show; so the pass under way finishes and the newest is drawn after it. Nothing
// here knows how a picture is shown; what shows it takes each finished pass through
// ShownPicture. Not in the browser edition, which has one thread: its page numbers the
// requests to a worker.
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
    // Whether a request stops the pass under way (input, or a picture drawn by other means)
    // or lets it finish first (the steps of a drifting phase).
    enum class Urgency { Input, Steady };

    DrawingThread();
    // Ends the drawing under way between two blocks and waits for the thread.
    ~DrawingThread();
    DrawingThread(const DrawingThread&) = delete;
    DrawingThread& operator=(const DrawingThread&) = delete;

    // A new request, which makes every earlier one stale; with a preview, the job's preview
    // pass is drawn before its exact one. An empty job only makes the earlier ones stale
    // (a picture drawn meanwhile by other means).
    std::uint64_t request(Job job, bool preview, Urgency urgency = Urgency::Input);
    // Whether a newer request was made since request number `number`.
    bool stale(std::uint64_t number) const;
    // Whether request number `number`'s pass under way is to end now.
    bool stopped(std::uint64_t number) const;
    // Waits until every request made so far is drawn or dropped.
    void waitIdle();

private:
    void loop();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Written under the lock, read without it between blocks.
    std::atomic<std::uint64_t> m_newest = 0;
    // The newest request from input: every pass of an earlier one ends.
    std::atomic<std::uint64_t> m_newestInput = 0;
    std::atomic<bool> m_quit = false;
    // The request not yet taken up, if any.
    Job m_pending;
    bool m_pendingPreview = false;
    bool m_busy = false;
    // Last: it starts running once everything it uses exists.
    std::thread m_thread;
};

} // namespace korvelian
