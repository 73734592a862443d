#include "headlesswindow.h"

#include "form/form1.h"
#include "form/layout.h"
#include "handlers/parameters.h"

#include <algorithm>

namespace korvelian {

HeadlessWindow::HeadlessWindow()
    : m_texts(startTexts()), m_scrollValues(startValues()), m_form(std::make_unique<Form1>(*this))
{
    const ControlLayout& screen = control(Picture::Screen);
    m_screen.size = {double(pixels(screen.width)), double(pixels(screen.height))};
    m_form->handle(Event::Form_Load);
}

HeadlessWindow::~HeadlessWindow() = default;

OverviewPlate HeadlessWindow::plate(OverviewPlate::Form form)
{
    const RatioInUse& ratio = m_form->variables().ratio;
    return OverviewPlate(form, m_screen.drawing, m_screen.yUp, readParameters(*this, ratio),
                         !ratio.refused);
}

void HeadlessWindow::setFrame(Picture picture, float x1, float y1, float x2, float y2)
{
    if (picture == Picture::Screen)
        m_screen.setFrame(x1, y1, x2, y2);
}

void HeadlessWindow::clear(Picture picture)
{
    if (picture == Picture::Screen)
        m_screen.drawing.clear();
}

void HeadlessWindow::drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                                 Colour colour)
{
    if (picture == Picture::Screen)
        m_screen.addSegment(x1, y1, x2, y2, colour);
}

void HeadlessWindow::drawFigure(Picture picture, const Parameter& p, double end, Colour colour)
{
    if (picture == Picture::Screen)
        m_screen.addFigure(p, end, colour);
}

void HeadlessWindow::drawBox(Picture picture, float x1, float y1, float x2, float y2)
{
    if (picture == Picture::Screen)
        m_screen.addBox(x1, y1, x2, y2, palette::kScreenForeground);
}

std::string HeadlessWindow::text(TextBox box)
{
    return m_texts[static_cast<std::size_t>(box)];
}

void HeadlessWindow::setText(TextBox box, const std::string& text)
{
    std::string& current = m_texts[static_cast<std::size_t>(box)];
    if (current == text)
        return;
    current = text;
    deliver(control(box).change);
}

void HeadlessWindow::setTextInUse(TextBox box, bool inUse)
{
    m_textsInUse[static_cast<std::size_t>(box)] = inUse;
    m_screen.entryAccepted =
        std::all_of(m_textsInUse.begin(), m_textsInUse.end(), [](bool used) { return used; });
}

std::int16_t HeadlessWindow::scrollValue(ScrollBar bar)
{
    return m_scrollValues[static_cast<std::size_t>(bar)];
}

void HeadlessWindow::setScrollValue(ScrollBar bar, std::int16_t value)
{
    std::int16_t& current = m_scrollValues[static_cast<std::size_t>(bar)];
    if (current == value)
        return;
    current = value;
    deliver(control(bar).change);
}

void HeadlessWindow::deliver(std::optional<Event> change)
{
    if (change && !m_ended)
        m_form->handle(*change);
}

} // namespace korvelian
