#include "texts.h"

#include "drawing.h"
#include "form/layout.h"
#include "model/constants.h"
#include "model/barvalues.h"
#include "model/deflection.h"
#include "model/numbertext.h"
#include "screenpicture.h"

#include <cmath>
#include <numbers>

namespace korvelian {

std::string degreesText(double radians)
{
    return germanNumber(radians * 180 / std::numbers::pi, 'f', 1) + "°";
}

std::string indexed(const std::string& letter, const std::string& index)
{
    return letter + "<sub>" + index + "</sub>";
}

std::string speedText(double dt)
{
    if (!(dt > 0) || !std::isfinite(dt))
        return "Geschwindigkeit: 0 rad je Bild; „Schwingung“ beginnt mit 0,1";
    std::string text = "Geschwindigkeit: " + germanNumber(dt, 'g', 3) + " rad je Bild";
    const double frames = 2 * std::numbers::pi / dt;
    if (frames >= 1)
        text += ", ein Umlauf von x in " + std::to_string(std::lround(frames)) + " Bildern";
    return text;
}

bool isAmplitudeBar(const ControlLayout& bar)
{
    return bar.scrollBar == ScrollBar::AmplitudeX || bar.scrollBar == ScrollBar::AmplitudeY;
}

std::string yOscillationPhaseText(int value, double numerator, double denominator)
{
    return yOscillationPhaseLine(barUnits(value), numerator, denominator);
}

std::string yOscillationPhaseLine(double phaseY, double numerator, double denominator)
{
    const double phase = yOscillationPhase(phaseY, numerator, denominator);
    return "Phase der y-Schwingung: " + germanNumber(phase * 180 / std::numbers::pi, 'f', 1) + "°";
}

std::string barText(const ControlLayout& bar, int value, double numerator, double denominator,
                    bool textbook)
{
    const std::string name = bar.accessibleName;
    if (isAmplitudeBar(bar))
        return name + ": " + germanNumber(barUnits(value), 'f', 2);
    const double degrees = phaseDegrees(value);
    const bool exact = std::round(degrees * 10) == degrees * 10;
    std::string text = name + ": " + germanNumber(barUnits(value), 'f', 2) + " rad " +
                       (exact ? "=" : "≈") + " " + germanNumber(degrees, 'f', 1) + "°";
    if (bar.scrollBar == ScrollBar::PhaseY && numerator != denominator && !textbook)
        text += " (" + yOscillationPhaseText(value, numerator, denominator) + ")";
    return text;
}

std::vector<std::string> parameterLines(const ScreenPicture& picture)
{
    const DrawOp* figure = lastFigure(picture.drawing);
    if (!figure || picture.numbersWithheld)
        return {};
    const Parameter& p = figure->parameters;
    const auto readout = [&p](ScrollBar bar, double value) {
        return barText(control(bar), barValue(value), p.numerator, p.denominator, p.textbook);
    };
    // As the numerator and denominator boxes write them: 32767 without a thousands point,
    // which a German reader would take for a decimal, and 2.5 with the boxes' point.
    const auto boxNumber = [](double value) {
        std::string text = numberText(value);
        const std::size_t first = text.find_first_not_of(" \t\n\r");
        const std::size_t last = text.find_last_not_of(" \t\n\r");
        return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    };
    return {readout(ScrollBar::AmplitudeX, p.amplitudeX) + "    " +
                readout(ScrollBar::PhaseX, p.phaseX),
            readout(ScrollBar::AmplitudeY, p.amplitudeY) + "    " +
                readout(ScrollBar::PhaseY, shownPhaseY(p)),
            "Frequenzfaktor: " + boxNumber(p.numerator) + " / " + boxNumber(p.denominator) +
                "    kgV: " + std::to_string(closingCountOf(figure->end))};
}

} // namespace korvelian
