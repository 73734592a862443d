#include "drawnfigure.h"

#include "figureraster.h"
#include "model/loopvalues.h"

#include <algorithm>
#include <cstdint>

namespace korvelian {

bool DrawnFigure::nearExtremes(std::size_t first, std::size_t n, const PixelBox& box,
                               PointBits& near) const
{
    std::array<double, FigureRaster::kBlock + 1> t;
    bool computed = false;
    double start = 0;
    double step = 0;
    const bool progression = loopProgression(steps, first, n, start, step);
    const auto look = [&](const std::array<Extreme, 2>& lines, int low, int high,
                          const CrestPlaces& places, double offset, double factor) {
        for (const Extreme& e : lines) {
            if (e.pixel != low && e.pixel != high)
                continue;
            if (progression && places.nearPoints(start, step, n, e.centre, e.reach, near))
                continue;
            if (!computed)
                loopValues(steps, first, n, t.data());
            computed = true;
            nearCentre(t.data(), n, offset, factor, e.centre, e.reach, near);
        }
    };
    look(xLines, box.x0, box.x1, xPlaces, p.phaseX, 1);
    look(yLines, box.y0, box.y1, yPlaces, p.phaseY, p.numerator / p.denominator);
    return std::any_of(near.begin(), near.end(), [](std::uint64_t word) { return word != 0; });
}

DrawnFigure drawnFigure(const Parameter& p, LoopSteps steps, const PixelMapping& transform,
                        int width, int height, std::size_t count, CrestPlaces& xPlaces,
                        CrestPlaces& yPlaces)
{
    const auto hasLine = [](const std::array<Extreme, 2>& lines) {
        return lines[0].pixel >= 0 || lines[1].pixel >= 0;
    };
    const std::array<Extreme, 2> xLines{
        extremeLine(p.amplitudeX, 1, transform.scaleX, transform.offsetX, width),
        extremeLine(p.amplitudeX, -1, transform.scaleX, transform.offsetX, width)};
    const std::array<Extreme, 2> yLines{
        extremeLine(p.amplitudeY, 1, transform.scaleY, transform.offsetY, height),
        extremeLine(p.amplitudeY, -1, transform.scaleY, transform.offsetY, height)};
    if (hasLine(xLines))
        xPlaces.prepare(p.phaseX, 1, count, steps);
    if (hasLine(yLines))
        yPlaces.prepare(p.phaseY, p.numerator / p.denominator, count, steps);
    const PixelBox whole = segmentsBox(p, transform, width, height, 0, count - 1, steps);
    return {p, steps, transform, width, height, count, whole, xLines, yLines, xPlaces, yPlaces};
}

} // namespace korvelian
