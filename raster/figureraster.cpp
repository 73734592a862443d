#include "figureraster.h"

#include "drawnfigure.h"
#include "figurebounds.h"
#include "model/constants.h"
#include "model/figurepoints.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <numbers>

namespace korvelian {

namespace {

constexpr std::size_t kBlock = FigureRaster::kBlock;
// Segments per group within a drawn block.
constexpr std::size_t kGroup = 16;
// The first round takes every kSpread-th block, each later round the blocks half-way between.
constexpr std::size_t kSpread = 256;
// A core adds the squares of 64 x 64 pixels where it lit new pixels to the shared lit pixels
// after this many blocks, once it has drawn kSegmentsPerSquare segments per such square
// (adding a square costs about as much as drawing that many). After kMostBlocksPerPublish
// blocks kFewestSegmentsPerSquare suffice, a block that was not skipped whole counting as
// kSegmentsPerBlock segments: its points and look-ups cost at least that, and unpublished
// pixels keep the blocks that they would have let both cores skip in that count (a figure
// whose last few new pixels stayed unpublished drew every later block up to its end).
constexpr int kBlocksPerPublish = 4;
constexpr std::size_t kSegmentsPerSquare = 32;
constexpr int kMostBlocksPerPublish = 64;
constexpr std::size_t kFewestSegmentsPerSquare = 4;
constexpr std::size_t kSegmentsPerBlock = 8;
// A figure of fewer blocks takes a second core only where its segments cover at least this
// many pixels: below, waking it costs more than it saves (1 : 100, short segments, 44 000;
// 100 : 1, segments across the screen, 840 000).
constexpr double kParallelFromPixels = 200000;
// Below this many blocks few can be skipped whole, and publishing to the shared lit pixels
// costs more than it saves: each lane draws straight into lit bits of its own, in half of
// the columns, and so sees all that it has to look segments up in.
constexpr std::size_t kStraightBelow = 64;
// A figure of fewer blocks is drawn whole as fast as a preview is shown; a larger one is
// previewed from every kPreviewShare-th block, whole rounds of the spread order.
constexpr std::size_t kPreviewFrom = 1024;
constexpr std::size_t kPreviewShare = 16;

bool inside(const PixelBox& inner, const PixelBox& outer)
{
    return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 &&
           inner.y1 <= outer.y1;
}

long area(const PixelBox& box)
{
    return std::max(box.x1 - box.x0 + 1, 0) * long(std::max(box.y1 - box.y0 + 1, 0));
}

// About how many pixels the segments of a figure cover: the mean distance a point moves per
// step along the axis where it moves most, a sine's mean chord, times the segments.
double coveredPixels(const Parameter& p, double step, const PixelMapping& t, std::size_t segments)
{
    const double meanChord = 4 / std::numbers::pi;
    const double x = std::abs(p.amplitudeX * t.scaleX * std::sin(step / 2));
    const double y =
        std::abs(p.amplitudeY * t.scaleY * std::sin(step / 2 * p.numerator / p.denominator));
    return meanChord * std::max(x, y) * static_cast<double>(segments);
}

// Every block once: the first round every kSpread-th, each later one those half-way between.
void spreadOrder(std::size_t blocks, std::vector<std::uint32_t>& order)
{
    order.clear();
    for (std::size_t spacing = kSpread; spacing >= 1; spacing /= 2) {
        for (std::size_t b = 0; b < blocks; b += spacing) {
            if (spacing == kSpread || b % (2 * spacing) != 0)
                order.push_back(static_cast<std::uint32_t>(b));
        }
    }
}

} // namespace

std::size_t FigureRaster::previewBlocks(std::size_t points)
{
    const std::size_t blocks = points < 2 ? 0 : (points - 2) / kBlock + 1;
    return blocks < kPreviewFrom ? 0 : blocks / kPreviewShare;
}

FigureRaster::FigureRaster(std::size_t mostLanes) : m_mostLanes(std::max<std::size_t>(mostLanes, 1))
{
}

bool FigureRaster::lit(Lane& lane, const PixelBox& box) const
{
    if (inside(box, lane.litBox))
        return true;
    if (!seen(lane).allLit(box))
        return false;
    if (area(box) > area(lane.litBox))
        lane.litBox = box;
    return true;
}

void FigureRaster::publish(Lane& lane)
{
    m_lit.addNew(lane.bitmaps);
    lane.blocksPending = 0;
    lane.segmentsDrawn = 0;
}

void FigureRaster::drawBlock(Lane& lane, const DrawnFigure& figure, std::size_t block)
{
    const std::size_t first = block * kBlock;
    const std::size_t n = std::min(first + kBlock, figure.count - 1) - first + 1;
    const PixelBox box = figure.box(first, first + n - 1);
    if (lit(lane, box))
        return;
    // The box's edge may be a line that only points at a crest land on. Where the rest of the
    // box is lit, only the segments at the points that do can light a pixel.
    const PixelBox trimmed = figure.withoutExtremes(box);
    if (trimmed != box &&
        (trimmed.x0 > trimmed.x1 || trimmed.y0 > trimmed.y1 || lit(lane, trimmed))) {
        PointBits near{};
        if (!figure.nearExtremes(first, n, box, near))
            return;
        drawAround(lane, figure, first, n, near);
    } else if (const int axes = zonesLeftOut(lane, figure, trimmed); axes != 0) {
        // A segment lights only pixels in the box of its end points: one between two points
        // that land in the lit core lights nothing new.
        PointBits near{};
        figure.nearExtremes(first, n, box, near);
        if (!figure.nearZones(first, n, box, axes, near))
            return;
        drawAround(lane, figure, first, n, near);
    } else {
        drawPoints(lane, figure, first, n);
    }
    if (lane.drawsInto)
        return;
    ++lane.blocksPending;
    const std::size_t squares = lane.bitmaps.newSquares();
    if ((lane.blocksPending >= kBlocksPerPublish &&
         squares * kSegmentsPerSquare <= lane.segmentsDrawn) ||
        (lane.blocksPending >= kMostBlocksPerPublish &&
         squares * kFewestSegmentsPerSquare <=
             lane.segmentsDrawn + lane.blocksPending * kSegmentsPerBlock))
        publish(lane);
}

int FigureRaster::zonesLeftOut(Lane& lane, const DrawnFigure& figure, const PixelBox& trimmed) const
{
    // A dense figure's last pixels lie near the crests of the axis that reaches them least
    // often: the zones of one axis alone leave the fewest points to look at.
    if (!lane.zones.worthTrying()) {
        lane.zones.leftOut();
        return 0;
    }
    for (const int axes : {int{DrawnFigure::YZones}, int{DrawnFigure::XZones},
                           DrawnFigure::XZones | DrawnFigure::YZones}) {
        const PixelBox core = figure.withoutZones(trimmed, axes);
        if (core != trimmed && core.x0 <= core.x1 && core.y0 <= core.y1 && lit(lane, core)) {
            lane.zones.tried(1, 1);
            return axes;
        }
    }
    lane.zones.tried(1, 0);
    return 0;
}

void FigureRaster::drawAround(Lane& lane, const DrawnFigure& figure, std::size_t first,
                              std::size_t n, const PointBits& near)
{
    // The segments on both sides of each such point; points close together share a stretch.
    const auto nextNear = [&near, n](std::size_t from) {
        for (std::size_t word = from / 64; word < near.size(); ++word) {
            const std::uint64_t bits =
                near[word] &
                (word == from / 64 ? ~std::uint64_t{0} << (from % 64) : ~std::uint64_t{0});
            if (bits != 0)
                return std::min(word * 64 + static_cast<std::size_t>(std::countr_zero(bits)), n);
        }
        return n;
    };
    for (std::size_t i = nextNear(0); i < n;) {
        const std::size_t from = i == 0 ? 0 : i - 1;
        std::size_t to = std::min(i + 1, n - 1);
        for (i = nextNear(i + 1); i < n && i <= to + 1; i = nextNear(i + 1))
            to = std::min(i + 1, n - 1);
        drawPoints(lane, figure, first + from, to - from + 1);
    }
}

// Both inlined into drawPoints' loop over the groups, as when they were written in it.
[[gnu::always_inline]] inline bool FigureRaster::groupLit(Lane& lane, const DrawnFigure& figure,
                                                          const double* xs, const double* ys,
                                                          std::size_t start, std::size_t end) const
{
    if (!lane.groupBox.worthTrying()) {
        lane.groupBox.leftOut();
        return false;
    }
    // A coordinate that is not a number leaves its segments unlit; min and max pass it by.
    Interval x{xs[start], xs[start]};
    Interval y{ys[start], ys[start]};
    for (std::size_t i = start + 1; i <= end; ++i) {
        x = {std::min(x.low, xs[i]), std::max(x.high, xs[i])};
        y = {std::min(y.low, ys[i]), std::max(y.high, ys[i])};
    }
    PixelBox group;
    pixelSpan(x, figure.width, group.x0, group.x1);
    pixelSpan(y, figure.height, group.y0, group.y1);
    const bool skip = lit(lane, group);
    lane.groupBox.tried(1, skip ? 1 : 0);
    return skip;
}

[[gnu::always_inline]] inline void FigureRaster::drawGroup(Lane& lane, const double* xs,
                                                           const double* ys, std::size_t start,
                                                           std::size_t end) const
{
    // Most segments of a figure that runs over itself light nothing new, though their group's
    // box is not lit all over: looking a segment's pixels up costs less than drawing them.
    std::uint64_t litSegments = 0;
    const bool lookedUp = lane.segments.worthTrying();
    if (lookedUp)
        litSegments = seen(lane).segmentsLit(xs + start, ys + start, end - start + 1);
    else
        lane.segments.leftOut();
    const std::uint64_t group = (std::uint64_t{1} << (end - start)) - 1;
    std::size_t drawnCount = 0;
    for (std::uint64_t drawn = group & ~litSegments; drawn != 0; drawn &= drawn - 1) {
        const std::size_t i = start + 1 + static_cast<std::size_t>(std::countr_zero(drawn));
        if (lane.drawsInto)
            lane.drawsInto->segment(xs[i], ys[i], xs[i - 1], ys[i - 1]);
        else if (m_unlitRunsOnly)
            m_lit.segmentInto(lane.bitmaps, xs[i], ys[i], xs[i - 1], ys[i - 1]);
        else
            lane.bitmaps.segment(xs[i], ys[i], xs[i - 1], ys[i - 1]);
        ++drawnCount;
    }
    lane.segmentsDrawn += drawnCount;
    // Counted here rather than with a bit count, which processors without one make a call.
    if (lookedUp)
        lane.segments.tried(end - start, end - start - drawnCount);
}

void FigureRaster::drawPoints(Lane& lane, const DrawnFigure& figure, std::size_t first,
                              std::size_t n)
{
    std::array<FloatPoint, kBlock + 1> points;
    std::array<double, kBlock + 1> xs;
    std::array<double, kBlock + 1> ys;
    figurePoints(figure.p, figure.steps, first, n, points.data());
    const PixelMapping& t = figure.transform;
    for (std::size_t i = 0; i < n; ++i) {
        xs[i] = points[i].x * t.scaleX + t.offsetX;
        ys[i] = points[i].y * t.scaleY + t.offsetY;
    }
    // A segment wholly in another lane's columns: its pixels are lit already.
    const auto away = [&](std::size_t i) {
        return std::max(xs[i], xs[i - 1]) < lane.firstColumn ||
               std::min(xs[i], xs[i - 1]) >= lane.lastColumn + 1;
    };
    for (std::size_t groupStart = 0; groupStart + 1 < n; groupStart += kGroup) {
        std::size_t start = groupStart;
        std::size_t end = std::min(groupStart + kGroup, n - 1);
        if (lane.drawsInto) {
            while (start < end && away(start + 1))
                ++start;
            while (end > start && away(end))
                --end;
            if (start == end)
                continue;
        }
        if (!groupLit(lane, figure, xs.data(), ys.data(), start, end))
            drawGroup(lane, xs.data(), ys.data(), start, end);
    }
}

void FigureRaster::drawLanes(const DrawnFigure& figure)
{
    for (;;) {
        const std::size_t lane = m_nextLane.fetch_add(1, std::memory_order_relaxed);
        if (lane >= m_laneCount)
            break;
        drawBlocks(m_lanes[lane], figure);
    }
}

void FigureRaster::drawBlocks(Lane& lane, const DrawnFigure& figure)
{
    // A lane's bits are cleared on the core that draws into them: cleared by another, they
    // would have to travel to it first.
    if (lane.drawsInto) {
        LitRows& bits = *lane.drawsInto;
        bits.reset(figure.width, figure.height, figure.whole);
        bits.setColumns(0, lane.firstColumn - 1);
        bits.setColumns(lane.lastColumn + 1, figure.width - 1);
        for (std::size_t i = 0; i < m_taken && !stopping(); ++i)
            drawBlock(lane, figure, m_order[i]);
        bits.foldColumns(lane.firstColumn, lane.lastColumn);
        if (m_target.pixels)
            bits.paint(m_target.pixels, m_target.stride, m_target.colour, lane.firstColumn,
                       lane.lastColumn);
        return;
    }
    // A lane that a core takes up only once all blocks are taken has nothing to draw.
    if (m_next.load(std::memory_order_relaxed) >= m_taken)
        return;
    lane.bitmaps.reset(figure.width, figure.height);
    lane.drew = true;
    for (;;) {
        const std::size_t next = m_next.fetch_add(m_stride, std::memory_order_relaxed);
        if (next >= m_taken || stopping())
            break;
        drawBlock(lane, figure, m_order[next]);
    }
    publish(lane);
}

bool FigureRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                        const Parameter& p, double end, const PixelMapping& transform,
                        std::uint32_t colour, const DrawLimits& limits)
{
    return draw(pixels, width, height, stride, p, LoopSteps{}, figureRun(p, end).count, transform,
                colour, limits);
}

