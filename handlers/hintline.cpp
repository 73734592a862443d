#include "hintline.h"

#include "windowoperations.h"

namespace korvelian {

HintLine::HintLine(WindowOperations& ops) : m_ops(ops) {}

bool HintLine::showing()
{
    return m_message && m_ops.text(TextBox::Hilfe) == m_message;
}

void HintLine::show(Cause cause, const char* message)
{
    if (!showing())
        m_hintBefore = m_ops.text(TextBox::Hilfe);
    m_message = message;
    m_cause = cause;
    m_ops.setText(TextBox::Hilfe, message);
}

void HintLine::mend(Cause cause)
{
    if (m_cause != cause || !m_message)
        return;
    if (showing())
        m_ops.setText(TextBox::Hilfe, m_hintBefore);
    m_message = nullptr;
}

} // namespace korvelian
