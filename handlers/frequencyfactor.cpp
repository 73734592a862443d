#include "frequencyfactor.h"

#include "figureplotter.h"
#include "hintline.h"
#include "kgv.h"
#include "messages.h"
#include "numbertext.h"
#include "ratioinuse.h"

#include <cmath>

namespace korvelian {

FrequencyFactor::FrequencyFactor(WindowOperations& ops, FigurePlotter& plotter, RatioInUse& ratio,
                                 HintLine& hint)
    : m_ops(ops), m_plotter(plotter), m_ratio(ratio), m_hint(hint)
{
}

void FrequencyFactor::recount()
{
    const double nenner = textNumber(m_ops.text(TextBox::Nenner));
    const double zaehler = textNumber(m_ops.text(TextBox::Zaehler));
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
