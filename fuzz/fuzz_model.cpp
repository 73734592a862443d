// Any text in: the number reading, the 16-bit conversion and the closing-count guard must
// neither crash nor hang nor hit undefined behaviour. The input is split at its first
// newline into a denominator and a numerator text.
#include "kgv.h"
#include "numbertext.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace korvelian;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view nennerText = input.substr(0, newline);
    const std::string_view zaehlerText =
        newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    const double nenner = textNumber(nennerText);
    const double zaehler = textNumber(zaehlerText);
    if (std::isnan(nenner) || std::isnan(zaehler))
        std::abort();
    const auto rounded = toInt16(zaehler);
    if (rounded && std::abs(*rounded - zaehler) > 0.5)
        std::abort();

    const ClosingCount count = closingCount(nenner, zaehler);
    if (count.fault == RatioFault::None) {
        if (count.value < 1 || count.value % static_cast<int>(nenner) != 0)
            std::abort();
        // What the boxes would show reads back as the same number.
        if (textNumber(numberText(count.value)) != count.value)
            std::abort();
    }
    if (std::isfinite(zaehler) && textNumber(numberText(zaehler)) != zaehler &&
        std::abs(textNumber(numberText(zaehler)) - zaehler) > 1e-14 * std::abs(zaehler))
        std::abort();
    return 0;
}
