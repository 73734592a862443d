#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvelian {

// Numbers as a teacher or a class types them, in an answer or a lesson file: digits, a decimal
// comma or point, nothing else. Anything more (a sign, an exponent, a letter) is no number
// here, where the boxes' own reading would take a prefix of it.

std::string_view trimmed(std::string_view text);

// Digits only, at most nine of them.
std::optional<long> wholeNumber(std::string_view text);

// Digits, then optionally a comma or point and at most `decimals` digits.
std::optional<double> decimalNumber(std::string_view text, int decimals);

// "3:2", "3 : 2" or, with slash, "3/2": two whole numbers, whatever their size.
struct TypedRatio
{
    long numerator = 0;
    long denominator = 0;
};
std::optional<TypedRatio> typedRatio(std::string_view text, bool slash);

// What the ratio boxes would say of it: empty where it makes a figure, else the hint line's
// message (a number outside 1 to 32767, or a closing count above 32767).
std::string ratioRefusal(const TypedRatio& ratio);

} // namespace korvelian
