#include "widefigureraster.h"

#include <algorithm>
#include <bit>

namespace korvelian {

void WideFigureRaster::rasterise(std::uint32_t* pixels, int width, int height,
                                 std::ptrdiff_t stride, const Parameter& p, double end,
                                 const SegmentRaster::Transform& transform, std::uint32_t colour)
{
    if (m_path == Path::Culled) {
        m_raster.draw(pixels, width, height, stride, p, end, transform, colour);
        return;
    }
    const FigureRun run = figurePoints(p, end, m_points);
    m_plain.draw(pixels, width, height, stride, std::span(m_points.data(), run.count), transform,
                 colour);
}

void WideFigureRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                            const Parameter& p, double end,
                            const SegmentRaster::Transform& transform, std::uint32_t colour,
                            int lineWidth)
{
    if (lineWidth <= 1) {
        rasterise(pixels, width, height, stride, p, end, transform, colour);
        return;
    }
    // Mask pixel (x, y) stands for the square of image pixels (x - extra ... x, y - extra ...
    // y): a margin of extra pixels on the left and top keeps the squares that reach into the
    // image from outside it.
    const int extra = lineWidth - 1;
    const int maskWidth = width + extra;
    const int maskHeight = height + extra;
    m_mask.assign(static_cast<std::size_t>(maskWidth) * maskHeight, 0);
    const double shift = extra - extra / 2.0;
    const SegmentRaster::Transform shifted{transform.scaleX, transform.offsetX + shift,
                                           transform.scaleY, transform.offsetY + shift};
    rasterise(m_mask.data(), maskWidth, maskHeight, maskWidth, p, end, shifted, 1);
    grow(pixels, width, height, stride, colour, lineWidth);
}

void WideFigureRaster::grow(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                            std::uint32_t colour, int lineWidth)
{
    const int extra = lineWidth - 1;
    const int maskWidth = width + extra;
    const int maskHeight = height + extra;
    // One spare word per row, so that a shift may read the word after the last.
    const std::size_t words = static_cast<std::size_t>(maskWidth + 63) / 64 + 1;
    m_rows.assign(words * maskHeight, 0);

    // Each mask row as bits, grown to the right: bit x is set when any of mask pixels
    // x ... x + extra is lit.
    for (int y = 0; y < maskHeight; ++y) {
        const std::uint32_t* mask = m_mask.data() + static_cast<std::size_t>(y) * maskWidth;
        std::uint64_t* row = m_rows.data() + y * words;
        for (int from = 0; from < maskWidth; from += 64) {
            const int count = std::min(64, maskWidth - from);
            std::uint64_t bits = 0;
            for (int i = 0; i < count; ++i)
                bits |= std::uint64_t{mask[from + i] != 0} << i;
            row[from >> 6] = bits;
        }
        for (std::size_t w = 0; w + 1 < words; ++w) {
            std::uint64_t grown = row[w];
            for (int k = 1; k <= extra; ++k)
                grown |= (row[w] >> k) | (row[w + 1] << (64 - k));
            row[w] = grown;
        }
    }
    // Then down: image row y takes mask rows y ... y + extra.
    for (int y = 0; y < height; ++y) {
        std::uint32_t* line = pixels + y * stride;
        const std::uint64_t* first = m_rows.data() + y * words;
        for (std::size_t w = 0; w + 1 < words; ++w) {
            std::uint64_t bits = first[w];
            for (int k = 1; k <= extra; ++k)
                bits |= first[w + k * words];
            const int base = static_cast<int>(w * 64);
            while (bits) {
                const int x = base + std::countr_zero(bits);
                if (x >= width)
                    break;
                line[x] = colour;
                bits &= bits - 1;
            }
        }
    }
}

} // namespace korvelian
