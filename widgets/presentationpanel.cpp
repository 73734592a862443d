#include "presentationpanel.h"

#include "form/pixels.h"
#include "picture/scenepainter.h"
#include "scene/presentationpanel.h"
#include "screenarea.h"
#include "timesignalview.h"

#include <QPainter>

namespace korvelian {

PresentationPanel::PresentationPanel(QWidget& window, const ScreenArea& screen,
                                     const TimeSignalView& timeSignals)
    : QWidget(&window), m_screen(screen), m_timeSignals(timeSignals)
{
    setObjectName("presentationPanel");
    setAccessibleName(QStringLiteral("Zeitverläufe und Ablesehilfe neben dem Fenster"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&timeSignals, &TimeSignalView::sceneChanged, this, [this] {
        if (m_showTimeSignals)
            update();
    });
    connect(&screen, &ScreenArea::legendBesideChanged, this, [this] {
        if (m_showLegend)
            update();
    });
    hide();
}

void PresentationPanel::setShown(bool timeSignals, bool legend)
{
    m_showTimeSignals = timeSignals;
    m_showLegend = legend;
    update();
}

void PresentationPanel::setDisplayHeight(int height)
{
    m_displayHeight = height;
    update();
}

void PresentationPanel::setHeading(const QString& heading)
{
    m_heading = heading;
    update();
}

void PresentationPanel::paintEvent(QPaintEvent*)
{
    PresentationContent content;
    content.heading = m_heading.toStdString();
    if (m_showTimeSignals)
        content.timeSignals = m_timeSignals.scene();
    content.formulasHidden = m_timeSignals.formulasHidden();
    if (m_showLegend) {
        for (const QString& line : m_screen.legendBeside())
            content.legend.push_back(line.toStdString());
    }
    Scene scene;
    describePresentation(scene, qtTextMetrics(), fromQt(QRectF(rect())), content, m_displayHeight,
                         linePixels(m_screen.zoom()) / devicePixelRatioF(), devicePixelRatioF());
    QPainter painter(this);
    ScenePainter().paint(painter, scene);
}

} // namespace korvelian
