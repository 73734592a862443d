#include "controlstate.h"

#include "form1.h"
#include "layout.h"

#include <algorithm>
#include <utility>

namespace korvelian {

namespace {

std::size_t index(TextBox box)
{
    return static_cast<std::size_t>(box);
}

std::size_t index(ScrollBar bar)
{
    return static_cast<std::size_t>(bar);
}

} // namespace

ControlState::ControlState() : m_texts(startTexts()), m_values(startValues()) {}

void ControlState::deliverTo(Form1& form)
{
    m_receiver = [&form](Event event) { form.handle(event); };
}

void ControlState::deliverTo(std::function<void(Event)> receiver)
{
    m_receiver = std::move(receiver);
}

std::string ControlState::text(TextBox box)
{
    return m_texts[index(box)];
}

void ControlState::setText(TextBox box, const std::string& text)
{
    std::string& current = m_texts[index(box)];
    if (current == text)
        return;
    current = text;
    if (const auto change = control(box).change)
        deliver(*change);
}

void ControlState::setTextInUse(TextBox box, bool inUse)
{
    m_inUse[index(box)] = inUse;
}

int ControlState::checkValue()
{
    return m_check;
}

void ControlState::setCheckValue(int value)
{
    m_check = value;
}

std::int16_t ControlState::scrollValue(ScrollBar bar)
{
    return m_values[index(bar)];
}

void ControlState::setScrollValue(ScrollBar bar, std::int16_t value)
{
    std::int16_t& current = m_values[index(bar)];
    if (current == value)
        return;
    current = value;
    if (const auto change = control(bar).change)
        deliver(*change);
}

void ControlState::endProgram()
{
    m_ended = true;
}

const std::string& ControlState::shownText(TextBox box) const
{
    return m_texts[index(box)];
}

std::int16_t ControlState::shownValue(ScrollBar bar) const
{
    return m_values[index(bar)];
}

bool ControlState::inUse(TextBox box) const
{
    return m_inUse[index(box)];
}

bool ControlState::allInUse() const
{
    return std::all_of(m_inUse.begin(), m_inUse.end(), [](bool used) { return used; });
}

void ControlState::putText(TextBox box, std::string text)
{
    m_texts[index(box)] = std::move(text);
}

void ControlState::putValue(ScrollBar bar, std::int16_t value)
{
    m_values[index(bar)] = value;
}

void ControlState::deliver(Event event)
{
    if (m_receiver && !m_ended)
        m_receiver(event);
}

} // namespace korvelian
