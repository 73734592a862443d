#include "trace.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvelian {

namespace {

// Steps of brightness the trace is drawn in: more than the eye tells apart on a fading line.
constexpr int kTraceLevels = 32;

// A piece of the trace as drawn: from the point before where it is joined to it, at.
struct DrawnPiece
{
    int level = 0;
    bool line = false;
    PointF from;
    PointF at;
};

DrawnPiece drawnPiece(const AfterglowTrace& trace, const PixelMapping& toPixels, std::size_t i)
{
    const auto& points = trace.points();
    const TracePoint& point = points[i];
    DrawnPiece piece;
    piece.level = static_cast<int>(std::lround(trace.brightness(point) * (kTraceLevels - 1)));
    if (piece.level <= 0)
        return {};
    piece.at = mapPoint(toPixels, point.x, point.y);
    piece.line = point.joined && i > 0;
    piece.from = piece.line ? mapPoint(toPixels, points[i - 1].x, points[i - 1].y) : piece.at;
    return piece;
}

// Every pixel a piece lights lies within half the width of its line, and one pixel more for
// the rounding to pixels.
double pieceReach(double width)
{
    return width / 2 + 1;
}

RectF pieceBox(const DrawnPiece& piece, double width)
{
    return TraceChange{piece.from, piece.at, pieceReach(width)}.box();
}

} // namespace

RectF TraceChange::box() const
{
    const double left = std::min(from.x, at.x) - reach;
    const double top = std::min(from.y, at.y) - reach;
    return {left, top, std::max(from.x, at.x) + reach - left, std::max(from.y, at.y) + reach - top};
}

bool TraceChange::reaches(const RectF& area) const
{
    // The part of the line within the area grown by the reach, as a share of the line.
    double first = 0;
    double last = 1;
    // Where along the line step * share <= room holds.
    auto keep = [&](double step, double room) {
        if (step == 0)
            return room >= 0;
        const double share = room / step;
        if (step < 0)
            first = std::max(first, share);
        else
            last = std::min(last, share);
        return first <= last;
    };
    const double dx = at.x - from.x;
    const double dy = at.y - from.y;
    return keep(-dx, from.x - (area.x - reach)) && keep(dx, area.x + area.width + reach - from.x) &&
           keep(-dy, from.y - (area.y - reach)) && keep(dy, area.y + area.height + reach - from.y);
}

void describeTrace(Scene& scene, const PixelMapping& toPixels, const AfterglowTrace& trace,
                   double width, bool worksheet, const std::function<bool(const RectF&)>& within)
{
    const auto& points = trace.points();
    if (points.empty())
        return;
    // Pieces of like brightness go to the painter together: a dense figure leaves thousands
    // of them a second, one pen change and one call each would cost more than the frame.
    std::array<item::Lines, kTraceLevels> lines;
    std::array<item::Points, kTraceLevels> dots;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DrawnPiece piece = drawnPiece(trace, toPixels, i);
        if (piece.level <= 0 || (within && !within(pieceBox(piece, width))))
            continue;
        if (piece.line) {
            lines[piece.level].ends.push_back(piece.from);
            lines[piece.level].ends.push_back(piece.at);
        } else {
            dots[piece.level].points.push_back(piece.at);
        }
    }
    scene.save();
    scene.antialias(false);
    const Colour colour = worksheet ? palette::kBlack : palette::kWhite;
    for (int level = 1; level < kTraceLevels; ++level) {
        // The level's share of full brightness, rounded as a painter takes a share.
        const float share = static_cast<float>(level) / (kTraceLevels - 1);
        const Rgba shade{colour, static_cast<int>(share * 65535.0f + 0.5f)};
        // A piece of one point, where the beam landed after a jump, is a square dot.
        scene.pen(Pen{shade, width, Cap::Square});
        scene.add(std::move(dots[level]));
        scene.pen(Pen{shade, width, Cap::Flat});
        scene.add(std::move(lines[level]));
    }
    scene.restore();
}

std::vector<TraceChange> TraceDamage::update(const AfterglowTrace& trace,
                                             const PixelMapping& toPixels, double width,
                                             bool& whole)
{
    const auto& points = trace.points();
    std::deque<Piece> pieces;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DrawnPiece piece = drawnPiece(trace, toPixels, i);
        pieces.push_back(piece.level > 0 ? Piece{piece.from, piece.at, piece.level, piece.line}
                                         : Piece{});
    }
    const bool sameView = m_seen && m_width == width && m_mapping.scaleX == toPixels.scaleX &&
                          m_mapping.offsetX == toPixels.offsetX &&
                          m_mapping.scaleY == toPixels.scaleY &&
                          m_mapping.offsetY == toPixels.offsetY;
    whole = !sameView;
    std::vector<TraceChange> changed;
    if (sameView) {
        // Old and new pieces by the number of their point: one that went, came or changed.
        const std::uint64_t first = std::min(m_first, trace.firstNumber());
        const std::uint64_t end =
            std::max(m_first + m_pieces.size(), trace.firstNumber() + pieces.size());
        auto at = [](const std::deque<Piece>& in, std::uint64_t from, std::uint64_t number) {
            return number >= from && number - from < in.size() ? in[number - from] : Piece{};
        };
        for (std::uint64_t number = first; number < end; ++number) {
            const Piece before = at(m_pieces, m_first, number);
            const Piece now = at(pieces, trace.firstNumber(), number);
            if (before == now)
                continue;
            for (const Piece& piece : {before, now}) {
                if (piece.level > 0)
                    changed.push_back({piece.from, piece.at, pieceReach(width)});
            }
        }
    }
    m_pieces = std::move(pieces);
    m_first = trace.firstNumber();
    m_seen = true;
    m_mapping = toPixels;
    m_width = width;
    return changed;
}

} // namespace korvelian
