#pragma once

#include "raster/segmentraster.h"
#include "raster/widefigureraster.h"
#include "scene/drawing.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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

    // What lane share.lane of share.lanes draws of each figure of the drawing (see
    // FigureRaster::Share), as words for a copy of the core that shares no memory with this one:
    // the count of words first, then for each figure its mask's width and height, the share's
    // first and last column and, where it has any, the mask's rows.
    void share(std::vector<std::uint64_t>& words, int width, int height, SizeF logicalSize,
               double ratio, std::span<const DrawOp> ops, const RenderStyle& style,
               FigureRaster::Share share);
    // Whether any figure of the drawing is worth drawing in shares.
    static bool sharesPay(std::span<const DrawOp> ops, const RenderStyle& style);
    // render, every figure's pixels from the shares of all lanes, each as share wrote it, one
    // after the other: the figure's lit bits are the shares' added together. A figure whose
    // shares do not fit this drawing is drawn here.
    void render(std::uint32_t* pixels, int width, int height, SizeF logicalSize, double ratio,
                std::span<const DrawOp> ops, const RenderStyle& style, const std::uint64_t* shares,
                std::size_t lanes);

    // A colour as the buffer holds it: red, green, blue, opaque, in memory order.
    static std::uint32_t canvasColour(Colour colour);

private:
    // The shares' bits of the next figure added into m_merged, the lanes' places moved past it;
    // false where they do not fit a mask of this size.
    bool mergeShares(std::span<const std::uint64_t*> at, std::span<const std::uint64_t* const> ends,
                     int maskWidth, int maskHeight);
    void segment(std::uint32_t* pixels, int width, int height, const PixelMapping& device,
                 const DrawOp& op, std::uint32_t colour, int lineWidth);

    WideFigureRaster m_figure{WideFigureRaster::Path::Culled, 1};
    SegmentRaster m_segments;
    LitRows m_merged;
};

} // namespace korvelian
