#include "segmentraster.h"

#include <algorithm>
#if !defined(KORVELIAN_SINGLE_THREAD)
#include <thread>
#endif

namespace korvelian {

namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 4000;

void drawSegments(RunBitmaps& bitmaps, std::span<const FloatPoint> points, const PixelMapping& t)
{
    // Each point is mapped once and serves as the end of one segment and the start of the next.
    double previousX = points[0].x * t.scaleX + t.offsetX;
    double previousY = points[0].y * t.scaleY + t.offsetY;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double x = points[i].x * t.scaleX + t.offsetX;
        const double y = points[i].y * t.scaleY + t.offsetY;
        bitmaps.segment(x, y, previousX, previousY);
        previousX = x;
        previousY = y;
    }
}

} // namespace

const LitRows& SegmentRaster::rasterise(int width, int height, std::span<const FloatPoint> points,
                                        const PixelMapping& transform)
{
    const PixelBox area{0, 0, width - 1, height - 1};
    m_lit.reset(std::max(width, 0), std::max(height, 0), area);
    if (width <= 0 || height <= 0 || points.size() < 2)
        return m_lit;
    const bool parallel = points.size() >= kParallelFrom;
    const int maps = parallel ? 2 : 1;
    for (int m = 0; m < maps; ++m)
        m_bitmaps[m].reset(width, height);
    if (parallel) {
        // The halves share the middle point, so every segment is drawn exactly once.
        const std::size_t middle = points.size() / 2;
#if defined(KORVELIAN_SINGLE_THREAD)
        drawSegments(m_bitmaps[1], points.subspan(middle), transform);
        drawSegments(m_bitmaps[0], points.first(middle + 1), transform);
#else
        std::thread second([&] { drawSegments(m_bitmaps[1], points.subspan(middle), transform); });
        drawSegments(m_bitmaps[0], points.first(middle + 1), transform);
        second.join();
#endif
    } else {
        drawSegments(m_bitmaps[0], points, transform);
    }
    for (int m = 0; m < maps; ++m)
        m_lit.add(m_bitmaps[m], area);
    return m_lit;
}

} // namespace korvelian
