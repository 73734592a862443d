#pragma once

#include "model/deflection.h"
#include "figureraster.h"
#include "segmentraster.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelian {

// A wide figure's lit pixels ready to be set a band of image rows at a time: the mask's rows,
// each already grown to the right by the line's extra width; image row y takes mask rows y ..
// y + extra. With no extra width the rows are the figure's own.
struct GrownFigure
{
    std::vector<std::uint64_t> rows;
    std::size_t words = 0;
    int width = 0;
    int height = 0;
    int extra = 0;

    // Sets the lit pixels of image rows top .. top + count - 1 to colour; pixels holds row top,
    // stride is in pixels.
    void paint(std::uint32_t* pixels, std::ptrdiff_t stride, int top, int count,
               std::uint32_t colour) const;
};

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
    // The pixels draw would set, kept in figure for an image too large to be held whole.
    bool grow(GrownFigure& figure, int width, int height, const Parameter& p, double end,
              const PixelMapping& transform, int lineWidth, bool fine = false,
              const DrawLimits& limits = {});

    // One core's share of the figure that draw draws (see FigureRaster::Share), on the culled
    // path: the lit bits of its one-pixel mask before the line is grown, an area lineWidth - 1
    // pixels wider and higher than the picture.
    FigureRaster::SharedBits share(int width, int height, const Parameter& p, double end,
                                   const PixelMapping& transform, int lineWidth, bool fine,
                                   FigureRaster::Share share);
    // Whether the figure that draw draws is worth drawing in shares (FigureRaster::sharesPay).
    static bool sharesPay(const Parameter& p, double end, bool fine);
    // Sets the pixels of the figure whose mask lit these bits (the shares added together) as
    // draw sets them.
    void paint(std::uint32_t* pixels, std::ptrdiff_t stride, const LitRows& mask, int lineWidth,
               std::uint32_t colour);

private:
    const LitRows& rasterise(int width, int height, const Parameter& p, LoopSteps steps,
                             std::size_t count, const PixelMapping& transform,
                             const DrawLimits& limits, int extra = 0);
    static void growRows(const LitRows& mask, int extra, GrownFigure& figure);

    Path m_path;
    FigureRaster m_raster;
    SegmentRaster m_plain;
    std::vector<FloatPoint> m_points;
    GrownFigure m_grown;
};

} // namespace korvelian
