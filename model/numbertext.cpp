#include "numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace korvelian {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// from_chars leaves the value untouched when it is out of range; decide from the decimal
// magnitude whether the text meant something too large or too small.
double outOfRange(bool negative, std::string_view mantissa, long long exponent)
{
    long long magnitude = 0;
    bool seenPoint = false;
    bool seenNonZero = false;
    for (char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
        } else if (isDigit(c)) {
            if (c != '0')
                seenNonZero = true;
            if (!seenPoint && seenNonZero)
                ++magnitude;
            else if (seenPoint && !seenNonZero)
                --magnitude;
        }
        if (seenPoint && seenNonZero)
            break;
    }
    const double huge = std::numeric_limits<double>::infinity();
    const double value = magnitude + exponent > 0 ? huge : 0.0;
    return negative ? -value : value;
}

struct Reading
{
    double value = 0;
    std::size_t length = 0;
};

Reading readNumber(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t size = text.size();
    while (i < size && isBlank(text[i]))
        ++i;

    bool negative = false;
    if (i < size && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t digits = 0;
    while (i < size && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < size && text[i] == '.') {
        ++i;
        while (i < size && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return {};
    const std::string_view mantissa = text.substr(mantissaStart, i - mantissaStart);

    // An exponent counts only with at least one digit; "1e" and "1e+" read as 1.
    std::size_t end = i;
    long long exponent = 0;
    if (i < size && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < size && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        const std::size_t exponentStart = j;
        while (j < size && isDigit(text[j])) {
            if (exponent < 1'000'000)
                exponent = exponent * 10 + (text[j] - '0');
            ++j;
        }
        if (j > exponentStart) {
            end = j;
            if (negativeExponent)
                exponent = -exponent;
        }
    }

    const char* first = text.data() + mantissaStart;
    const char* last = text.data() + end;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec == std::errc::result_out_of_range)
        return {outOfRange(negative, mantissa, exponent), end};
    if (ec != std::errc() || ptr != last)
        return {};
    return {negative ? -value : value, end};
}

} // namespace

double textNumber(std::string_view text)
{
    return readNumber(text).value;
}

std::size_t numberLength(std::string_view text)
{
    return readNumber(text).length;
}

std::string numberText(double value)
{
    if (value == 0.0)
        value = 0.0; // -0 is written like 0
    std::array<char, 64> buffer{};
    const auto [ptr, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 15);
    std::string digits(buffer.data(), ec == std::errc() ? ptr : buffer.data());
    for (char& c : digits) {
        if (c == 'e')
            c = 'E';
    }
    if (std::signbit(value))
        return digits;
    return " " + digits;
}

std::string germanNumber(double value, char format, int precision)
{
    if (value == 0)
        value = 0; // no sign on -0
    precision = std::clamp(precision, format == 'g' ? 1 : 0, 40);
    const char conversion[] = {'%', '.', '*', format == 'f' ? 'f' : 'e', '\0'};
    // printf rounds an exact tie to even; a class rounds it away from zero. A tie shows as a 5
    // followed only by zeros in the exact expansion, which a double's 53 bits end long before
    // the digits looked at here.
    const int place = format == 'f' ? precision : precision - 1;
    std::array<char, 512> exact{};
    std::snprintf(exact.data(), exact.size(), conversion, place + 40, value);
    const std::string_view digits(exact.data());
    const std::size_t point = digits.find('.');
    if (std::isfinite(value) && point != std::string_view::npos &&
        digits.substr(point + 1 + place, 1) == "5" &&
        digits.substr(point + 2 + place, 39).find_first_not_of('0') == std::string_view::npos)
        value =
            std::nextafter(value, std::copysign(std::numeric_limits<double>::infinity(), value));
    std::array<char, 512> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format == 'f' ? "%.*f" : "%.*g", precision, value);
    std::string text(buffer.data());
    for (char& c : text) {
        if (c == '.')
            c = ',';
        else if (c == 'e')
            c = 'E';
    }
    return text;
}

std::optional<std::int16_t> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    double whole = std::floor(value);
    const double rest = value - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole < -32768.0 || whole > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

} // namespace korvelian
