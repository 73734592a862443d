#include "typedvalue.h"

#include "model/barvalues.h"
#include "form/layout.h"
#include "model/numbertext.h"
#include "scene/texts.h"

#include <QRegularExpression>

#include <cmath>

namespace korvelian {

namespace {

constexpr double kFullTurn = 360;

// The set value with as many decimals as it takes to differ from the typed one, at least one:
// 90° sets 89,95°, which to one decimal would read 90,0° again.
QString differing(double set, double typed, int fewest)
{
    int decimals = fewest;
    while (decimals < 4 &&
           std::abs(std::round(set * std::pow(10, decimals)) / std::pow(10, decimals) - typed) <
               1e-9)
        ++decimals;
    return QString::fromStdString(germanNumber(set, 'f', decimals));
}

} // namespace

std::optional<double> readDecimal(QString text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
    text = text.trimmed();
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return text.replace(',', '.').toDouble();
}

TypedValue readTypedValue(const ControlLayout& bar, const QString& text)
{
    const bool amplitude = isAmplitudeBar(bar);
    QString number = text.trimmed();
    if (!amplitude && number.endsWith(QStringLiteral("°")))
        number.chop(1);
    const std::optional<double> typed = readDecimal(number);
    if (!typed) {
        return {std::nullopt, amplitude ? QStringLiteral("Bitte eine Zahl eingeben, etwa 1,5.")
                                        : QStringLiteral("Bitte einen Winkel in Grad eingeben, "
                                                         "etwa 45 oder 22,5.")};
    }
    const double largest = amplitude ? barUnits(bar.maximum) : kFullTurn;
    if (*typed < 0 || *typed > largest) {
        return {std::nullopt, amplitude ? QStringLiteral("Die Amplitude reicht von 0 bis %1.")
                                              .arg(QString::fromStdString(germanNumber(largest)))
                                        : QStringLiteral("Die Phase reicht von 0° bis 360°.")};
    }
    const QString shown = QString::fromStdString(germanNumber(*typed));
    if (amplitude) {
        const int value = barValue(*typed);
        const double set = barUnits(value);
        if (std::abs(set - *typed) < 1e-9)
            return {value, {}};
        return {value, QStringLiteral("%1 → %2: der Regler stellt in Hundertstel ein")
                           .arg(shown, differing(set, *typed, 2))};
    }
    // 360° is the bar's end, 628, a little short of a full turn.
    const int value = std::min(phaseBarValue(*typed), bar.maximum);
    const double set = phaseDegrees(value);
    if (std::abs(set - *typed) < 1e-9)
        return {value, {}};
    return {value, QStringLiteral("%1° → %2°: der Regler stellt in Hundertstel Radiant ein")
                       .arg(shown, differing(set, *typed, 1))};
}

} // namespace korvelian
