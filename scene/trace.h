#pragma once

#include "drawing.h"
#include "model/afterglow.h"
#include "scene.h"

#include <deque>
#include <functional>
#include <vector>

namespace korvelian {

// The beam's afterglow over the dimmed figure: each piece of the trace as bright as the time
// since the beam passed leaves it, white on the screen, black on a worksheet. width is the
// width of the trace in the painter's pixels. Given within, only the pieces whose box (see
// TraceDamage) it accepts are described: what a repaint of part of the screen needs.
void describeTrace(Scene& scene, const PixelMapping& toPixels, const AfterglowTrace& trace,
                   double width, bool worksheet,
                   const std::function<bool(const RectF&)>& within = {});

// A piece of the trace drawn differently than in the frame before: every pixel it lit or
// lights lies within reach, across either axis, of the line from from to at (a dot: of at).
struct TraceChange
{
    PointF from;
    PointF at;
    double reach = 0;

    RectF box() const;
    // Whether a pixel of it may lie in area: a slanting line passes few of the tiles of its box.
    bool reaches(const RectF& area) const;
};

// Where the trace as drawn changes from one frame to the next, so that a frame repaints only
// there. Each point of the trace draws a piece (a line from the point before, or a dot) at one
// of a few levels of brightness; a pixel changes only where a piece covering it appeared,
// went, or changed its level or its shape.
class TraceDamage
{
public:
    // The pieces, in pixels, drawn differently since the last call, as they were and as they
    // are. A call with another mapping or width than the last, or the first, returns nothing
    // and sets whole: all of the picture is to be repainted.
    std::vector<TraceChange> update(const AfterglowTrace& trace, const PixelMapping& toPixels,
                                    double width, bool& whole);

private:
    struct Piece
    {
        PointF from;
        PointF at;
        int level = 0;
        bool line = false;
        bool operator==(const Piece&) const = default;
    };

    // The pieces last seen, the first with the trace's point number m_first.
    std::deque<Piece> m_pieces;
    std::uint64_t m_first = 0;
    bool m_seen = false;
    PixelMapping m_mapping;
    double m_width = 0;
};

} // namespace korvelian
