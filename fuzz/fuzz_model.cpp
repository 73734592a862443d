// Any text in: the number reading, the 16-bit conversion and the closing-count guard must
// neither crash nor hang nor hit undefined behaviour. The input is split at its first
// newline into a denominator and a numerator text.
#include "model/kgv.h"
#include "model/numbertext.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvelian;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view denominatorText = input.substr(0, newline);
    const std::string_view numeratorText =
        newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    const double denominator = textNumber(denominatorText);
    const double numerator = textNumber(numeratorText);
    if (std::isnan(denominator) || std::isnan(numerator))
        std::abort();
    const auto rounded = toInt16(numerator);
    if (rounded && std::abs(*rounded - numerator) > 0.5)
        std::abort();

    const ClosingCount count = closingCount(numerator, denominator);
    if (count.fault == RatioFault::None) {
        if (count.value < 1 || count.value % static_cast<int>(denominator) != 0)
            std::abort();
        // What the boxes would show reads back as the same number.
        if (textNumber(numberText(count.value)) != count.value)
            std::abort();
    }
    if (std::isfinite(numerator) && textNumber(numberText(numerator)) != numerator &&
        std::abs(textNumber(numberText(numerator)) - numerator) > 1e-14 * std::abs(numerator))
        std::abort();
    return 0;
}
