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

namespace {

// The points first .. first + n - 1 that can come within reach of a crest's centre, marked in
// near: from the crest places where the block's arguments step evenly, otherwise from the
// arguments computed once for the block.
class NearPoints
{
public:
    NearPoints(LoopSteps steps, std::size_t first, std::size_t n, PointBits& near)
        : m_steps(steps), m_first(first), m_n(n), m_near(near),
          m_progression(loopProgression(steps, first, n, m_start, m_step))
    {
    }

    void mark(const CrestPlaces& places, double offset, double factor, double centre, double reach)
    {
        if (m_progression && places.nearPoints(m_start, m_step, m_n, centre, reach, m_near))
            return;
        if (!m_computed)
            loopValues(m_steps, m_first, m_n, m_t.data());
        m_computed = true;
        nearCentre(m_t.data(), m_n, offset, factor, centre, reach, m_near);
    }

    bool any() const
    {
        return std::any_of(m_near.begin(), m_near.end(),
                           [](std::uint64_t word) { return word != 0; });
    }

private:
    LoopSteps m_steps;
    std::size_t m_first;
    std::size_t m_n;
    PointBits& m_near;
    double m_start = 0;
    double m_step = 0;
    bool m_progression;
    bool m_computed = false;
    std::array<double, FigureRaster::kBlock + 1> m_t;
};

} // namespace

bool DrawnFigure::nearExtremes(std::size_t first, std::size_t n, const PixelBox& box,
                               PointBits& near) const
{
    NearPoints points(steps, first, n, near);
    for (const Extreme& e : xLines) {
        if (e.pixel == box.x0 || e.pixel == box.x1)
            points.mark(xPlaces, p.phaseX, 1, e.centre, e.reach);
    }
    for (const Extreme& e : yLines) {
        if (e.pixel == box.y0 || e.pixel == box.y1)
            points.mark(yPlaces, p.phaseY, p.numerator / p.denominator, e.centre, e.reach);
    }
    return points.any();
}

bool DrawnFigure::nearZones(std::size_t first, std::size_t n, const PixelBox& box, int axes,
                            PointBits& near) const
{
    NearPoints points(steps, first, n, near);
    const auto reached = [](const Zone& z, int low, int high) {
        return z.pixel >= 0 && (z.below ? low <= z.pixel : high >= z.pixel);
    };
    for (const Zone& z : xZones) {
        if ((axes & XZones) && reached(z, box.x0, box.x1))
            points.mark(xPlaces, p.phaseX, 1, z.centre, z.reach);
    }
    for (const Zone& z : yZones) {
        if ((axes & YZones) && reached(z, box.y0, box.y1))
            points.mark(yPlaces, p.phaseY, p.numerator / p.denominator, z.centre, z.reach);
    }
    return points.any();
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
