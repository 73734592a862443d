// How many lanes a figure is shared out over and how they start, whether a drawing is to
// stop, and whether a figure is the one drawn before: kept apart from the drawing's own loops.
#include "figureraster.h"

#include <algorithm>
#if !defined(KORVELIAN_SINGLE_THREAD)
#include <thread>
#endif

namespace korvelian {

namespace {

constexpr PixelBox kNothing{1 << 30, 1 << 30, -1, -1};

} // namespace

std::size_t FigureRaster::machineLanes()
{
#if defined(KORVELIAN_SINGLE_THREAD)
    return 1;
#else
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostLanes);
#endif
}

void FigureRaster::prepareLanes(std::size_t lanes, bool straight, int split, int width)
{
    for (std::size_t l = 0; l < lanes; ++l) {
        m_lanes[l].drawsInto = straight ? (l == 0 ? &m_lit : &m_lanes[l].own) : nullptr;
        m_lanes[l].firstColumn = l == 0 ? 0 : split;
        m_lanes[l].lastColumn = l == 0 ? split - 1 : width - 1;
        m_lanes[l].drew = false;
        m_lanes[l].blocksPending = 0;
        m_lanes[l].segmentsDrawn = 0;
        m_lanes[l].groupBox.reset();
        m_lanes[l].segments.reset();
        m_lanes[l].zones.reset();
        m_lanes[l].litBox = kNothing;
    }
}

bool FigureRaster::stopping()
{
    if (m_stopped.load(std::memory_order_relaxed))
        return true;
    if (!m_limits->stopped())
        return false;
    m_stopped.store(true, std::memory_order_relaxed);
    return true;
}

bool FigureRaster::Drawn::operator==(const Drawn& other) const
{
    const auto same = [](const Parameter& a, const Parameter& b) {
        return a.amplitudeX == b.amplitudeX && a.phaseX == b.phaseX &&
               a.amplitudeY == b.amplitudeY && a.phaseY == b.phaseY && a.numerator == b.numerator &&
               a.denominator == b.denominator;
    };
    const auto sameMapping = [](const PixelMapping& a, const PixelMapping& b) {
        return a.scaleX == b.scaleX && a.offsetX == b.offsetX && a.scaleY == b.scaleY &&
               a.offsetY == b.offsetY;
    };
    return same(p, other.p) && step == other.step && count == other.count &&
           sameMapping(transform, other.transform) && width == other.width &&
           height == other.height;
}

} // namespace korvelian
