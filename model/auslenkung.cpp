#include "auslenkung.h"

#include <cmath>
#include <numbers>

namespace korvelian {

Point Auslenkung(double t, const Parameter& p)
{
    Point result;
    result.x = p.amplitudeX * std::sin(xAngle(t, p));
    result.y = p.amplitudeY * std::sin(yAngle(t, p));
    return result;
}

double yOscillationPhase(double p2, double z, double n)
{
    // In the formula's order: times Z, then divided by N.
    const double phase = std::fmod((p2 * z) / n, 2 * std::numbers::pi);
    return phase < 0 ? phase + 2 * std::numbers::pi : phase;
}

} // namespace korvelian
