#pragma once

#include <QString>

#include <optional>

namespace korvelian {

struct ControlLayout;

// A value for a scroll bar typed as a teacher writes it: a phase in degrees ("45", "22,5°"),
// an amplitude with a decimal comma or point ("1,5", "1.5").
struct TypedValue
{
    // The bar's value nearest to it; nothing when the text is refused.
    std::optional<int> barValue;
    // Why it is refused, or what the bar takes instead when that differs; else empty.
    QString message;
};

TypedValue readTypedValue(const ControlLayout& bar, const QString& text);

// A number with a decimal comma or point; nothing for anything else.
std::optional<double> readDecimal(QString text);

} // namespace korvelian
