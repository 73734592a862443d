#include "segmentraster.h"

#include <thread>

namespace korvelian {

namespace {

// Below this a second thread costs more than it saves.
constexpr std::size_t kParallelFrom = 4000;

void rasterise(RunBitmaps& bitmaps, std::span<const FloatPoint> points,
               const SegmentRaster::Transform& t)
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

void SegmentRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                         std::span<const FloatPoint> points, const Transform& transform,
                         std::uint32_t colour)
{
    if (width <= 0 || height <= 0 || points.size() < 2)
        return;
    const bool parallel = points.size() >= kParallelFrom;
    const int maps = parallel ? 2 : 1;
    for (int m = 0; m < maps; ++m)
        m_bitmaps[m].reset(width, height);
    if (parallel) {
        // The halves share the middle point, so every segment is drawn exactly once.
        const std::size_t middle = points.size() / 2;
        std::thread second([&] { rasterise(m_bitmaps[1], points.subspan(middle), transform); });
        rasterise(m_bitmaps[0], points.first(middle + 1), transform);
        second.join();
    } else {
        rasterise(m_bitmaps[0], points, transform);
    }
    const PixelBox area{0, 0, width - 1, height - 1};
    m_lit.reset(width, height, area);
    for (int m = 0; m < maps; ++m)
        m_lit.add(m_bitmaps[m], area);
    m_lit.paint(pixels, stride, colour);
}

} // namespace korvelian
