#include "linksetting.h"

#include "layout.h"
#include "model/barvalues.h"
#include "model/constants.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvelian {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits, at least one and at most most (0: any number).
std::size_t digits(std::string_view text, std::size_t from, std::size_t most = 0)
{
    std::size_t n = 0;
    while (from + n < text.size() && isDigit(text[from + n]) && (most == 0 || n < most))
        ++n;
    return n;
}

// -?\d+
bool wholeNumber(std::string_view text)
{
    const std::size_t sign = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > sign && digits(text, sign) == text.size() - sign;
}

std::string readRatio(std::string_view name, std::string_view value, LinkSetting& setting)
{
    const std::size_t colon = value.find(':');
    if (colon == std::string_view::npos || !wholeNumber(value.substr(0, colon)) ||
        !wholeNumber(value.substr(colon + 1))) {
        return std::string(name) + " erwartet Zähler:Nenner aus ganzen Zahlen, etwa 3:2, nicht " +
               quotedArgument(value) + ".";
    }
    setting.ratio =
        std::pair(std::string(value.substr(0, colon)), std::string(value.substr(colon + 1)));
    return {};
}

// \d{1,3}([.,]\d{1,2})? in hundredths, at most the bar's maximum.
std::string readAmplitude(std::string_view name, std::string_view value, ScrollBar bar,
                          LinkSetting& setting)
{
    const int maximum = control(bar).maximum;
    const std::size_t whole = digits(value, 0, 3);
    int hundredths = -1;
    if (whole > 0) {
        hundredths = std::atoi(std::string(value.substr(0, whole)).c_str()) * 100;
        if (whole < value.size()) {
            const std::size_t decimals = digits(value, whole + 1, 2);
            if ((value[whole] != '.' && value[whole] != ',') || decimals == 0 ||
                whole + 1 + decimals != value.size()) {
                hundredths = -1;
            } else {
                std::string part(value.substr(whole + 1, decimals));
                part.resize(2, '0');
                hundredths += std::atoi(part.c_str());
            }
        }
    }
    if (hundredths < 0 || hundredths > maximum) {
        char largest[16];
        std::snprintf(largest, sizeof largest, "%g", barUnits(maximum));
        return std::string(name) + " erwartet eine Zahl von 0 bis " + largest +
               " mit höchstens zwei Nachkommastellen, etwa 1,5, nicht " + quotedArgument(value) +
               ".";
    }
    setting.values.emplace_back(bar, static_cast<std::int16_t>(hundredths));
    return {};
}

// \d{1,3}([.,]\d+)? degrees, at most a turn.
std::string readPhase(std::string_view name, std::string_view value, ScrollBar bar,
                      LinkSetting& setting)
{
    const std::size_t whole = digits(value, 0, 3);
    bool good = whole > 0;
    if (good && whole < value.size()) {
        const std::size_t decimals = digits(value, whole + 1);
        good = (value[whole] == '.' || value[whole] == ',') && decimals > 0 &&
               whole + 1 + decimals == value.size();
    }
    std::string number(value);
    for (char& c : number) {
        if (c == ',')
            c = '.';
    }
    const double degrees = good ? std::strtod(number.c_str(), nullptr) : 0;
    if (!good || degrees > kTurnDegrees) {
        return std::string(name) + " erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht " +
               quotedArgument(value) + ".";
    }
    setting.values.emplace_back(bar, static_cast<std::int16_t>(phaseBarValue(degrees)));
    return {};
}

struct Option
{
    const char* name;
    std::optional<ScrollBar> bar;
};

constexpr std::array<Option, 6> kOptions{{{"ratio", std::nullopt},
                                          {"amplitude-x", ScrollBar::AmplitudeX},
                                          {"phase-x", ScrollBar::PhaseX},
                                          {"amplitude-y", ScrollBar::AmplitudeY},
                                          {"phase-y", ScrollBar::PhaseY},
                                          {"y-up", std::nullopt}}};

} // namespace

std::string quotedArgument(std::string_view value)
{
    constexpr std::size_t kShown = 24;
    std::size_t shown = std::min(kShown, value.size());
    // Not within a character of several bytes.
    while (shown < value.size() && shown > 0 &&
           (static_cast<unsigned char>(value[shown]) & 0xc0) == 0x80)
        --shown;
    std::string text = "'";
    text.append(value.substr(0, shown));
    if (shown < value.size())
        text += "…";
    text += '\'';
    return text;
}

std::string readStartValue(std::string_view option, std::string_view value,
                           std::string_view shownName, LinkSetting& setting)
{
    const auto* found = std::find_if(kOptions.begin(), kOptions.end(),
                                     [option](const Option& o) { return option == o.name; });
    if (found == kOptions.end() || option == "y-up")
        return "Unbekannte Angabe " + quotedArgument(option) + ".";
    if (option == "ratio")
        return readRatio(shownName, value, setting);
    if (option.starts_with("amplitude"))
        return readAmplitude(shownName, value, *found->bar, setting);
    return readPhase(shownName, value, *found->bar, setting);
}

namespace {

std::string degreesText(double degrees)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", degrees);
    std::string s(text);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    return s;
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

} // namespace

void applyLink(const LinkSetting& setting, WindowOperations& window)
{
    for (const auto& [bar, value] : setting.values)
        window.setScrollValue(bar, value);
    if (setting.ratio) {
        window.setText(TextBox::Numerator, setting.ratio->first);
        window.setText(TextBox::Denominator, setting.ratio->second);
    }
}

std::string linkFragment(WindowOperations& window, bool yUp)
{
    std::string fragment;
    const auto add = [&fragment](const std::string& part) {
        if (!fragment.empty())
            fragment += '&';
        fragment += part;
    };
    const std::string numerator = trimmed(window.text(TextBox::Numerator));
    const std::string denominator = trimmed(window.text(TextBox::Denominator));
    if (numerator != control(TextBox::Numerator).caption ||
        denominator != control(TextBox::Denominator).caption)
        add("ratio=" + numerator + ":" + denominator);
    for (const Option& option : kOptions) {
        if (!option.bar)
            continue;
        const int value = window.scrollValue(*option.bar);
        if (value == control(*option.bar).value)
            continue;
        char text[16];
        std::snprintf(text, sizeof text, "%g", barUnits(value));
        add(std::string(option.name) + "=" +
            (option.name[0] == 'a' ? std::string(text) : degreesText(phaseDegrees(value))));
    }
    if (yUp)
        add("y-up");
    return fragment;
}

} // namespace korvelian
