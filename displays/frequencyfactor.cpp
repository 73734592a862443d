#include "frequencyfactor.h"

#include "figureplotter.h"
#include "kgv.h"
#include "messages.h"
#include "numbertext.h"

#include <cmath>

namespace korvelian {

FrequencyFactor::FrequencyFactor(WindowOperations& ops, FigurePlotter& plotter)
    : m_ops(ops), m_plotter(plotter)
{
}

void FrequencyFactor::recount()
{
    const double nenner = textNumber(m_ops.text(TextBox::Nenner));
    const double zaehler = textNumber(m_ops.text(TextBox::Zaehler));
    // Outside whole numbers 1 ... 32767 the subtraction loop may never end or the count may
    // not fit, so such an entry (often just a box half retyped) changes nothing but the hint.
    const ClosingCount count = closingCount(nenner, zaehler);
    switch (count.fault) {
    case RatioFault::None:
        break;
    case RatioFault::Nenner:
    case RatioFault::Zaehler:
        refuse(kRatioDomain);
        return;
    case RatioFault::TooLarge:
        refuse(kRatioTooLarge);
        return;
    }
    if (m_refusal) {
        if (m_ops.text(TextBox::Hilfe) == m_refusal)
            m_ops.setText(TextBox::Hilfe, m_hintBeforeRefusal);
        m_refusal = nullptr;
    }
    m_ops.setText(TextBox::kgV, numberText(count.value));
    m_plotter.redraw();
}

void FrequencyFactor::refuse(const char* message)
{
    const std::string hint = m_ops.text(TextBox::Hilfe);
    if (!m_refusal || hint != m_refusal)
        m_hintBeforeRefusal = hint;
    m_refusal = message;
    m_ops.setText(TextBox::Hilfe, message);
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
