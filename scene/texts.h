#pragma once

#include <string>
#include <vector>

namespace korvelian {

struct ScreenPicture;

struct ControlLayout;

// The texts the pictures and readouts write, as a physics class reads them (German, a decimal
// comma), as UTF-8 and, where marked, as rich text (see item::RichText).

// Radians in degrees to one decimal: "45,3°".
std::string degreesText(double radians);
// "f<sub>y</sub>": a letter with its index, as rich text.
std::string indexed(const std::string& letter, const std::string& index);

// What a scroll bar's value means as a physics class reads it, for the readout beside the bar,
// its accessible value, the print caption and the reading aid: "Amplitude y: 1,50",
// "Phase x: 1,57 rad ≈ 90,0°". The amplitude has two decimals; the phase is in radians to two
// decimals and in degrees to one. A bar's value is a whole number of hundredths, so the radians
// are exact; the degrees are a multiple of 180 / pi and so rounded for every value but 0, which
// alone gets "=". numerator and denominator are the ratio in use: for any other than Z = N the y
// phase bar names the phase of the y oscillation too, "Phase y: 0,79 rad ≈ 45,3° (Phase der
// y-Schwingung: 90,5°)". With "Wie im Lehrbuch" (textbook) the bar sets that phase itself, and
// the parenthesis goes.
std::string barText(const ControlLayout& bar, int value, double numerator, double denominator,
                    bool textbook = false);

// "Phase der y-Schwingung: 90,5°" for the y phase bar at value and the ratio numerator :
// denominator.
std::string yOscillationPhaseText(int value, double numerator, double denominator);
// The same for a y phase in radians that no bar need hold, as the overview plate's 45°.
std::string yOscillationPhaseLine(double phaseY, double numerator, double denominator);

bool isAmplitudeBar(const ControlLayout& bar);

// The speed bar's step dt as a class reads it, for its tooltip: "Geschwindigkeit: 0,121 rad je
// Bild, ein Umlauf von x in 52 Bildern".
std::string speedText(double dt);

// What a saved picture says of its figure (a file's description, the lines beneath a print):
// the bars' readouts and the ratio with its closing count; nothing before any figure, nor
// while its numbers are withheld.
std::vector<std::string> parameterLines(const ScreenPicture& picture);

} // namespace korvelian