bool FigureRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                        const Parameter& p, LoopSteps steps, std::size_t count,
                        const PixelMapping& transform, std::uint32_t colour,
                        const DrawLimits& limits)
{
    if (width <= 0 || height <= 0)
        return !limits.stopped();
    m_target = {pixels, stride, colour};
    const LitRows& lit = rasterise(width, height, p, steps, count, transform, limits);
    m_target = {};
    if (stopped())
        return false;
    if (!m_painted)
        lit.paint(pixels, stride, colour);
    return true;
}

const LitRows& FigureRaster::rasterise(int width, int height, const Parameter& p, double end,
                                       const PixelMapping& transform, const DrawLimits& limits)
{
    return rasterise(width, height, p, LoopSteps{}, figureRun(p, end).count, transform, limits);
}

const LitRows& FigureRaster::rasterise(int width, int height, const Parameter& p, LoopSteps steps,
                                       std::size_t count, const PixelMapping& transform,
                                       const DrawLimits& limits)
{
    return rasteriseLanes(width, height, p, steps, count, transform, limits, nullptr);
}

const LitRows& FigureRaster::rasteriseGrown(int width, int height, const Parameter& p,
                                            LoopSteps steps, std::size_t count,
                                            const PixelMapping& transform, int extra,
                                            const DrawLimits& limits)
{
    // A line extra pixels wider hides much of what the mask's segments add: a segment whose
    // pixels the first share's grown line covers all over adds nothing, though it lights
    // pixels of the mask anew (at 8192 pixels, 179 : 183 draws 19 % of its segments instead
    // of 41 %). Such a segment's pixels are lit in the bits the look-ups see, so it is skipped
    // as one whose pixels are lit; each later one that is drawn publishes its pixels there as
    // always, and each grows only into the picture that the segments drawn give. The lanes'
    // bitmaps keep what they drew, the mask's rows of the first share are kept aside.
    const std::size_t first = previewBlocks(count);
    if (extra <= 0 || first == 0 || limits.blocks <= first)
        return rasterise(width, height, p, steps, count, transform, limits);
    DrawLimits share = limits;
    share.blocks = first;
    rasteriseLanes(width, height, p, steps, count, transform, share, nullptr);
    if (stopped() || !m_resumable)
        return m_lit;
    m_lit.closeGrown(extra, m_firstShare);
    DrawLimits rest = limits;
    rest.resume = true;
    // A run whose pixels are all lit adds nothing either: they are in another lane's bitmaps,
    // published, or covered by the share's grown pixels. The lanes' bitmaps then lack them, but
    // the lit bits after publishing are the same. (In the share, whose segments mostly light
    // pixels anew, looking each run up first costs more than it saves.)
    m_unlitRunsOnly = true;
    rasteriseLanes(width, height, p, steps, count, transform, rest, nullptr);
    m_unlitRunsOnly = false;
    // The lit bits are no longer the drawn pixels' to go on from.
    m_resumable = false;
    m_lit.setRows(m_firstShare);
    for (std::size_t l = 0; l < m_laneCount; ++l) {
        if (m_lanes[l].drew)
            m_lit.add(m_lanes[l].bitmaps, {0, 0, width - 1, height - 1});
    }
    m_firstShare = {};
    return m_lit;
}

