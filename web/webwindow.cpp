#include "webwindow.h"

#include "form/form1.h"
#include "form/layout.h"

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

PointF twips(int x, int y)
{
    return {static_cast<double>(x) / kTwipsPerPixel, static_cast<double>(y) / kTwipsPerPixel};
}

constexpr double kBaseSide = screenSide();

} // namespace

WebWindow::WebWindow(PageHost& host) : m_host(host), m_form(std::make_unique<Form1>(*this))
{
    const ControlLayout& screen = control(Picture::Screen);
    m_screen.size = {double(pixels(screen.width)), double(pixels(screen.height))};
    const ControlLayout& bar = control(Picture::SpeedBar);
    m_speedBar.size = {double(pixels(bar.width)), double(pixels(bar.height))};
    m_speedBar.background = palette::kWhite;
    for (std::size_t s = 0; s < m_shapes.size(); ++s)
        m_shapes[s] = twips(kShapeStarts[s][0], kShapeStarts[s][1]);
    for (std::size_t l = 0; l < m_lines.size(); ++l) {
        const auto& ends = kDropLineStarts[l];
        m_lines[l] = {twips(ends[0], ends[1]), twips(ends[2], ends[3])};
    }
    deliverTo(*m_form);
}

WebWindow::~WebWindow() = default;

void WebWindow::start()
{
    m_form->handle(Event::Form_Load);
}

void WebWindow::changed(Picture which)
{
    m_host.changed(which == Picture::Screen ? PageHost::Screen : PageHost::SpeedBar);
}

void WebWindow::setFrame(Picture which, float x1, float y1, float x2, float y2)
{
    picture(which).setFrame(x1, y1, x2, y2);
}

void WebWindow::clear(Picture which)
{
    // A redraw while the beam runs (a bar moved, the phase drifting) keeps the glow, as the
    // phosphor would.
    if (which == Picture::Screen && !m_beamRunning)
        m_screen.trace.clear();
    picture(which).drawing.clear();
    // A new setting: the next prediction.
    if (which == Picture::Screen && m_prediction.mode() != Prediction::Mode::Off) {
        m_prediction.settingChanged();
        showPrediction();
    }
    changed(which);
}

void WebWindow::showPrediction()
{
    m_screen.figureHidden = !m_prediction.figureShown();
    // The beam's own path, unless its afterglow draws it, fading.
    m_screen.beamPath =
        m_screen.afterglow ? std::vector<std::vector<Point>>() : m_prediction.path();
    m_host.changed(PageHost::Screen | PageHost::Overlays);
}

void WebWindow::drawSegment(Picture which, float x1, float y1, float x2, float y2, Colour colour)
{
    picture(which).addSegment(x1, y1, x2, y2, colour);
    changed(which);
}

void WebWindow::drawFigure(Picture which, const Parameter& p, double end, Colour colour)
{
    picture(which).addFigure(p, end, colour);
    changed(which);
}

void WebWindow::drawBox(Picture which, float x1, float y1, float x2, float y2)
{
    picture(which).addBox(
        x1, y1, x2, y2, which == Picture::Screen ? palette::kScreenForeground : palette::kSpeedBar);
    changed(which);
}

PointF WebWindow::placeAtHundred(double x, double y) const
{
    return mapPoint(imageMapping(m_screen.frame, {kBaseSide, kBaseSide}, {1}, 1.0), x, y);
}

void WebWindow::setShapeLeft(Shape shape, float left)
{
    if (!std::isfinite(left))
        return;
    m_shapes[static_cast<std::size_t>(shape)].x = placeAtHundred(left, 0).x;
    m_host.changed(PageHost::Overlays);
}

void WebWindow::setShapeTop(Shape shape, float top)
{
    if (!std::isfinite(top))
        return;
    m_shapes[static_cast<std::size_t>(shape)].y = placeAtHundred(0, top).y;
    m_host.changed(PageHost::Overlays);
}

