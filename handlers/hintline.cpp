#include "hintline.h"

#include "windowoperations.h"

namespace korvelian {

HintLine::HintLine(WindowOperations& ops) : m_ops(ops) {}

bool HintLine::showing()
{
    return m_shown && m_ops.text(TextBox::Hilfe) == m_message;
}

void HintLine::show(Cause cause, const std::string& message)
{
    if (!showing())
        m_hintBefore = m_ops.text(TextBox::Hilfe);
    m_message = message;
    m_shown = true;
    m_cause = cause;
    m_ops.setText(TextBox::Hilfe, message);
}

void HintLine::mend(Cause cause)
{
    if (m_cause != cause || !m_shown)
        return;
    if (showing())
        m_ops.setText(TextBox::Hilfe, m_hintBefore);
    m_shown = false;
}

} // namespace korvelian
