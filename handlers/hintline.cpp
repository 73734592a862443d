#include "hintline.h"

#include "windowoperations.h"

#include <algorithm>

namespace korvelian {

HintLine::HintLine(WindowOperations& ops) : m_ops(ops) {}

bool HintLine::showing() const
{
    return !m_messages.empty() && m_ops.text(TextBox::Hint) == m_messages.back().text;
}

void HintLine::show(Cause cause, const std::string& message)
{
    if (!showing())
        m_hintBefore = m_ops.text(TextBox::Hint);
    std::erase_if(m_messages, [cause](const Message& m) { return m.cause == cause; });
    m_messages.push_back({cause, message});
    m_ops.setText(TextBox::Hint, message);
}

void HintLine::mend(Cause cause)
{
    const bool shown = showing();
    const auto gone =
        std::erase_if(m_messages, [cause](const Message& m) { return m.cause == cause; });
    if (gone == 0 || !shown || showing())
        return;
    m_ops.setText(TextBox::Hint, m_messages.empty() ? m_hintBefore : m_messages.back().text);
}

} // namespace korvelian
