#include "drawingpixels.h"

#include "form/pixels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace korvelian {

std::uint32_t DrawingPixels::canvasColour(Colour colour)
{
    return 0xff000000u | (static_cast<std::uint32_t>(blue(colour)) << 16) |
           (static_cast<std::uint32_t>(green(colour)) << 8) |
           static_cast<std::uint32_t>(red(colour));
}

void DrawingPixels::render(std::uint32_t* pixels, int width, int height, SizeF logicalSize,
                           double ratio, std::span<const DrawOp> ops, const RenderStyle& style)
{
    const int lineWidth = linePixels(style.zoom);
    for (const DrawOp& op : ops) {
        const PixelMapping device = imageMapping(op.frame, logicalSize, style, ratio);
        const std::uint32_t colour = canvasColour(renderColour(op, style));
        switch (op.kind) {
        case DrawOp::Kind::Segment:
            segment(pixels, width, height, device, op, colour, lineWidth);
            break;
        case DrawOp::Kind::Box: {
            const PointF a = mapPoint(device, op.x1, op.y1);
            const PointF b = mapPoint(device, op.x2, op.y2);
            const int x0 = std::clamp(static_cast<int>(std::lround(std::min(a.x, b.x))), 0, width);
            const int x1 = std::clamp(static_cast<int>(std::lround(std::max(a.x, b.x))), 0, width);
            const int y0 = std::clamp(static_cast<int>(std::lround(std::min(a.y, b.y))), 0, height);
            const int y1 = std::clamp(static_cast<int>(std::lround(std::max(a.y, b.y))), 0, height);
            for (int y = y0; y < y1; ++y)
                std::fill(pixels + std::ptrdiff_t(y) * width + x0,
                          pixels + std::ptrdiff_t(y) * width + x1, colour);
            break;
        }
        case DrawOp::Kind::Figure:
            m_figure.draw(pixels, width, height, width, op.parameters, op.end, device, colour,
                          lineWidth, style.fine);
            break;
        }
    }
}

void DrawingPixels::segment(std::uint32_t* pixels, int width, int height,
                            const PixelMapping& device, const DrawOp& op, std::uint32_t colour,
                            int lineWidth)
{
    // The raster draws a polyline's segment from its later point to its earlier one, as
    // QPainter draws a line from its first end to its second: point 1 is the first end here.
    const PointF a = mapPoint(device, op.x1, op.y1);
    const PointF b = mapPoint(device, op.x2, op.y2);
    const std::array<FloatPoint, 2> ends{{{0, 0}, {1, 1}}};
    const int extra = lineWidth - 1;
    const double shift = extra - extra / 2.0;
    const PixelMapping m{a.x - b.x, b.x + shift, a.y - b.y, b.y + shift};
    const LitRows& lit = m_segments.rasterise(width + extra, height + extra, ends, m);
    for (int y = 0; y < lit.height(); ++y) {
        const std::uint64_t* bits = lit.row(y);
        for (int w = 0; w * 64 < lit.width(); ++w) {
            for (std::uint64_t word = bits[w]; word != 0; word &= word - 1) {
                const int x = w * 64 + std::countr_zero(word);
                // Lit mask pixel (x, y) stands for the square (x - extra .. x, y - extra .. y).
                for (int dy = std::max(0, y - extra); dy <= std::min(y, height - 1); ++dy) {
                    for (int dx = std::max(0, x - extra); dx <= std::min(x, width - 1); ++dx)
                        pixels[std::ptrdiff_t(dy) * width + dx] = colour;
                }
            }
        }
    }
}

} // namespace korvelian