void WebWindow::bringToFront(Shape shape)
{
    const auto it = std::find(m_stacking.begin(), m_stacking.end(), static_cast<Overlay>(shape));
    std::rotate(it, it + 1, m_stacking.end());
    m_host.changed(PageHost::Overlays);
}

void WebWindow::setLineEnd(OverlayLine line, LineEnd end, float value)
{
    if (!std::isfinite(value))
        return;
    auto& ends = m_lines[static_cast<std::size_t>(line)];
    switch (end) {
    case LineEnd::X1:
        ends[0].x = placeAtHundred(value, 0).x;
        break;
    case LineEnd::Y1:
        ends[0].y = placeAtHundred(0, value).y;
        break;
    case LineEnd::X2:
        ends[1].x = placeAtHundred(value, 0).x;
        break;
    case LineEnd::Y2:
        ends[1].y = placeAtHundred(0, value).y;
        break;
    }
    m_host.changed(PageHost::Overlays);
}

OverlayPlaces WebWindow::overlayPlaces(SizeF shown) const
{
    // From the screen at 100 % to the size shown, mirrored where y grows upward; a shape reaches
    // from its corner toward growing x and y, so mirrored its corner is the bottom one.
    const PixelMapping m = pixelMapping({0, 0, kBaseSide, kBaseSide}, shown, 1, m_screen.yUp);
    const double side = static_cast<double>(kMarkerTwips) / kTwipsPerPixel;
    OverlayPlaces places;
    for (std::size_t s = 0; s < m_shapes.size(); ++s) {
        const PointF a = mapPoint(m, m_shapes[s].x, m_shapes[s].y);
        const PointF b = mapPoint(m, m_shapes[s].x + side, m_shapes[s].y + side);
        places.shapes[s] = RectF::fromCorners(a, b).normalized();
    }
    for (std::size_t l = 0; l < m_lines.size(); ++l) {
        places.lines[l] = {mapPoint(m, m_lines[l][0].x, m_lines[l][0].y),
                           mapPoint(m, m_lines[l][1].x, m_lines[l][1].y)};
    }
    places.stacking = m_stacking;
    return places;
}

void WebWindow::setText(TextBox box, const std::string& text)
{
    if (m_ended)
        return;
    ControlState::setText(box, text);
    m_host.changed(PageHost::Controls);
}

void WebWindow::setTextInUse(TextBox box, bool inUse)
{
    ControlState::setTextInUse(box, inUse);
    const bool accepted = allInUse();
    // The readings say whether they show the entry or the last one taken.
    if (accepted != m_screen.entryAccepted && (m_screen.readingAid || m_screen.values))
        m_host.changed(PageHost::Screen);
    m_screen.entryAccepted = accepted;
    m_host.changed(PageHost::Controls);
}

void WebWindow::setCheckValue(int value)
{
    if (m_ended)
        return;
    ControlState::setCheckValue(value);
    m_host.changed(PageHost::Controls);
}

void WebWindow::setScrollValue(ScrollBar bar, std::int16_t value)
{
    if (m_ended)
        return;
    ControlState::setScrollValue(bar, value);
    m_host.changed(PageHost::Controls);
}

void WebWindow::beamAt(double t, const Parameter& p)
{
    if (m_ended)
        return;
    m_beamRunning = true;
    m_beamT = t;
    if (m_prediction.drawsPath()) {
        m_prediction.beamAt(t, p);
        showPrediction();
    }
    if (m_screen.afterglow)
        m_screen.trace.follow(t, p, m_host.clock());
    m_host.changed(PageHost::Overlays);
}

void WebWindow::msgBox(const std::string& prompt, const std::string& title)
{
    if (!m_ended)
        m_host.msgBox(prompt, title);
}

void WebWindow::doEvents()
{
    if (!m_ended)
        m_host.doEvents();
}

void WebWindow::sleep(double seconds)
{
    if (!m_ended)
        m_host.sleep(seconds);
}

void WebWindow::endProgram()
{
    ControlState::endProgram();
    m_ended = true;
    m_host.ended();
}

} // namespace korvelian
