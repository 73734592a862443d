#include "headlesswindow.h"

#include "form/form1.h"
#include "form/layout.h"
#include "handlers/parameters.h"

namespace korvelian {

HeadlessWindow::HeadlessWindow() : m_form(std::make_unique<Form1>(*this))
{
    const ControlLayout& screen = control(Picture::Screen);
    m_screen.size = {double(pixels(screen.width)), double(pixels(screen.height))};
    deliverTo(*m_form);
    m_form->handle(Event::Form_Load);
}

HeadlessWindow::~HeadlessWindow() = default;

OverviewPlate HeadlessWindow::plate(OverviewPlate::Form form)
{
    return overviewPlate(form, m_screen, *m_form, *this);
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

void HeadlessWindow::setTextInUse(TextBox box, bool inUse)
{
    ControlState::setTextInUse(box, inUse);
    m_screen.entryAccepted = allInUse();
}

OverviewPlate overviewPlate(OverviewPlate::Form plate, const ScreenPicture& screen, Form1& form,
                            WindowOperations& ops)
{
    const RatioInUse& ratio = form.variables().ratio;
    return OverviewPlate(plate, screen.drawing, screen.yUp, readParameters(ops, ratio),
                         !ratio.refused, screen.fine);
}

} // namespace korvelian