FigureRaster::SharedBits FigureRaster::rasteriseShare(int width, int height, const Parameter& p,
                                                      LoopSteps steps, std::size_t count,
                                                      const PixelMapping& transform, Share share)
{
    const DrawLimits whole;
    const LitRows& lit = rasteriseLanes(width, height, p, steps, count, transform, whole, &share);
    return {lit, m_shareFirst, m_shareLast};
}

bool FigureRaster::sharesPay(std::size_t count)
{
    return count >= 2 && (count - 2) / kBlock + 1 >= kStraightBelow;
}

const LitRows& FigureRaster::rasteriseLanes(int width, int height, const Parameter& p,
                                            LoopSteps steps, std::size_t count,
                                            const PixelMapping& transform, const DrawLimits& limits,
                                            const Share* share)
{
    const Drawn drawn{p, steps.step, count, transform, width, height};
    const bool resume = !share && limits.resume && m_resumable && drawn == m_drawn;
    m_drawn = drawn;
    m_resumable = false;
    m_painted = false;
    m_laneCount = 0;
    m_limits = &limits;
    m_stopped = limits.stopped();
    m_shareFirst = 0;
    m_shareLast = -1;
    if (width <= 0 || height <= 0 || count < 2) {
        m_lit.reset(std::max(width, 0), std::max(height, 0), {0, 0, -1, -1});
        return m_lit;
    }
    const std::size_t blocks = (count - 2) / kBlock + 1;
    const bool straight = blocks < kStraightBelow;
    const bool parallel = !straight || coveredPixels(p, steps.chain() ? kLoopStep : steps.step,
                                                     transform, count - 1) >= kParallelFromPixels;
    // Drawing straight, each lane computes every point for its columns: two at most.
    const std::size_t lanes =
        std::min({parallel ? (straight ? 2 : kMostLanes) : 1,
                  share ? std::max<std::size_t>(share->lanes, 1) : m_mostLanes,
                  std::max<std::size_t>(limits.cores, 1)});
    if (share && share->lane >= lanes) {
        m_lit.reset(width, height, {0, 0, -1, -1});
        m_limits = nullptr;
        return m_lit;
    }
    const DrawnFigure figure =
        drawnFigure(p, steps, transform, width, height, count, m_xPlaces, m_yPlaces);
    // Going on, the lit pixels and the blocks taken so far stay; drawn straight, each lane
    // draws into bits it clears, so it starts again.
    const std::size_t from = resume && !straight ? m_taken : 0;
    if (from == 0 && !straight)
        m_lit.reset(width, height, figure.whole);
    spreadOrder(blocks, m_order);
    m_taken = std::min(m_order.size(), limits.blocks);
    // Drawing straight, the lanes take the left and the right half of the figure's columns.
    const int split = lanes == 2 ? (figure.whole.x0 + figure.whole.x1 + 1) / 2 : width;
    prepareLanes(lanes, straight, split, width);
    if (share) {
        const LitRows& lit = drawShare(figure, lanes, straight, share->lane);
        m_limits = nullptr;
        return lit;
    }
    m_next = from;
    m_stride = 1;
    drawOnCores(figure, lanes);
    m_limits = nullptr;
    m_resumable = !stopped() && m_taken < m_order.size();
    if (straight && lanes == 2)
        m_lit.takeColumns(m_lanes[1].own, split, width - 1);
    m_painted = straight && m_target.pixels;
    return m_lit;
}

