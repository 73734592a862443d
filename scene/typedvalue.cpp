#include "typedvalue.h"

#include "form/layout.h"
#include "model/barvalues.h"
#include "model/numbertext.h"
#include "texts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korvelian {

namespace {

constexpr double kFullTurn = 360;
const std::string kDegreeSign = "°";

// The set value with as many decimals as it takes to differ from the typed one, at least one:
// 90° sets 89,95°, which to one decimal would read 90,0° again.
std::string differing(double set, double typed, int fewest)
{
    int decimals = fewest;
    while (decimals < 4 &&
           std::abs(std::round(set * std::pow(10, decimals)) / std::pow(10, decimals) - typed) <
               1e-9)
        ++decimals;
    return germanNumber(set, 'f', decimals);
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string trimmed(const std::string& text)
{
    auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits with at most one decimal mark among or before them, and at least one digit:
// "1", "1,", "1,5", ",5", after an optional sign.
bool isDecimal(const std::string& text)
{
    std::size_t at = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
    int digits = 0;
    bool mark = false;
    for (; at < text.size(); ++at) {
        if (isDigit(text[at])) {
            ++digits;
        } else if ((text[at] == ',' || text[at] == '.') && !mark) {
            mark = true;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::optional<double> readDecimal(std::string text)
{
    text = trimmed(text);
    if (!isDecimal(text))
        return std::nullopt;
    std::replace(text.begin(), text.end(), ',', '.');
    return std::strtod(text.c_str(), nullptr);
}

TypedValue readTypedValue(const ControlLayout& bar, const std::string& text)
{
    const bool amplitude = isAmplitudeBar(bar);
    std::string number = trimmed(text);
    if (!amplitude && endsWith(number, kDegreeSign))
        number.resize(number.size() - kDegreeSign.size());
    const std::optional<double> typed = readDecimal(number);
    if (!typed) {
        return {std::nullopt, amplitude
                                  ? "Bitte eine Zahl eingeben, etwa 1,5."
                                  : "Bitte einen Winkel in Grad eingeben, etwa 45 oder 22,5."};
    }
    const double largest = amplitude ? barUnits(bar.maximum) : kFullTurn;
    if (*typed < 0 || *typed > largest) {
        return {std::nullopt, amplitude
                                  ? "Die Amplitude reicht von 0 bis " + germanNumber(largest) + "."
                                  : "Die Phase reicht von 0° bis 360°."};
    }
    const std::string shown = germanNumber(*typed);
    if (amplitude) {
        const int value = barValue(*typed);
        const double set = barUnits(value);
        if (std::abs(set - *typed) < 1e-9)
            return {value, {}};
        return {value, shown + " → " + differing(set, *typed, 2) +
                           ": der Regler stellt in Hundertstel ein"};
    }
    // 360° is the bar's end, 628, a little short of a full turn.
    const int value = std::min(phaseBarValue(*typed), bar.maximum);
    const double set = phaseDegrees(value);
    if (std::abs(set - *typed) < 1e-9)
        return {value, {}};
    return {value, shown + "° → " + differing(set, *typed, 1) +
                       "°: der Regler stellt in Hundertstel Radiant ein"};
}

std::string valueEntryTitle(const ControlLayout& bar)
{
    return std::string(bar.accessibleName) + " eingeben";
}

std::string valueEntryPrompt(const ControlLayout& bar)
{
    return std::string(bar.accessibleName) +
           (isAmplitudeBar(bar) ? " von 0 bis 2:" : " in Grad, von 0 bis 360:");
}

std::string valueEntryStart(const ControlLayout& bar, int value)
{
    return isAmplitudeBar(bar) ? germanNumber(barUnits(value), 'f', 2)
                               : germanNumber(phaseDegrees(value), 'f', 1);
}

} // namespace korvelian
