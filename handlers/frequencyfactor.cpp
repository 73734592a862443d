#include "frequencyfactor.h"

#include "model/constants.h"
#include "figureplotter.h"
#include "hintline.h"
#include "model/kgv.h"
#include "messages.h"
#include "model/numbertext.h"
#include "ratioinuse.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace korvelian {

namespace {

// A number as the hint line writes it: as many digits as the boxes show.
std::string shown(double value)
{
    return germanNumber(value, 'g', 15);
}

// A long number to eight digits, so that the hint keeps to the line: "≈ 3,1415927".
std::string shownShort(double value)
{
    constexpr std::size_t kLongest = 10;
    const std::string exact = shown(value);
    if (exact.size() <= kLongest)
        return exact;
    return "≈ " + germanNumber(value, 'g', 8);
}

std::string_view withoutBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// An entry as the hint quotes it: its first twelve characters, "…" for the rest.
std::string quotedEntry(std::string_view text)
{
    constexpr std::size_t kLongest = 12;
    text = withoutBlanks(text);
    std::size_t end = 0;
    std::size_t characters = 0;
    while (end < text.size() && characters < kLongest) {
        // A character is a lead byte and the continuation bytes after it.
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            ++end;
        ++characters;
    }
    return "„" + std::string(text.substr(0, end)) + (end < text.size() ? "…“" : "“");
}

// The ratio z : n in whole numbers a box takes, for a decimal that stands for a fraction with a
// small denominator (2.5 : 3 is 5 : 6); nothing for any other.
std::optional<std::pair<long, long>> wholeRatio(double z, double n)
{
    constexpr int kLargestScale = 1000;
    const auto whole = [](double v) {
        return std::abs(v - std::round(v)) <= 1e-9 * std::max(1.0, v);
    };
    for (int scale = 1; scale <= kLargestScale; ++scale) {
        if (!whole(z * scale) || !whole(n * scale))
            continue;
        const auto wz = std::lround(z * scale);
        const auto wn = std::lround(n * scale);
        const long divisor = std::gcd(wz, wn);
        if (divisor <= 0 || wz / divisor > kLargestWhole || wn / divisor > kLargestWhole)
            return std::nullopt;
        return std::pair{wz / divisor, wn / divisor};
    }
    return std::nullopt;
}

std::string ratioText(std::pair<long, long> ratio)
{
    return std::to_string(ratio.first) + " : " + std::to_string(ratio.second);
}

// Why an accepted entry does not give the figure a person reads in it: the box is read as a
// number from its start, with a decimal point and an exponent, and the closing count is taken
// from the rounded numerator, which may leave a numerator with decimals open. Nothing when it
// gives what it says. other is the value of the other box, count the closing count.
std::string readingNote(const std::string& text, bool inNumerator, double other, long count)
{
    const double value = textNumber(text);
    const std::size_t length = numberLength(text);
    const std::string quoted = quotedEntry(text);
    if (!withoutBlanks(std::string_view(text).substr(length)).empty()) {
        if (text[length] != ',')
            return quoted + " wird als " + shown(value) + " gelesen.";
        std::string withPoint = text;
        withPoint[length] = '.';
        const double meant = textNumber(withPoint);
        if (meant == value)
            return {};
        // What was meant, in the whole numbers the boxes take.
        const double z = inNumerator ? meant : other;
        const double n = inNumerator ? other : meant;
        const auto ratio = wholeRatio(z, n);
        std::string note = quoted + " wird als " + shown(value) + " gelesen";
        if (!ratio)
            return note + ".";
        return note + "; für " + shown(z) + " : " + shown(n) + " „" + std::to_string(ratio->first) +
               "“ und „" + std::to_string(ratio->second) + "“ eingeben.";
    }
    if (inNumerator && std::floor(value) != value) {
        // y runs count * value / other periods while x runs count.
        const double periods = count * value / other;
        // Whole to within the rounding of a count up to 10^9 periods; a decimal's miss of a
        // twentieth of a period at 10^8 periods is no closing.
        const bool closed = std::abs(periods - std::round(periods)) <= 1e-6;
        const auto ratio = wholeRatio(value, other);
        std::string note = quoted + " im Zähler: gerechnet wird mit " + shownShort(value);
        if (closed)
            return note + (ratio ? " (wie " + ratioText(*ratio) + ")" : "") +
                   "; die Figur ist geschlossen.";
        return note + ", das kgV mit " + shown(toInt16(value).value_or(0)) +
               ": die Figur bleibt offen" +
               (ratio ? " (" + ratioText(*ratio) + " schließt sie)." : ".");
    }
    // Few who type "1e1" mean 10.
    if (std::string_view(text).substr(0, length).find_first_of("eE") != std::string_view::npos)
        return quoted + " wird als " + shown(value) + " gelesen.";
    return {};
}

} // namespace

