#include "widefigureraster.h"

#include "model/finecurve.h"

#include <algorithm>
#include <bit>

namespace korvelian {

const LitRows& WideFigureRaster::rasterise(int width, int height, const Parameter& p,
                                           LoopSteps steps, std::size_t count,
                                           const PixelMapping& transform, const DrawLimits& limits,
                                           int extra)
{
    if (m_path == Path::Culled)
        return m_raster.rasteriseGrown(width, height, p, steps, count, transform, extra, limits);
    if (m_points.size() < count)
        m_points.resize(count);
    figurePoints(p, steps, 0, count, m_points.data());
    return m_plain.rasterise(width, height, std::span(m_points.data(), count), transform);
}

namespace {

// The figure's points: the loop's, or its fine curve's.
struct FigureSteps
{
    LoopSteps steps;
    std::size_t count = 0;
};

FigureSteps figureSteps(const Parameter& p, double end, bool fine)
{
    const FineCurve curve = fine ? fineCurve(p, end) : FineCurve{0, {}, true};
    if (curve.asLoop)
        return {LoopSteps{}, figureRun(p, end).count};
    return {curve.steps, curve.count};
}

} // namespace

bool WideFigureRaster::draw(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride,
                            const Parameter& p, double end, const PixelMapping& transform,
                            std::uint32_t colour, int lineWidth, bool fine,
                            const DrawLimits& limits)
{
    if (width <= 0 || height <= 0)
        return !limits.stopped();
    if (lineWidth <= 1) {
        const FigureSteps run = figureSteps(p, end, fine);
        if (m_path == Path::Culled)
            return m_raster.draw(pixels, width, height, stride, p, run.steps, run.count, transform,
                                 colour, limits);
        rasterise(width, height, p, run.steps, run.count, transform, limits)
            .paint(pixels, stride, colour);
        return true;
    }
    if (!grow(m_grown, width, height, p, end, transform, lineWidth, fine, limits))
        return false;
    m_grown.paint(pixels, stride, 0, height, colour);
    return true;
}

bool WideFigureRaster::grow(GrownFigure& figure, int width, int height, const Parameter& p,
                            double end, const PixelMapping& transform, int lineWidth, bool fine,
                            const DrawLimits& limits)
{
    figure.width = std::max(width, 0);
    figure.height = std::max(height, 0);
    figure.rows.clear();
    figure.words = 0;
    if (width <= 0 || height <= 0)
        return !limits.stopped();
    const FigureSteps run = figureSteps(p, end, fine);
    // Mask pixel (x, y) stands for the square of image pixels (x - extra ... x, y - extra ...
    // y): a margin of extra pixels on the left and top keeps the squares that reach into the
    // image from outside it.
    const int extra = std::max(lineWidth, 1) - 1;
    const double shift = extra - extra / 2.0;
    const PixelMapping shifted{transform.scaleX, transform.offsetX + shift, transform.scaleY,
                               transform.offsetY + shift};
    const LitRows& mask =
        rasterise(width + extra, height + extra, p, run.steps, run.count, shifted, limits, extra);
    if (m_path == Path::Culled && m_raster.stopped())
        return false;
    growRows(mask, extra, figure);
    return true;
}

FigureRaster::SharedBits WideFigureRaster::share(int width, int height, const Parameter& p,
                                                 double end, const PixelMapping& transform,
                                                 int lineWidth, bool fine,
                                                 FigureRaster::Share share)
{
    const FigureSteps run = figureSteps(p, end, fine);
    // Shifted as grow shifts it.
    const int extra = std::max(lineWidth, 1) - 1;
    const double shift = extra - extra / 2.0;
    const PixelMapping shifted{transform.scaleX, transform.offsetX + shift, transform.scaleY,
                               transform.offsetY + shift};
    // An empty picture's mask is empty too, as draw draws nothing there.
    const bool empty = width <= 0 || height <= 0;
    return m_raster.rasteriseShare(empty ? 0 : width + extra, empty ? 0 : height + extra, p,
                                   run.steps, run.count, shifted, share);
}

bool WideFigureRaster::sharesPay(const Parameter& p, double end, bool fine)
{
    return FigureRaster::sharesPay(figureSteps(p, end, fine).count);
}

void WideFigureRaster::paint(std::uint32_t* pixels, std::ptrdiff_t stride, const LitRows& mask,
                             int lineWidth, std::uint32_t colour)
{
    const int extra = std::max(lineWidth, 1) - 1;
    if (extra == 0) {
        mask.paint(pixels, stride, colour);
        return;
    }
    m_grown.width = std::max(mask.width() - extra, 0);
    m_grown.height = std::max(mask.height() - extra, 0);
    growRows(mask, extra, m_grown);
    m_grown.paint(pixels, stride, 0, m_grown.height, colour);
}

void WideFigureRaster::growRows(const LitRows& mask, int extra, GrownFigure& figure)
{
    const int maskHeight = mask.height();
    // Rows of the mask's bits with their spare word, so that a shift may read the word after
    // the last.
    const std::size_t words = mask.wordsPerRow();
    figure.extra = extra;
    figure.words = words;
    figure.rows.resize(words * maskHeight);

    // Each mask row grown to the right: bit x is set when any of mask pixels x ... x + extra
    // is lit.
    for (int y = 0; y < maskHeight; ++y) {
        const std::uint64_t* bits = mask.row(y);
        std::uint64_t* row = figure.rows.data() + y * words;
        for (std::size_t w = 0; w + 1 < words; ++w) {
            std::uint64_t grown = bits[w];
            for (int k = 1; k <= extra; ++k)
                grown |= (bits[w] >> k) | (bits[w + 1] << (64 - k));
            row[w] = grown;
        }
        row[words - 1] = 0;
    }
}

void GrownFigure::paint(std::uint32_t* pixels, std::ptrdiff_t stride, int top, int count,
                        std::uint32_t colour) const
{
    // Then down: image row y takes mask rows y ... y + extra.
    const int bottom = std::min(top + count, height);
    for (int y = std::max(top, 0); y < bottom; ++y) {
        std::uint32_t* line = pixels + (y - top) * stride;
        const std::uint64_t* first = rows.data() + y * words;
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
