#include "deflection.h"

#include "constants.h"

#include <cmath>

namespace korvelian {

Point deflection(double t, const Parameter& p)
{
    Point result;
    result.x = p.amplitudeX * std::sin(xAngle(t, p));
    result.y = p.amplitudeY * std::sin(yAngle(t, p));
    return result;
}

double yOscillationPhase(double phaseY, double numerator, double denominator)
{
    // In the formula's order: times Z, then divided by N.
    const double phase = std::fmod((phaseY * numerator) / denominator, kTurn);
    return phase < 0 ? phase + kTurn : phase;
}

double textbookPhaseY(double ownPhase, double numerator, double denominator)
{
    return numerator == 0 ? ownPhase : (ownPhase * denominator) / numerator;
}

double shownPhaseY(const Parameter& p)
{
    return p.textbook ? yOscillationPhase(p.phaseY, p.numerator, p.denominator) : p.phaseY;
}

} // namespace korvelian
