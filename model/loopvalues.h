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

// How many values of the chain are <= end: the points of a loop that runs while t <= end.
// 0 for an end below 0 or not a number.
std::size_t loopCount(double end);

} // namespace korvelian
