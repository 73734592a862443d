#pragma once

#include "model/deflection.h"
#include "crestreach.h"
#include "litrows.h"
#include "runbitmaps.h"
#include "pixelmapping.h"
#include "workerthread.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace korvelian {

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

    // pixels: 32-bit pixels, stride in pixels between rows, holding what lies under the
    // figure; the figure's pixels are set to colour. The points are those of figureRun(p,
    // end), segment i running from point i to point i - 1.
    void draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
              const Parameter& p, double end, const PixelMapping& transform, std::uint32_t colour);
    // The same pixels as bits, valid until the next drawing.
    const LitRows& rasterise(int width, int height, const Parameter& p, double end,
                             const PixelMapping& transform);
    // How many cores drew the last figure.
    std::size_t lanes() const { return m_laneCount; }

private:
    struct Figure;

    // A test that saves drawing where it finds everything lit and costs on top of it where it
    // does not: it is judged every kWindow tries and, where fewer than one in payingShare
    // paid, left out for the next kPause groups, twice as many after each window in a row
    // that did not pay, up to kLongestPause (a mesh like 179 : 183 never pays for box tests).
    class Shortcut
    {
    public:
        static constexpr std::size_t kWindow = 64;
        static constexpr int kPause = 16;
        static constexpr int kLongestPause = 1024;

        explicit Shortcut(std::size_t payingShare) : m_payingShare(payingShare) {}
        void reset() { *this = Shortcut(m_payingShare); }
        bool worthTrying() const { return m_pause == 0; }
        void leftOut() { --m_pause; }
        void tried(std::size_t tries, std::size_t paid);

    private:
        std::size_t m_payingShare;
        std::size_t m_tries = 0;
        std::size_t m_paid = 0;
        int m_pause = 0;
        int m_nextPause = kPause;
    };

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
        // The largest box found lit all over: boxes inside it need no look at the bits.
        PixelBox litBox;
        // For a figure of few blocks, the lit bits that the lane draws straight into and looks
        // segments up in, publishing nothing: the shared ones for the first lane, own for the
        // second. Null where the lane draws into bitmaps and publishes. Each such lane draws
        // only in its columns, firstColumn .. lastColumn; every other pixel of its bits is lit
        // from the start, so that its look-ups see every segment it must draw.
        LitRows* drawsInto = nullptr;
        LitRows own;
        int firstColumn = 0;
        int lastColumn = 0;
    };

    void drawLanes(const Figure& figure);
    void drawBlocks(Lane& lane, const Figure& figure);
    void drawBlock(Lane& lane, const Figure& figure, std::size_t block);
    // The segments at the points of first .. first + n - 1 marked in near.
    void drawAround(Lane& lane, const Figure& figure, std::size_t first, std::size_t n,
                    const PointBits& near);
    // The segments between the points first .. first + n - 1, n <= kBlock + 1.
    void drawPoints(Lane& lane, const Figure& figure, std::size_t first, std::size_t n);
    bool lit(Lane& lane, const PixelBox& box) const;
    const LitRows& seen(const Lane& lane) const { return lane.drawsInto ? *lane.drawsInto : m_lit; }
    void publish(Lane& lane);

    std::size_t m_mostLanes;
    std::array<Lane, kMostLanes> m_lanes;
    LitRows m_lit;
    // Block numbers in the order they are taken, and the next one to take.
    std::vector<std::uint32_t> m_order;
    std::atomic<std::size_t> m_next = 0;
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
};

// The box of every pixel that the segments between points first and last of figurePoints(p,
// ...) can light in an area of width x height pixels, found from the sines' bounds alone.
PixelBox segmentsBox(const Parameter& p, const PixelMapping& transform, int width, int height,
                     std::size_t first, std::size_t last);

} // namespace korvelian
