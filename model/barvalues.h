#pragma once

#include "constants.h"

#include <cmath>
#include <numbers>

namespace korvelian {

// A scroll position is hundredths of a screen unit (amplitudes) or of a radian (phases).
inline double barUnits(int barValue)
{
    return barValue / kScrollScale;
}

// The position nearest to a value in screen units or radians.
inline int barValue(double units)
{
    return static_cast<int>(std::lround(units * kScrollScale));
}

inline double phaseDegrees(int barValue)
{
    return barUnits(barValue) * 180.0 / std::numbers::pi;
}

// A phase bar's position for an angle in degrees: the nearest hundredth of a radian, so 90°
// gives 157 and 45° gives 79.
inline int phaseBarValue(double degrees)
{
    return barValue(degrees * std::numbers::pi / 180.0);
}

} // namespace korvelian
