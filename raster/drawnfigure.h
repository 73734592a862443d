#pragma once

#include "crestreach.h"
#include "figurebounds.h"
#include "model/deflection.h"
#include "pixelbox.h"
#include "pixelmapping.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace korvelian {

// A figure as FigureRaster draws it, block by block: the boxes of its stretches of segments,
// and the points near the extreme lines on their edges.
struct DrawnFigure
{
    const Parameter& p;
    LoopSteps steps;
    const PixelMapping& transform;
    int width;
    int height;
    std::size_t count;
    // The box of the whole figure.
    PixelBox whole;

    PixelBox box(std::size_t first, std::size_t last) const
    {
        return segmentsBox(p, transform, width, height, first, last, steps);
    }

    // Extreme lines of x and of y, crest and trough.
    std::array<Extreme, 2> xLines;
    std::array<Extreme, 2> yLines;

    // box without the extreme lines on its edges.
    PixelBox withoutExtremes(PixelBox box) const
    {
        for (const Extreme& e : xLines) {
            box.x0 += box.x0 == e.pixel;
            box.x1 -= box.x1 == e.pixel;
        }
        for (const Extreme& e : yLines) {
            box.y0 += box.y0 == e.pixel;
            box.y1 -= box.y1 == e.pixel;
        }
        return box;
    }

    // The pixels near the crests and troughs of x and of y, where a dense figure's last pixels
    // are lit: a block whose box is lit all over but for them need draw only the segments at
    // the points that land in them.
    std::array<Zone, 2> xZones;
    std::array<Zone, 2> yZones;

    // The axes whose zones a block leaves out.
    enum Axes { XZones = 1, YZones = 2 };

    // box without the zones of these axes.
    PixelBox withoutZones(PixelBox box, int axes) const
    {
        const auto trim = [](const Zone& z, int& low, int& high) {
            if (z.pixel < 0)
                return;
            if (z.below)
                low = std::max(low, z.pixel + 1);
            else
                high = std::min(high, z.pixel - 1);
        };
        for (const Zone& z : xZones) {
            if (axes & XZones)
                trim(z, box.x0, box.x1);
        }
        for (const Zone& z : yZones) {
            if (axes & YZones)
                trim(z, box.y0, box.y1);
        }
        return box;
    }

    // Where the arguments of the points fall on the circle, for the axes with extreme lines or
    // zones.
    const CrestPlaces& xPlaces;
    const CrestPlaces& yPlaces;

    // Sets the bits of the points of first .. first + n - 1 that can land on an extreme line on
    // an edge of box (and maybe of a few more); returns whether it set any.
    bool nearExtremes(std::size_t first, std::size_t n, const PixelBox& box, PointBits& near) const;
    // The same for the points that can land in a zone of these axes that box reaches into.
    bool nearZones(std::size_t first, std::size_t n, const PixelBox& box, int axes,
                   PointBits& near) const;
};

// The figure of the first count points of p at steps in an area of width x height pixels, its
// extreme lines found; xPlaces and yPlaces are prepared for the axes that have one.
DrawnFigure drawnFigure(const Parameter& p, LoopSteps steps, const PixelMapping& transform,
                        int width, int height, std::size_t count, CrestPlaces& xPlaces,
                        CrestPlaces& yPlaces);

} // namespace korvelian
