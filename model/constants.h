#pragma once

#include <cmath>
#include <numbers>

namespace korvelian {

// The screen's frame runs from -kScreenEdge to kScreenEdge on both axes, so an amplitude of 1
// reaches half-way from the centre to an edge.
inline constexpr double kScreenEdge = 2;

// Scroll positions are hundredths of a screen unit or of a radian.
inline constexpr double kScrollScale = 100.0;

// The figure loop runs t = 0, 0.1, 0.2, ... while t <= (K + K) * kHalfTurn + kEndMargin.
// 3.1415 is deliberately not pi: the point count of every figure (64 for K = 1, 6284 for
// K = 100) follows from it, and large K end a little short of closing because of it.
inline constexpr double kHalfTurn = 3.1415;
inline constexpr double kLoopStep = 0.1;
inline constexpr double kEndMargin = 0.1;

// A whole turn in radians, exactly as far as a double holds it: where angles are wrapped or
// periods counted, not the figure loop's 2 * kHalfTurn.
inline constexpr double kTurn = 2 * std::numbers::pi;
// A turn in degrees, as a phase is given on the command line, in a link or a lesson.
inline constexpr double kTurnDegrees = 360;

// The last value of t the figure loop may reach for closing count k, in this order: k
// doubled, times the half turn, plus the margin.
constexpr double loopEnd(double k)
{
    return (k + k) * kHalfTurn + kEndMargin;
}

// The closing count whose figure loop ends at end: loopEnd undone, to the nearest whole.
inline long closingCountOf(double end)
{
    return std::lround((end - kEndMargin) / (2 * kHalfTurn));
}

// Numerator, denominator and closing count are 16-bit whole numbers from 1 up to this.
inline constexpr int kLargestWhole = 32767;

// The speed bar is full at this step.
inline constexpr double kSpeedBarEnd = 0.2;

// Animation: every start resets the step; a frame lasts at least the pause.
inline constexpr double kStartStep = 0.1;
inline constexpr double kFramePause = 0.01;
// Subtracted from a deflection to give a shape's corner; not half the shape's size.
inline constexpr double kOverlayOffset = 0.03;

// Speed buttons. 0.9 is not 1 / 1.1, so "+" then "-" leaves the step at 0.99 times.
inline constexpr double kFaster = 1.1;
inline constexpr double kSlower = 0.9;

// The phase bars run from 0 to this many hundredths of a radian: their end, 6.28, is the
// turn they show as 360 degrees.
inline constexpr int kPhaseSteps = 628;

} // namespace korvelian
