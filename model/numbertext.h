#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvelian {

// Reads the longest numeric prefix after leading blanks: sign, digits, point, digits,
// exponent. Anything else reads as 0. A magnitude beyond a double reads as an infinity
// of its sign, one too small as zero; callers that need a finite value check for it.
double textNumber(std::string_view text);

// How much of text that reading takes, leading blanks included: what follows it is not read.
std::size_t numberLength(std::string_view text);

// Writes a number the way the boxes show it: one leading blank before a non-negative
// number, "-" before a negative one, no decimal part for whole numbers, a point whatever
// the locale, at most 15 significant digits (so 2.1 + 1 gives " 3.1").
std::string numberText(double value);

// Writes a number for a class to read: a decimal comma, no group separator (32767, never
// "32.767", which reads as a decimal), a capital E before an exponent. format is 'f' (that
// many decimals) or 'g' (that many significant digits, trailing zeros dropped, an exponent
// below 10^-4 and from 10^precision on); a tie of the double's exact value rounds away from
// zero (2.675, just below its tie, gives "2,67"), a negative number that rounds to 0 keeps its
// sign ("-0,00"), and -0 is written 0.
std::string germanNumber(double value, char format = 'g', int precision = 10);

// Rounds to the nearest whole number, ties to the even neighbour (2.5 -> 2, 3.5 -> 4).
// A value that does not fit a 16-bit signed integer, or is not finite, gives nothing.
std::optional<std::int16_t> toInt16(double value);

} // namespace korvelian
