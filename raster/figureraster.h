#pragma once

#include "model/deflection.h"
#include "crestreach.h"
#include "drawlimits.h"
#include "litrows.h"
#include "runbitmaps.h"
#include "pixelmapping.h"
#include "shortcut.h"
#include "workerthread.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvelian {

struct DrawnFigure;

// Draws a whole figure from its parameters, with exactly the pixels that figurePoints and
// SegmentRaster give for it, but computing and drawing only what can still add a pixel.
// A segment lights only pixels in the box of its end points, so segments go in blocks, and
// a block whose box is lit all over is skipped without its points being computed; within a
// drawn block, groups of segments whose box is lit are skipped too. The blocks are taken
// spread over the figure's length first, so that the area the figure covers fills early,
// and every core that the machine offers (up to kMostLanes) takes them, those after the
// first on threads kept between drawings.
class FigureRaster
{
public:
    // Segments per block: fine enough to stop soon after the figure's area is lit, coarse
    // enough for the sines to run as vector code.
    static constexpr std::size_t kBlock = 512;
    // The most cores one figure takes. Each core publishes its new pixels to all the others,
    // and a machine's further threads are mostly the second threads of the same cores.
    static constexpr std::size_t kMostLanes = 4;
    // The cores this machine offers a figure: its threads, at most kMostLanes.
    static std::size_t machineLanes();

    // A figure takes at most mostLanes cores (and never more than kMostLanes).
    explicit FigureRaster(std::size_t mostLanes = machineLanes());

    // A preview of a figure of this many points: its first blocks in the spread order, enough
    // to show its shape, a share that a large figure draws in a fraction of its time. 0 for a
    // figure drawn whole about as fast.
    static std::size_t previewBlocks(std::size_t points);

    // pixels: 32-bit pixels, stride in pixels between rows, holding what lies under the
    // figure; the figure's pixels are set to colour. The points are those of figureRun(p,
    // end), segment i running from point i to point i - 1. False when limits.stop ended the
    // drawing early: the pixels are then incomplete.
    bool draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
              const Parameter& p, double end, const PixelMapping& transform, std::uint32_t colour,
              const DrawLimits& limits = {});
    // The same pixels as bits, valid until the next drawing; stopped() tells whether
    // limits.stop ended it early.
    const LitRows& rasterise(int width, int height, const Parameter& p, double end,
                             const PixelMapping& transform, const DrawLimits& limits = {});
    // The same for the first count points of p at other steps of t (a fine curve's).
    bool draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
              const Parameter& p, LoopSteps steps, std::size_t count, const PixelMapping& transform,
              std::uint32_t colour, const DrawLimits& limits = {});
    const LitRows& rasterise(int width, int height, const Parameter& p, LoopSteps steps,
                             std::size_t count, const PixelMapping& transform,
                             const DrawLimits& limits = {});
    // The same for a mask whose pixels are then grown to squares extra pixels wider, as
    // WideFigureRaster grows a line: after a first share of the blocks, segments whose grown
    // pixels that share's grown pixels cover already are skipped too. The rows alone are the
    // mask's, and they may lack such pixels, the grown picture being the same.
    const LitRows& rasteriseGrown(int width, int height, const Parameter& p, LoopSteps steps,
                                  std::size_t count, const PixelMapping& transform, int extra,
                                  const DrawLimits& limits = {});
    bool stopped() const { return m_stopped.load(std::memory_order_relaxed); }
    // How many cores drew the last figure.
    std::size_t lanes() const { return m_laneCount; }

    // One core's part of a figure, for rasters that share no memory (the browser's workers,
    // each with a copy of the core): lane `lane` of `lanes` cores. A figure of many blocks gives
    // each lane every lanes-th block of the spread order, as the desktop's cores take them in
    // turn; one of few blocks gives each its columns, as drawn straight; a lane beyond those the
    // figure takes draws nothing. What each lane lit in its columns, added together
    // (LitRows::addRows), is the whole figure's lit pixels.
    struct Share
    {
        std::size_t lane = 0;
        std::size_t lanes = 1;
    };
    // The share's lit bits, valid until the next drawing; only columns firstColumn ..
    // lastColumn of them are the share's (none where lastColumn < firstColumn).
    struct SharedBits
    {
        const LitRows& lit;
        int firstColumn;
        int lastColumn;
    };
    SharedBits rasteriseShare(int width, int height, const Parameter& p, LoopSteps steps,
                              std::size_t count, const PixelMapping& transform, Share share);
    // Whether a figure of this many points has the blocks that shares pay for: one drawn
    // straight gives each lane every point to compute, and is drawn on one core about as fast
    // as its shares are handed between copies.
    static bool sharesPay(std::size_t count);

