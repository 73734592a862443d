#include "driftstep.h"

#include "constants.h"

#include <cmath>

namespace korvelian {

int driftedPhase(int start, double elapsed, double secondsPerTurn)
{
    if (!(elapsed > 0) || !(secondsPerTurn > 0))
        return start;
    // A step is due once its time has passed; the small allowance keeps a whole number of
    // steps that the clock reached exactly from falling a hair short.
    const double turns = std::fmod(elapsed / secondsPerTurn, 1.0);
    const int steps = static_cast<int>(std::floor(turns * kPhaseSteps + 1e-9));
    const int value = start + steps;
    return value <= kPhaseSteps ? value : (value - 1) % kPhaseSteps + 1;
}

} // namespace korvelian
