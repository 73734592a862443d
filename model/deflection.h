#pragma once

namespace korvelian {

// The six parameters of the two oscillations, already converted from their controls.
struct Parameter
{
    double amplitudeX = 0;
    double phaseX = 0;
    double amplitudeY = 0;
    double phaseY = 0;
    double numerator = 0; // of the frequency factor
    double denominator = 0;
    // "Wie im Lehrbuch": the y phase bar set the y oscillation's own phase, as a textbook
    // writes y = A_y sin((Z / N) t + phi_y). phaseY is still what the formula adds to t before
    // the factor, phi_y N / Z (textbookPhaseY), so that every point is computed as always; the
    // texts then show phi_y (shownPhaseY).
    bool textbook = false;

    bool operator==(const Parameter&) const = default;
};

struct Point
{
    double x = 0;
    double y = 0;
};

// The angles whose sines the deflections are. The y phase is added before the frequency
// factor acts, and the factor is a multiplication by Z followed by a division by N, never a
// precomputed quotient: the last bits of every point depend on that order.
inline double xAngle(double t, const Parameter& p)
{
    return t + p.phaseX;
}

inline double yAngle(double t, const Parameter& p)
{
    return ((t + p.phaseY) * p.numerator) / p.denominator;
}

// The beam's deflection at the running parameter t.
Point deflection(double t, const Parameter& p);

// The phase of the y oscillation itself, in radians from 0 to below 2 pi. The formula adds the
// y phase to t before the frequency factor acts, y = A_y sin((Z / N) t + phaseY Z / N), so the
// bar sets phaseY but the y oscillation is shifted by phaseY Z / N: at 2 : 1 a bar at 45°
// gives 90°.
double yOscillationPhase(double phaseY, double numerator, double denominator);

// The phase the formula adds to t for the y oscillation's own phase ownPhase, read as the
// textbook reads the bar: ownPhase N / Z, in the formula's order, times N, then divided by Z.
// A numerator of 0, which no figure is drawn with, leaves it as it is.
double textbookPhaseY(double ownPhase, double numerator, double denominator);

// The y phase as the texts show it: the bar's phase, or with "Wie im Lehrbuch" the y
// oscillation's own.
double shownPhaseY(const Parameter& p);

} // namespace korvelian
