#include "typedvalues.h"

#include "handlers/messages.h"
#include "model/kgv.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace korvelian {

namespace {

constexpr std::size_t kLongestWhole = 9;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), isDigit);
}

} // namespace

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<long> wholeNumber(std::string_view text)
{
    if (!allDigits(text) || text.size() > kLongestWhole)
        return std::nullopt;
    long value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return value;
}

std::optional<double> decimalNumber(std::string_view text, int decimals)
{
    const std::size_t separator = text.find_first_of(".,");
    if (!wholeNumber(text.substr(0, separator)))
        return std::nullopt;
    std::string number(text);
    if (separator != std::string_view::npos) {
        const std::string_view fraction = text.substr(separator + 1);
        if (!allDigits(fraction) || fraction.size() > static_cast<std::size_t>(decimals))
            return std::nullopt;
        number[separator] = '.';
    }
    // The double nearest to the decimal, whatever the locale: what was written comes back.
    // The browser's C++ library has no from_chars for a double: its strtod, in the only
    // locale there is, rounds to nearest too.
#if defined(__cpp_lib_to_chars)
    double value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
#else
    return std::strtod(number.c_str(), nullptr);
#endif
}

std::optional<TypedRatio> typedRatio(std::string_view text, bool slash)
{
    std::size_t separator = text.find(':');
    if (separator == std::string_view::npos && slash)
        separator = text.find('/');
    if (separator == std::string_view::npos)
        return std::nullopt;
    const std::optional<long> numerator = wholeNumber(trimmed(text.substr(0, separator)));
    const std::optional<long> denominator = wholeNumber(trimmed(text.substr(separator + 1)));
    if (!numerator || !denominator)
        return std::nullopt;
    return TypedRatio{*numerator, *denominator};
}

std::string ratioRefusal(const TypedRatio& ratio)
{
    const ClosingCount count =
        closingCount(static_cast<double>(ratio.numerator), static_cast<double>(ratio.denominator));
    switch (count.fault) {
    case RatioFault::None:
        return {};
    case RatioFault::TooLarge:
        return kRatioTooLarge;
    case RatioFault::Numerator:
    case RatioFault::Denominator:
        break;
    }
    return kRatioDomain;
}

} // namespace korvelian