private:
    // What one core draws into.
    struct Lane
    {
        RunBitmaps bitmaps;
        int blocksPending = 0;
        std::size_t segmentsDrawn = 0;
        // A group's box looked up in the shared lit pixels, which saves the look-up of all its
        // segments when it pays, and each of its segments, which saves drawing one.
        Shortcut groupBox{32};
        Shortcut segments{4};
        // A core without the zones near the crests looked up, which saves drawing a block
        // whole: a mesh like 179 : 183 never has one lit.
        Shortcut zones{16};
        // The largest box found lit all over: boxes inside it need no look at the bits.
        PixelBox litBox;
        // For a figure of few blocks, the lit bits that the lane draws straight into and looks
        // segments up in, publishing nothing: the shared ones for the first lane, own for the
        // second. Null where the lane draws into bitmaps and publishes. Each such lane draws
        // only in its columns, firstColumn .. lastColumn; every other pixel of its bits is lit
        // from the start, so that its look-ups see every segment it must draw.
        LitRows* drawsInto = nullptr;
        LitRows own;
        // Whether bitmaps hold what the lane drew of this figure.
        bool drew = false;
        int firstColumn = 0;
        int lastColumn = 0;
    };

    // Resets the first lanes for a figure; drawing straight, each takes its columns of the
    // area, the second from split on.
    void prepareLanes(std::size_t lanes, bool straight, int split, int width);
    // The figure drawn by all its lanes, or by the share's lane alone: that lane's bits.
    const LitRows& rasteriseLanes(int width, int height, const Parameter& p, LoopSteps steps,
                                  std::size_t count, const PixelMapping& transform,
                                  const DrawLimits& limits, const Share* share);
    // The share's lane alone, the lanes prepared.
    const LitRows& drawShare(const DrawnFigure& figure, std::size_t lanes, bool straight,
                             std::size_t lane);
    // Draws the figure on this core and lanes - 1 more, and waits for them.
    void drawOnCores(const DrawnFigure& figure, std::size_t lanes);
    void drawLanes(const DrawnFigure& figure);
    void drawBlocks(Lane& lane, const DrawnFigure& figure);
    // Whether the limits end the drawing before the next block; every core sees it at once.
    bool stopping();
    void drawBlock(Lane& lane, const DrawnFigure& figure, std::size_t block);
    // The axes (DrawnFigure::Axes) whose zones, left out of a block's box without its extreme
    // lines, leave a core lit all over; 0 for none.
    int zonesLeftOut(Lane& lane, const DrawnFigure& figure, const PixelBox& trimmed) const;
    // The segments at the points of first .. first + n - 1 marked in near.
    void drawAround(Lane& lane, const DrawnFigure& figure, std::size_t first, std::size_t n,
                    const PointBits& near);
    // The segments between the points first .. first + n - 1, n <= kBlock + 1.
    void drawPoints(Lane& lane, const DrawnFigure& figure, std::size_t first, std::size_t n);
    // Whether the box of the points start .. end is lit all over, where the test still pays.
    bool groupLit(Lane& lane, const DrawnFigure& figure, const double* xs, const double* ys,
                  std::size_t start, std::size_t end) const;
    // The segments between the points start .. end that light a pixel not yet lit.
    void drawGroup(Lane& lane, const double* xs, const double* ys, std::size_t start,
                   std::size_t end) const;
    bool lit(Lane& lane, const PixelBox& box) const;
    const LitRows& seen(const Lane& lane) const { return lane.drawsInto ? *lane.drawsInto : m_lit; }
    void publish(Lane& lane);

    std::size_t m_mostLanes;
    std::array<Lane, kMostLanes> m_lanes;
    LitRows m_lit;
    // Block numbers in the order they are taken, and the next one to take.
    std::vector<std::uint32_t> m_order;
    std::atomic<std::size_t> m_next = 0;
    // How far apart the blocks of m_order lie that one lane takes up after the other: 1 where
    // the cores take them in turn, the lanes for a share drawn alone.
    std::size_t m_stride = 1;
    // The columns of the last share drawn.
    int m_shareFirst = 0;
    int m_shareLast = -1;
    // The blocks of m_order this figure draws, and what ends it early.
    std::size_t m_taken = 0;
    const DrawLimits* m_limits = nullptr;
    std::atomic<bool> m_stopped = false;
    // The last figure drawn, and whether it was cut short by its blocks only, so that the
    // next drawing may go on from there.
    struct Drawn
    {
        Parameter p;
        double step = 0;
        std::size_t count = 0;
        PixelMapping transform;
        int width = 0;
        int height = 0;
        bool operator==(const Drawn& other) const;
    };
    Drawn m_drawn;
    bool m_resumable = false;
    // Where draw() has the lanes of a figure drawn straight set their pixels, each lane in its
    // own columns, and whether they did.
    struct Target
    {
        std::uint32_t* pixels = nullptr;
        std::ptrdiff_t stride = 0;
        std::uint32_t colour = 0;
    };
    Target m_target;
    bool m_painted = false;
    // The lanes of this figure, and the next one that a core takes up.
    std::size_t m_laneCount = 0;
    std::atomic<std::size_t> m_nextLane = 0;
    // The threads of the cores after the first, each started by the first figure worth it.
    std::array<std::unique_ptr<WorkerThread>, kMostLanes - 1> m_workers;
    // Kept between drawings, so that their tables keep their room.
    CrestPlaces m_xPlaces;
    CrestPlaces m_yPlaces;
    // A grown figure's first share's own pixels, while the lit bits hold what its grown
    // pixels cover.
    std::vector<std::uint64_t> m_firstShare;
    // While the rest of a grown figure is drawn: the lanes draw only the runs of a segment
    // with a pixel not lit in m_lit.
    bool m_unlitRunsOnly = false;
};

} // namespace korvelian
