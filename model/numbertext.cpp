#include "numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

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

// A decimal number, digits with a point and an exponent as readNumber has checked them, read
// as std::from_chars reads it: correctly rounded, out of range only where it would be infinite
// or zero. WebAssembly's libc++ has no floating from_chars; its strtod, in the C locale the
// program never leaves, reads the same text to the same double.
std::from_chars_result readDecimal(const char* first, const char* last, double& value)
{
#if defined(__wasi__)
    const std::string text(first, last);
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(text.c_str(), &end);
    const char* ptr = first + (end - text.c_str());
    if (ptr == first)
        return {first, std::errc::invalid_argument};
    if (errno == ERANGE && (read == 0 || std::isinf(read)))
        return {ptr, std::errc::result_out_of_range};
    value = read;
    return {ptr, std::errc()};
#else
    return std::from_chars(first, last, value);
#endif
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

// A magnitude as its significant digits, without trailing zeros, and the place of its point:
// the value is 0.digits × 10^point. No digits for 0.
struct Digits
{
    std::string digits;
    int point = 0;
};

Digits exactDigits(double magnitude)
{
    // A double has at most 1074 binary places after the point, so as many decimal ones: this
    // is its exact value, where a tie shows as a 5 followed only by zeros.
    constexpr int kAllPlaces = 1074;
    std::array<char, 1400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                       std::chars_format::fixed, kAllPlaces);
    const std::string_view text(buffer.data(),
                                static_cast<std::size_t>(written.ptr - buffer.data()));
    const std::size_t dot = text.find('.');
    Digits d{std::string(text.substr(0, dot)) + std::string(text.substr(dot + 1)),
             static_cast<int>(dot)};
    const std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return {};
    d.digits.erase(0, first);
    d.point -= static_cast<int>(first);
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    return d;
}

// Keeps count significant digits, a tie and above rounding up (away from zero, as a class
// rounds), and drops trailing zeros.
void roundDigits(Digits& d, int count)
{
    if (count < 0) {
        d = {};
        return;
    }
    const auto keep = static_cast<std::size_t>(count);
    if (keep >= d.digits.size())
        return;
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (up) {
        std::size_t i = keep;
        while (i > 0 && d.digits[i - 1] == '9')
            d.digits[--i] = '0';
        if (i == 0) {
            // 0.99… rounds to 1: one digit more in front, the rest are zeros.
            d.digits.assign(1, '1');
            ++d.point;
        } else {
            ++d.digits[i - 1];
        }
    }
    const std::size_t last = d.digits.find_last_not_of('0');
    d.digits.erase(last == std::string::npos ? 0 : last + 1);
}

// The digit of d at place i after its point, 0 outside its digits.
char digitAt(const Digits& d, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < d.digits.size()
               ? d.digits[static_cast<std::size_t>(i)]
               : '0';
}

std::string fixedText(const Digits& d, int decimals, bool trailingZeros)
{
    std::string text(d.point > 0 ? 0 : 1, '0');
    for (int i = 0; i < d.point; ++i)
        text += digitAt(d, i);
    std::string fraction;
    for (int i = 0; i < decimals; ++i)
        fraction += digitAt(d, d.point + i);
    if (!trailingZeros) {
        const std::size_t last = fraction.find_last_not_of('0');
        fraction.erase(last == std::string::npos ? 0 : last + 1);
    }
    if (!fraction.empty())
        text.append(1, ',').append(fraction);
    return text;
}

std::string exponentText(const Digits& d, int exponent)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1)
        text.append(1, ',').append(d.digits, 1);
    const int magnitude = std::abs(exponent);
    text.append(exponent < 0 ? "E-" : "E+");
    if (magnitude < 10)
        text.append(1, '0');
    return text.append(std::to_string(magnitude));
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
    const auto [ptr, ec] = readDecimal(first, last, value);
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
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    Digits d = exactDigits(std::abs(value));
    std::string text;
    if (format == 'f') {
        roundDigits(d, d.point + precision);
        text = fixedText(d, precision, true);
    } else {
        const int significant = std::max(precision, 1);
        roundDigits(d, significant);
        const int exponent = d.point - 1;
        text = !d.digits.empty() && (exponent < -4 || exponent >= significant)
                   ? exponentText(d, exponent)
                   : fixedText(d, std::max(0, significant - 1 - exponent), false);
    }
    if (value < 0)
        text.insert(text.begin(), '-');
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
