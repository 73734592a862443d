#include "trace.h"

#include <array>
#include <cmath>

namespace korvelian {

namespace {

// Steps of brightness the trace is drawn in: more than the eye tells apart on a fading line.
constexpr int kTraceLevels = 32;

} // namespace

void describeTrace(Scene& scene, const PixelMapping& toPixels, const AfterglowTrace& trace,
                   double width, bool worksheet)
{
    const auto& points = trace.points();
    if (points.empty())
        return;
    // Pieces of like brightness go to the painter together: a dense figure leaves thousands
    // of them a second, one pen change and one call each would cost more than the frame.
    std::array<item::Lines, kTraceLevels> lines;
    std::array<item::Points, kTraceLevels> dots;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const TracePoint& point = points[i];
        const int level =
            static_cast<int>(std::lround(trace.brightness(point) * (kTraceLevels - 1)));
        if (level <= 0)
            continue;
        const PointF at = mapPoint(toPixels, point.x, point.y);
        if (point.joined && i > 0) {
            lines[level].ends.push_back(mapPoint(toPixels, points[i - 1].x, points[i - 1].y));
            lines[level].ends.push_back(at);
        } else {
            dots[level].points.push_back(at);
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

} // namespace korvelian
