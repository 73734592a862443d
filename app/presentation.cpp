#include "presentation.h"

#include "form/layout.h"
#include "viewoptions.h"
#include "widgets/legendwindow.h"
#include "widgets/presentationpanel.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"
#include "windowzoom.h"

#include <QScreen>
#include <QWidget>

namespace korvelian {

Presentation::Presentation(QWidget& window, WindowZoom& zoom, ScreenArea& screen,
                           TimeSignalView& timeSignals, LegendWindow& legend, ViewOptions& views)
    : QObject(&window), m_window(window), m_zoom(zoom), m_screen(screen),
      m_timeSignals(timeSignals), m_legend(legend), m_views(views),
      m_panel(new PresentationPanel(window, screen, timeSignals))
{
    // A view turned on or off meanwhile goes to the margin, not into a window of its own.
    connect(&views, &ViewOptions::optionChanged, this, [this](ViewOption option, bool) {
        if (m_on && (option == ViewOption::TimeSignals || option == ViewOption::ReadingAid))
            showViews();
    });
    // F11 or the window manager ends full screen, and with it the presentation.
    connect(&zoom, &WindowZoom::fullScreenChanged, this, [this](bool on) {
        if (m_on && !on)
            end();
    });
}

void Presentation::setOn(bool on)
{
    if (on == m_on)
        return;
    if (!on) {
        m_zoom.setFullScreen(false);
        end();
        return;
    }
    m_on = true;
    m_timeSignalsShown = m_timeSignals.isVisible();
    m_timeSignalsBeside = m_timeSignals.besideWindow();
    m_timeSignalsGeometry = m_timeSignals.geometry();
    m_screen.setPresenting(true);
    m_legend.setSuppressed(true);
    m_zoom.setPresenting(true);
    m_zoom.setFullScreen(true);
    showViews();
    emit changed(true);
}

void Presentation::end()
{
    m_on = false;
    m_panel->hide();
    m_zoom.setPresenting(false);
    m_screen.setPresenting(false);
    m_legend.setSuppressed(false);
    m_legend.showLines(m_screen.legendBeside());
    if (m_views.option(ViewOption::TimeSignals)) {
        if (m_timeSignalsShown && !m_timeSignalsBeside) {
            m_timeSignals.setGeometry(m_timeSignalsGeometry);
            m_timeSignals.show();
        } else {
            m_timeSignals.showBeside(m_window);
        }
    }
    emit changed(false);
}

void Presentation::showViews()
{
    m_timeSignals.hide();
    m_panel->setShown(m_views.option(ViewOption::TimeSignals),
                      m_views.option(ViewOption::ReadingAid));
}

void Presentation::setHeading(const QString& heading)
{
    m_panel->setHeading(heading);
}

void Presentation::layOut(double zoom, QPoint origin)
{
    if (!m_on || !m_window.isFullScreen()) {
        m_panel->hide();
        return;
    }
    const int right = origin.x() + pixels(kClientWidth, zoom);
    const QRect margin(right, 0, m_window.width() - right, m_window.height());
    if (margin.width() < 1) {
        m_panel->hide();
        return;
    }
    if (const QScreen* display = m_window.screen())
        m_panel->setDisplayHeight(display->geometry().height());
    m_panel->setGeometry(margin);
    m_panel->show();
    m_panel->raise();
}

} // namespace korvelian
