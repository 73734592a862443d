#pragma once

#include "model/deflection.h"
#include "figureraster.h"
#include "segmentraster.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelian {

// Draws a figure with lines of a whole number of device pixels. One pixel wide it is the
// figure raster's own line. Wider, the figure is rasterised one pixel wide into a mask of
// bits, shifted by half the extra width, and every lit pixel is grown to a square of the
// line width: the line stays centred on the figure, a 2-pixel line looks like the 1-pixel
// line of a picture of half the size enlarged, and the raster's speed is kept, since growing
// costs a few word operations per 64 pixels.
class WideFigureRaster
{
public:
    // Culled draws through FigureRaster; Plain computes every point and draws every segment
    // (SegmentRaster), the reference the culled path must match pixel for pixel.
    enum class Path { Culled, Plain };

    // mostLanes: the most cores the culled path takes.
    explicit WideFigureRaster(Path path = Path::Culled,
                              std::size_t mostLanes = FigureRaster::machineLanes())
        : m_path(path), m_raster(mostLanes)
    {
    }

    // The figure the loop draws up to end; fine: its fine curve instead (see fineCurve). False
    // when limits.stop ended the drawing early, the pixels incomplete. The plain path draws the
    // whole figure whatever the limits.
    bool draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
              const Parameter& p, double end, const PixelMapping& transform, std::uint32_t colour,
              int lineWidth, bool fine = false, const DrawLimits& limits = {});

private:
    const LitRows& rasterise(int width, int height, const Parameter& p, LoopSteps steps,
                             std::size_t count, const PixelMapping& transform,
                             const DrawLimits& limits);
    void grow(const LitRows& mask, std::uint32_t* pixels, int width, int height,
              std::ptrdiff_t stride, std::uint32_t colour, int lineWidth);

    Path m_path;
    FigureRaster m_raster;
    SegmentRaster m_plain;
    std::vector<FloatPoint> m_points;
    std::vector<std::uint64_t> m_rows;
};

} // namespace korvelian
