#pragma once

#include <optional>
#include <string>

namespace korvelian {

struct ControlLayout;

// A value for a scroll bar typed as a teacher writes it: a phase in degrees ("45", "22,5°"),
// an amplitude with a decimal comma or point ("1,5", "1.5").
struct TypedValue
{
    // The bar's value nearest to it; nothing when the text is refused.
    std::optional<int> barValue;
    // Why it is refused, or what the bar takes instead when that differs; else empty.
    std::string message;
};

TypedValue readTypedValue(const ControlLayout& bar, const std::string& text);

// A number with a decimal comma or point; nothing for anything else.
std::optional<double> readDecimal(std::string text);

// What the entry of a bar's value asks, for the desktop's dialog and the page's alike: its
// title ("Amplitude x eingeben"), its prompt and the bar's value as the field starts with it,
// written as the readout writes it, ready to be typed over.
std::string valueEntryTitle(const ControlLayout& bar);
std::string valueEntryPrompt(const ControlLayout& bar);
std::string valueEntryStart(const ControlLayout& bar, int value);

} // namespace korvelian
