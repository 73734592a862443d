#include "frequencyfactor.h"

#include "figureplotter.h"
#include "hintline.h"
#include "kgv.h"
#include "messages.h"
#include "numbertext.h"
#include "ratioinuse.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace korvelian {

namespace {

// A number as the hint line writes it: a decimal comma, no leading blank.
std::string shown(double value)
{
    std::string text = numberText(value);
    text.erase(0, text.find_first_not_of(' '));
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string_view withoutBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Why an accepted entry does not give the figure a person reads in it: the box is read as a
// number from its start, with a decimal point, and only whole numbers close the figure.
// Nothing when it gives what it says.
std::string readingNote(const std::string& text, bool zaehler)
{
    const double value = textNumber(text);
    const std::size_t length = numberLength(text);
    const std::string quoted = "„" + std::string(withoutBlanks(text)) + "“";
    if (!withoutBlanks(std::string_view(text).substr(length)).empty()) {
        if (text[length] != ',')
            return quoted + " wird als " + shown(value) + " gelesen.";
        std::string withPoint = text;
        withPoint[length] = '.';
        if (textNumber(withPoint) == value)
            return {};
        return quoted + " wird als " + shown(value) +
               " gelesen: nur ganze Zahlen schließen die Figur.";
    }
    if (zaehler && std::floor(value) != value) {
        return quoted + " im Zähler: gerechnet wird mit " + shown(value) +
               ", doch nur ganze Zahlen schließen die Figur; diese bleibt offen.";
    }
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
    const std::string nennerText = m_ops.text(TextBox::Nenner);
    const std::string zaehlerText = m_ops.text(TextBox::Zaehler);
    const double nenner = textNumber(nennerText);
    const double zaehler = textNumber(zaehlerText);
    // Outside whole numbers 1 ... 32767 the subtraction loop may never end or the count may
    // not fit, so such an entry (often just a box half retyped) changes nothing but the hint
    // and the mark on the boxes whose text is not in use.
    const ClosingCount count = closingCount(nenner, zaehler);
    switch (count.fault) {
    case RatioFault::None:
        break;
    case RatioFault::Nenner:
    case RatioFault::Zaehler:
        refuse(kRatioDomain, zaehler, nenner);
        return;
    case RatioFault::TooLarge:
        refuse(kRatioTooLarge, zaehler, nenner);
        return;
    }
    if (m_ratio.refused) {
        m_ops.setTextInUse(TextBox::Zaehler, true);
        m_ops.setTextInUse(TextBox::Nenner, true);
        m_hint.mend(HintLine::Cause::Ratio);
    }
    m_ratio = {zaehler, nenner, false};
    // Not a refusal: the figure is drawn, but the hint line says what it is drawn with.
    std::string note = readingNote(zaehlerText, true);
    if (note.empty())
        note = readingNote(nennerText, false);
    if (note.empty())
        m_hint.mend(HintLine::Cause::Reading);
    else
        m_hint.show(HintLine::Cause::Reading, note);
    m_ops.setText(TextBox::kgV, numberText(count.value));
    m_plotter.redraw();
}

void FrequencyFactor::refuse(const char* message, double zaehler, double nenner)
{
    m_ratio.refused = true;
    // A box whose value differs from the one in use is marked, the valid one of a refused
    // pair included: the figure does not follow it either.
    m_ops.setTextInUse(TextBox::Zaehler, zaehler == m_ratio.zaehler);
    m_ops.setTextInUse(TextBox::Nenner, nenner == m_ratio.nenner);
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
