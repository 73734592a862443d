#pragma once

#include "figurepoints.h"
#include "loopvalues.h"

#include <cstddef>
#include <vector>

namespace korvelian {

// "Feine Kurve": the figure with a step small enough that it looks as smooth as a scope draws
// it. The loop's step of 0.1 turns a fast y oscillation into a polygon: at 10 : 1 y advances a
// whole radian per step. Here neither oscillation advances much more than kFineAdvance per
// step, where the budget allows.

// Radians of the faster oscillation per step: a chord of an amplitude of 2 on a picture 8192
// pixels wide then leaves the arc by at most a fifth of a pixel.
inline constexpr double kFineAdvance = 0.02;
// The most points of one fine curve: at least as many as the loop draws at K = 32767, so that
// no fine curve is coarser than the loop's.
inline constexpr std::size_t kFineBudget = std::size_t{1} << 21;

struct FineCurve
{
    // The points at t = i * steps.step for i < count.
    std::size_t count = 0;
    LoopSteps steps;
    // The loop's own points serve instead: parameters that give no number somewhere.
    bool asLoop = false;
};

// The fine curve of the figure the loop draws up to end. It covers the t the loop covers; for
// a ratio of whole numbers, which the loop runs over several times (and at a large closing
// count ends a little short of closing), it goes once round the figure and closes. The step is
// kFineAdvance over the faster oscillation's rate, longer where the budget asks for it, and
// made exact (exactStep) a hair longer still.
FineCurve fineCurve(const Parameter& p, double end, std::size_t budget = kFineBudget);

// The curve's points into points[0 .. count), the vector grown as needed; the loop's own
// where the curve says so. Gives the count.
std::size_t fineCurvePoints(const Parameter& p, double end, std::size_t budget,
                            std::vector<FloatPoint>& points);

} // namespace korvelian