FrequencyFactor::FrequencyFactor(WindowOperations& ops, FigurePlotter& plotter, RatioInUse& ratio,
                                 HintLine& hint)
    : m_ops(ops), m_plotter(plotter), m_ratio(ratio), m_hint(hint)
{
}

void FrequencyFactor::recount()
{
    const std::string denominatorText = m_ops.text(TextBox::Denominator);
    const std::string numeratorText = m_ops.text(TextBox::Numerator);
    const double denominator = textNumber(denominatorText);
    const double numerator = textNumber(numeratorText);
    // Outside whole numbers 1 ... 32767 the subtraction loop may never end or the count may
    // not fit, so such an entry (often just a box half retyped) changes nothing but the hint
    // and the mark on the boxes whose text is not in use.
    const ClosingCount count = closingCount(numerator, denominator);
    switch (count.fault) {
    case RatioFault::None:
        break;
    case RatioFault::Denominator:
    case RatioFault::Numerator:
        refuse(kRatioDomain, numerator, denominator);
        return;
    case RatioFault::TooLarge:
        refuse(kRatioTooLarge, numerator, denominator);
        return;
    }
    if (m_ratio.refused) {
        m_ops.setTextInUse(TextBox::Numerator, true);
        m_ops.setTextInUse(TextBox::Denominator, true);
        m_hint.mend(HintLine::Cause::Ratio);
    }
    m_ratio = {numerator, denominator, false, m_ratio.textbook};
    // Not a refusal: the figure is drawn, but the hint line says what it is drawn with.
    std::string note = readingNote(numeratorText, true, denominator, count.value);
    if (note.empty())
        note = readingNote(denominatorText, false, numerator, count.value);
    if (note.empty())
        m_hint.mend(HintLine::Cause::Reading);
    else
        m_hint.show(HintLine::Cause::Reading, note);
    m_ops.setText(TextBox::ClosingCount, numberText(count.value));
    m_plotter.redraw();
}

void FrequencyFactor::refuse(const char* message, double numerator, double denominator)
{
    m_ratio.refused = true;
    // A box whose value differs from the one in use is marked, the valid one of a refused
    // pair included: the figure does not follow it either.
    m_ops.setTextInUse(TextBox::Numerator, numerator == m_ratio.numerator);
    m_ops.setTextInUse(TextBox::Denominator, denominator == m_ratio.denominator);
    m_hint.show(HintLine::Cause::Ratio, message);
}

void FrequencyFactor::increment(TextBox box)
{
    write(box, textNumber(m_ops.text(box)) + 1);
}

void FrequencyFactor::decrement(TextBox box)
{
    // The box is read twice, for the test and for the new value.
    if (textNumber(m_ops.text(box)) > 1)
        write(box, textNumber(m_ops.text(box)) - 1);
}

void FrequencyFactor::write(TextBox box, double value)
{
    // A box that reads as infinite stays as it is; its Change has already said why.
    if (std::isfinite(value))
        m_ops.setText(box, numberText(value));
}

} // namespace korvelian
