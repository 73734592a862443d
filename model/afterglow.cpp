#include "afterglow.h"

#include "constants.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// Beyond this the beam's path from one frame to the next is not drawn: a jump of t this
// large comes from a redraw, not from the beam's run (dt is 0.1 at every start).
constexpr double kLongestPath = 1.0;
// The path of one frame is drawn with points as close as the figure's. Where that takes more
// than this many, the beam crosses the screen many times in a frame, the figure is a filled
// area, and the frame leaves only a dot where the beam stands.
constexpr double kMostPointsPerFrame = 16;

} // namespace

double afterglowBrightness(double age)
{
    if (!(age < kAfterglowSeconds))
        return 0;
    const double rest = std::exp(-kAfterglowSeconds / kAfterglowDecay);
    return (std::exp(-std::max(0.0, age) / kAfterglowDecay) - rest) / (1 - rest);
}

void AfterglowTrace::follow(double t, const Parameter& p, double now)
{
    m_now = now;
    const double path = t - m_lastT;
    // As close as the figure's points, where y runs Z / N times as fast as x.
    const double steps =
        std::ceil(path * std::max(1.0, std::abs(p.numerator / p.denominator)) / kLoopStep);
    if (m_following && path > 0 && path <= kLongestPath && steps <= kMostPointsPerFrame) {
        const int n = std::max(1, static_cast<int>(steps));
        for (int i = 1; i <= n; ++i) {
            const double share = static_cast<double>(i) / n;
            const Point point = deflection(m_lastT + path * share, p);
            add(point.x, point.y, m_lastTime + (now - m_lastTime) * share, true);
        }
    } else {
        const Point point = deflection(t, p);
        add(point.x, point.y, now, false);
    }
    m_following = true;
    m_lastT = t;
    m_lastTime = now;
    // A point goes once it is dark, unless it ends a segment whose newer end still glows.
    auto dark = [this](const TracePoint& point) {
        return !(m_now - point.time < kAfterglowSeconds);
    };
    while (!m_points.empty() && dark(m_points.front()) &&
           (m_points.size() == 1 || !m_points[1].joined || dark(m_points[1])))
        m_points.pop_front();
}

void AfterglowTrace::add(double x, double y, double time, bool joined)
{
    // A point without a place (a denominator of 0) leaves a gap in the path.
    if (!std::isfinite(x) || !std::isfinite(y)) {
        m_gap = true;
        return;
    }
    m_points.push_back({x, y, time, joined && !m_gap});
    ++m_added;
    m_gap = false;
}

void AfterglowTrace::clear()
{
    m_points.clear();
    m_following = false;
}

} // namespace korvelian
