#pragma once

#include <array>

namespace korvelian {

// Two generators a hair apart from the set ratio: the y phase runs on steadily, so the figure
// turns through all its shapes. By default one turn of the phase bar takes 20 seconds.
inline constexpr double kDriftSecondsPerTurn = 20;
// What the menu offers, from slow to fast.
inline constexpr std::array<double, 5> kDriftChoices{{80, 40, 20, 10, 5}};

// The phase bar's position after the drift ran elapsed seconds from start: a step whenever
// another 1 / kPhaseSteps of a turn has passed. Past the bar's end it goes on from 1, since
// the end is a full turn, the same as 0.
int driftedPhase(int start, double elapsed, double secondsPerTurn);

} // namespace korvelian
