#pragma once

#include "deflection.h"

#include <cstdint>
#include <deque>

namespace korvelian {

// A phosphor's afterglow: the beam lights the screen where it passes, and the light fades
// with the time since, whatever the frame rate: exponentially, falling to e^-1 of the way in
// kAfterglowDecay, and lowered so that it reaches nothing after kAfterglowSeconds instead of
// ending with a visible edge.
inline constexpr double kAfterglowDecay = 0.5;
inline constexpr double kAfterglowSeconds = 1.0;

// The light of a spot the beam passed age seconds ago: 1 at once, 0 after the afterglow.
double afterglowBrightness(double age);

struct TracePoint
{
    double x = 0;
    double y = 0;
    // The clock when the beam passed here.
    double time = 0;
    // Joined to the point before by the beam's path; the first point after a jump is not.
    bool joined = false;
};

// The path the beam left in the frames of the last second.
class AfterglowTrace
{
public:
    // A frame put the beam at t at clock time now. The path from the last frame's t to this
    // one is laid down along the figure, each point at the time the beam passed it; a t that
    // went back or far ahead (a redraw set it) starts a new piece without a path.
    void follow(double t, const Parameter& p, double now);
    void clear();

    const std::deque<TracePoint>& points() const { return m_points; }
    // The number of points()[0] among all the trace has ever laid down, clearings included:
    // a point keeps its number while older ones go.
    std::uint64_t firstNumber() const { return m_added - m_points.size(); }
    // The trace fades only while frames come: its time is the last frame's.
    double now() const { return m_now; }
    double brightness(const TracePoint& point) const
    {
        return afterglowBrightness(m_now - point.time);
    }

private:
    void add(double x, double y, double time, bool joined);

    std::deque<TracePoint> m_points;
    std::uint64_t m_added = 0;
    bool m_following = false;
    bool m_gap = false;
    double m_lastT = 0;
    double m_lastTime = 0;
    double m_now = 0;
};

} // namespace korvelian
