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
    render(pixels, width, height, logicalSize, ratio, ops, style, nullptr, 0);
}

namespace {

// A figure's share as words: the mask's width and height, the share's first and last column.
constexpr std::size_t kShareHead = 4;

std::uint64_t word(int value)
{
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(value));
}

int number(std::uint64_t word)
{
    return static_cast<int>(static_cast<std::int64_t>(word));
}

} // namespace

void DrawingPixels::share(std::vector<std::uint64_t>& words, int width, int height,
                          SizeF logicalSize, double ratio, std::span<const DrawOp> ops,
                          const RenderStyle& style, FigureRaster::Share share)
{
    words.assign(1, 0);
    const int lineWidth = linePixels(style.zoom);
    for (const DrawOp& op : ops) {
        if (op.kind != DrawOp::Kind::Figure)
            continue;
        const PixelMapping device = imageMapping(op.frame, logicalSize, style, ratio);
        const FigureRaster::SharedBits bits = m_figure.share(width, height, op.parameters, op.end,
                                                             device, lineWidth, style.fine, share);
        const LitRows& lit = bits.lit;
        words.insert(words.end(), {word(lit.width()), word(lit.height()), word(bits.firstColumn),
                                   word(bits.lastColumn)});
        if (bits.firstColumn <= bits.lastColumn && lit.height() > 0)
            words.insert(words.end(), lit.row(0),
                         lit.row(0) + lit.wordsPerRow() * static_cast<std::size_t>(lit.height()));
    }
    words[0] = words.size();
}

bool DrawingPixels::sharesPay(std::span<const DrawOp> ops, const RenderStyle& style)
{
    return std::any_of(ops.begin(), ops.end(), [&style](const DrawOp& op) {
        return op.kind == DrawOp::Kind::Figure &&
               WideFigureRaster::sharesPay(op.parameters, op.end, style.fine);
    });
}

bool DrawingPixels::mergeShares(std::span<const std::uint64_t*> at,
                                std::span<const std::uint64_t* const> ends, int maskWidth,
                                int maskHeight)
{
    m_merged.reset(maskWidth, maskHeight, {0, 0, -1, -1});
    const std::size_t rowWords =
        RunBitmaps::wordsPerRow(maskWidth) * static_cast<std::size_t>(maskHeight);
    bool fits = true;
    for (std::size_t lane = 0; lane < at.size(); ++lane) {
        const std::uint64_t* head = at[lane];
        if (!head || ends[lane] - head < static_cast<std::ptrdiff_t>(kShareHead)) {
            at[lane] = nullptr;
            fits = false;
            continue;
        }
        const int first = number(head[2]);
        const int last = number(head[3]);
        const std::size_t rows = first <= last && maskHeight > 0 ? rowWords : 0;
        if (number(head[0]) != maskWidth || number(head[1]) != maskHeight ||
            static_cast<std::size_t>(ends[lane] - head) < kShareHead + rows) {
            at[lane] = nullptr;
            fits = false;
            continue;
        }
        if (rows)
            m_merged.addRows(head + kShareHead, first, last);
        at[lane] = head + kShareHead + rows;
    }
    return fits;
}

void DrawingPixels::render(std::uint32_t* pixels, int width, int height, SizeF logicalSize,
                           double ratio, std::span<const DrawOp> ops, const RenderStyle& style,
                           const std::uint64_t* shares, std::size_t lanes)
{
    // Where each lane's next figure lies in the shares, and where its words end.
    std::vector<const std::uint64_t*> at(lanes);
    std::vector<const std::uint64_t*> ends(lanes);
    for (std::size_t lane = 0; lane < lanes; ++lane) {
        at[lane] = shares + 1;
        ends[lane] = shares + std::max<std::uint64_t>(shares[0], 1);
        shares = ends[lane];
    }
    const int lineWidth = linePixels(style.zoom);
    const int extra = lineWidth - 1;
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
            if (lanes > 0 && width > 0 && height > 0 &&
                mergeShares(at, ends, width + extra, height + extra))
                m_figure.paint(pixels, width, m_merged, lineWidth, colour);
            else
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
