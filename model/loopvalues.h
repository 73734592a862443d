#pragma once

#include <cstddef>

namespace korvelian {

// The figure loop's t = 0, 0.1, 0.2, ... is a chain of additions of kLoopStep, and each
// addition rounds. These give the chain's values without running it: within a power-of-two
// range of t every addition adds the same rounded step, so the i-th value is the range's
// first value plus a whole multiple of that step, exactly. They hold for t below 2^50;
// there the step rounds to nothing and the loop no longer advances.

// t after i additions.
double loopValue(std::size_t i);

// out[k] = loopValue(first + k) for k < n.
void loopValues(std::size_t first, std::size_t n, double* out);

// Whether values first .. first + n - 1 lie in one range of equal steps; then value first + k
// is start + k * step exactly, start being value first.
bool loopProgression(std::size_t first, std::size_t n, double& start, double& step);

// The first value after the range of equal steps that holds value i.
std::size_t loopProgressionEnd(std::size_t i);

// The t a figure is drawn at: the loop's own chain above (step 0), or t = i * step with a step
// of a few significant bits times a power of two (see exactStep), where every product and
// every start + k * step of the raster is exact, so that the whole figure is one range of
// equal steps.
struct LoopSteps
{
    double step = 0;

    bool chain() const { return step == 0; }
};

// The shortest step of at most kExactStepBits significant bits that is at least wanted.
inline constexpr int kExactStepBits = 10;
double exactStep(double wanted);

// The same as above for either kind of steps.
double loopValue(LoopSteps steps, std::size_t i);
void loopValues(LoopSteps steps, std::size_t first, std::size_t n, double* out);
bool loopProgression(LoopSteps steps, std::size_t first, std::size_t n, double& start,
                     double& step);
std::size_t loopProgressionEnd(LoopSteps steps, std::size_t i);

// How many values of the chain are <= end: the points of a loop that runs while t <= end.
// 0 for an end below 0 or not a number.
std::size_t loopCount(double end);

} // namespace korvelian