const LitRows& FigureRaster::drawShare(const DrawnFigure& figure, std::size_t lanes, bool straight,
                                       std::size_t lane)
{
    m_laneCount = lanes;
    if (straight) {
        Lane& own = m_lanes[lane];
        drawBlocks(own, figure);
        m_shareFirst = own.firstColumn;
        m_shareLast = own.lastColumn;
        return *own.drawsInto;
    }
    // The blocks this lane would take if the cores took them in turn, drawn by the first lane
    // into the lit bits alone.
    m_next = lane;
    m_stride = lanes;
    drawBlocks(m_lanes[0], figure);
    m_stride = 1;
    m_shareFirst = 0;
    m_shareLast = figure.width - 1;
    return m_lit;
}

void FigureRaster::drawOnCores(const DrawnFigure& figure, std::size_t lanes)
{
    // Each core takes up the lanes that are left: where the others are busy elsewhere, this
    // one draws them all.
    m_laneCount = lanes;
    m_nextLane = 0;
    for (std::size_t w = 0; w + 1 < lanes; ++w) {
        if (!m_workers[w])
            m_workers[w] = std::make_unique<WorkerThread>();
        m_workers[w]->start([this, &figure] { drawLanes(figure); });
    }
    drawLanes(figure);
    // Done with its lanes, this core watches for the others' end once for all of them.
    const auto watchUntil = std::chrono::steady_clock::now() + WorkerThread::kWatch;
    for (std::size_t w = 0; w + 1 < lanes; ++w) {
        if (!m_workers[w]->withdraw())
            m_workers[w]->wait(watchUntil);
    }
}

} // namespace korvelian
