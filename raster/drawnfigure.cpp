#include "drawnfigure.h"

#include "figureraster.h"
#include "model/loopvalues.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korvelian {

namespace {

// How far in from a crest a zone reaches: this share of the distance to the centre.
constexpr double kZoneShare = 16;

} // namespace

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

bool DrawnFigure::nearZones(std::size_t first, std::size_t n, const PixelBox& box, int axes,
                            PointBits& near) const
{
    std::array<double, FigureRaster::kBlock + 1> t;
    bool computed = false;
    double start = 0;
    double step = 0;
    const bool progression = loopProgression(steps, first, n, start, step);
    const auto look = [&](const std::array<Zone, 2>& zones, int low, int high,
                          const CrestPlaces& places, double offset, double factor) {
        for (const Zone& z : zones) {
            if (z.pixel < 0 || (z.below ? low > z.pixel : high < z.pixel))
                continue;
            if (progression && places.nearPoints(start, step, n, z.centre, z.reach, near))
                continue;
            if (!computed)
                loopValues(steps, first, n, t.data());
            computed = true;
            nearCentre(t.data(), n, offset, factor, z.centre, z.reach, near);
        }
    };
    if (axes & XZones)
        look(xZones, box.x0, box.x1, xPlaces, p.phaseX, 1);
    if (axes & YZones)
        look(yZones, box.y0, box.y1, yPlaces, p.phaseY, p.numerator / p.denominator);
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
    // A zone a sixteenth of the way from the crest to the centre.
    const auto zones = [](double amplitude, double scale, double offset, int size) {
        const int depth = static_cast<int>(std::abs(amplitude * scale) / kZoneShare);
        return std::array<Zone, 2>{crestZone(amplitude, 1, scale, offset, size, depth),
                                   crestZone(amplitude, -1, scale, offset, size, depth)};
    };
    const std::array<Zone, 2> xZones =
        zones(p.amplitudeX, transform.scaleX, transform.offsetX, width);
    const std::array<Zone, 2> yZones =
        zones(p.amplitudeY, transform.scaleY, transform.offsetY, height);
    const auto hasZone = [](const std::array<Zone, 2>& z) {
        return z[0].pixel >= 0 || z[1].pixel >= 0;
    };
    if (hasLine(xLines) || hasZone(xZones))
        xPlaces.prepare(p.phaseX, 1, count, steps);
    if (hasLine(yLines) || hasZone(yZones))
        yPlaces.prepare(p.phaseY, p.numerator / p.denominator, count, steps);
    const PixelBox whole = segmentsBox(p, transform, width, height, 0, count - 1, steps);
    return {p,      steps,  transform, width,  height,  count,  whole,
            xLines, yLines, xZones,    yZones, xPlaces, yPlaces};
}

} // namespace korvelian
