#pragma once

#include <QString>

namespace korvelian {

struct ControlLayout;

// What a scroll bar's value means as a physics class reads it, for the readout beside the bar,
// its accessible value, the print caption and the reading aid: "Amplitude y: 1,50",
// "Phase x: 1,57 rad ≈ 90,0°". The amplitude has two decimals; the phase is in radians to two
// decimals and in degrees to one. A bar's value is a whole number of hundredths, so the radians
// are exact; the degrees are a multiple of 180 / pi and so rounded for every value but 0, which
// alone gets "=". numerator and denominator are the ratio in use: for any other than Z = N the y
// phase bar names the phase of the y oscillation too, "Phase y: 0,79 rad ≈ 45,3° (Phase der
// y-Schwingung: 90,5°)".
QString barText(const ControlLayout& bar, int value, double numerator, double denominator);

// "Phase der y-Schwingung: 90,5°" for the y phase bar at value and the ratio numerator :
// denominator.
QString yOscillationPhaseText(int value, double numerator, double denominator);
// The same for a y phase p2 in radians that no bar need hold, as the overview plate's 45°.
QString yOscillationPhaseLine(double p2, double numerator, double denominator);

bool isAmplitudeBar(const ControlLayout& bar);

// The speed bar's step dt as a class reads it, for its tooltip: "Geschwindigkeit: 0,121 rad je
// Bild, ein Umlauf von x in 52 Bildern".
QString speedText(double dt);

} // namespace korvelian
