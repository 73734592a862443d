#pragma once

#include "raster/segmentraster.h"
#include "raster/widefigureraster.h"
#include "scene/drawing.h"

#include <cstdint>
#include <span>

namespace korvelian {

// Drawing operations made into 32-bit pixels without a toolkit: the browser's counterpart of
// the desktop's renderer. The figure comes from the same raster, so its pixels are the
// desktop's; segments are the raster's aliased lines, which a line as QPainter draws it one
// pixel wide matches, grown to a square of the line width where lines are wider.
// Colours go into the buffer as its bytes are read, red first (a canvas's image data).
class DrawingPixels
{
public:
    // pixels: width x height device pixels at ratio device pixels to a logical one, holding
    // what lies beneath; logicalSize is the area the frames of the operations span.
    void render(std::uint32_t* pixels, int width, int height, SizeF logicalSize, double ratio,
                std::span<const DrawOp> ops, const RenderStyle& style);

    // A colour as the buffer holds it: red, green, blue, opaque, in memory order.
    static std::uint32_t canvasColour(Colour colour);

private:
    void segment(std::uint32_t* pixels, int width, int height, const PixelMapping& device,
                 const DrawOp& op, std::uint32_t colour, int lineWidth);

    WideFigureRaster m_figure{WideFigureRaster::Path::Culled, 1};
    SegmentRaster m_segments;
};

} // namespace korvelian
