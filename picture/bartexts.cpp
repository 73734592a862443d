#include "bartexts.h"

#include "model/deflection.h"
#include "model/barvalues.h"
#include "form/layout.h"

#include <QLocale>

#include <cmath>
#include <numbers>

namespace korvelian {

namespace {

QString decimals(double value, int count)
{
    return QLocale(QLocale::German, QLocale::Germany).toString(value, 'f', count);
}

} // namespace

QString speedText(double dt)
{
    if (!(dt > 0) || !std::isfinite(dt))
        return QStringLiteral("Geschwindigkeit: 0 rad je Bild; „Schwingung“ beginnt mit 0,1");
    const QLocale german(QLocale::German, QLocale::Germany);
    QString text =
        QStringLiteral("Geschwindigkeit: %1 rad je Bild").arg(german.toString(dt, 'g', 3));
    const double frames = 2 * std::numbers::pi / dt;
    if (frames >= 1)
        text += QStringLiteral(", ein Umlauf von x in %1 Bildern").arg(std::lround(frames));
    return text;
}

bool isAmplitudeBar(const ControlLayout& bar)
{
    return bar.scrollBar == ScrollBar::AmplitudeX || bar.scrollBar == ScrollBar::AmplitudeY;
}

QString yOscillationPhaseText(int value, double numerator, double denominator)
{
    return yOscillationPhaseLine(barUnits(value), numerator, denominator);
}

QString yOscillationPhaseLine(double p2, double numerator, double denominator)
{
    const double phase = yOscillationPhase(p2, numerator, denominator);
    return QStringLiteral("Phase der y-Schwingung: %1°")
        .arg(decimals(phase * 180 / std::numbers::pi, 1));
}

QString barText(const ControlLayout& bar, int value, double numerator, double denominator)
{
    const QString name = QString::fromUtf8(bar.accessibleName);
    if (isAmplitudeBar(bar))
        return QStringLiteral("%1: %2").arg(name, decimals(barUnits(value), 2));
    const double degrees = phaseDegrees(value);
    const bool exact = std::round(degrees * 10) == degrees * 10;
    QString text =
        QStringLiteral("%1: %2 rad %3 %4°")
            .arg(name, decimals(barUnits(value), 2),
                 exact ? QStringLiteral("=") : QStringLiteral("≈"), decimals(degrees, 1));
    if (bar.scrollBar == ScrollBar::PhaseY && numerator != denominator)
        text += QStringLiteral(" (%1)").arg(yOscillationPhaseText(value, numerator, denominator));
    return text;
}

} // namespace korvelian
