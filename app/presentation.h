#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace korvelian {

class LegendWindow;
class PresentationPanel;
class ScreenArea;
class TimeSignalView;
class ViewOptions;
class WindowZoom;

// "Präsentation": the window full screen at the display's left edge, as high as the display;
// the time signals and the reading aid's legend in the margin beside it (PresentationPanel)
// instead of in windows of their own over the controls; the graticule bright for a lit room.
// Leaving gives back the window's zoom and place and the views' windows as they were.
class Presentation : public QObject
{
    Q_OBJECT

public:
    Presentation(QWidget& window, WindowZoom& zoom, ScreenArea& screen, TimeSignalView& timeSignals,
                 LegendWindow& legend, ViewOptions& views);

    bool isOn() const { return m_on; }
    void setOn(bool on);
    // The window laid out at zoom, its controls' corner at origin: the margin is the room
    // right of them.
    void layOut(double zoom, QPoint origin);
    const PresentationPanel& panel() const { return *m_panel; }
    // The lesson's step on show, at the top of the margin.
    void setHeading(const QString& heading);

signals:
    void changed(bool on);

private:
    void showViews();
    void end();

    QWidget& m_window;
    WindowZoom& m_zoom;
    ScreenArea& m_screen;
    TimeSignalView& m_timeSignals;
    LegendWindow& m_legend;
    ViewOptions& m_views;
    PresentationPanel* m_panel;
    bool m_on = false;
    // The time signals' window before: shown or not, beside the window or put elsewhere.
    bool m_timeSignalsShown = false;
    bool m_timeSignalsBeside = true;
    QRect m_timeSignalsGeometry;
};

} // namespace korvelian
