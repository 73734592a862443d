#include "widefigureraster.h"

#include "model/finecurve.h"

#include <algorithm>
#include <bit>

namespace korvelian {

const LitRows& WideFigureRaster::rasterise(int width, int height, const Parameter& p,
                                           LoopSteps steps, std::size_t count,
                                           const PixelMapping& transform, const DrawLimits& limits)
{
    if (m_path == Path::Culled)
        return m_raster.rasterise(width, height, p, steps, count, transform, limits);
    if (m_points.size() < count)
        m_points.resize(count);
    figurePoints(p, steps, 0, count, m_points.data());
    return m_plain.rasterise(width, height, std::span(m_points.data(), count), transform);
}

bool WideFigureRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                            const Parameter& p, double end, const PixelMapping& transform,
                            std::uint32_t colour, int lineWidth, bool fine,
                            const DrawLimits& limits)
{
    if (width <= 0 || height <= 0)
        return !limits.stopped();
    LoopSteps steps;
    std::size_t count = 0;
    const FineCurve curve = fine ? fineCurve(p, end) : FineCurve{0, {}, true};
    if (curve.asLoop) {
        count = figureRun(p, end).count;
    } else {
        steps = curve.steps;
        count = curve.count;
    }
    if (lineWidth <= 1) {
        if (m_path == Path::Culled)
            return m_raster.draw(pixels, width, height, stride, p, steps, count, transform, colour,
                                 limits);
        rasterise(width, height, p, steps, count, transform, limits).paint(pixels, stride, colour);
        return true;
    }
    // Mask pixel (x, y) stands for the square of image pixels (x - extra ... x, y - extra ...
    // y): a margin of extra pixels on the left and top keeps the squares that reach into the
    // image from outside it.
    const int extra = lineWidth - 1;
    const double shift = extra - extra / 2.0;
    const PixelMapping shifted{transform.scaleX, transform.offsetX + shift, transform.scaleY,
                               transform.offsetY + shift};
    const LitRows& mask =
        rasterise(width + extra, height + extra, p, steps, count, shifted, limits);
    if (m_path == Path::Culled && m_raster.stopped())
        return false;
    grow(mask, pixels, width, height, stride, colour, lineWidth);
    return true;
}

void WideFigureRaster::grow(const LitRows& mask, std::uint32_t* pixels, int width, int height,
                            std::ptrdiff_t stride, std::uint32_t colour, int lineWidth)
{
    const int extra = lineWidth - 1;
    const int maskHeight = mask.height();
    // Rows of the mask's bits with their spare word, so that a shift may read the word after
    // the last.
    const std::size_t words = mask.wordsPerRow();
    m_rows.resize(words * maskHeight);

    // Each mask row grown to the right: bit x is set when any of mask pixels x ... x + extra
    // is lit.
    for (int y = 0; y < maskHeight; ++y) {
        const std::uint64_t* bits = mask.row(y);
        std::uint64_t* row = m_rows.data() + y * words;
        for (std::size_t w = 0; w + 1 < words; ++w) {
            std::uint64_t grown = bits[w];
            for (int k = 1; k <= extra; ++k)
                grown |= (bits[w] >> k) | (bits[w + 1] << (64 - k));
            row[w] = grown;
        }
        row[words - 1] = 0;
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
