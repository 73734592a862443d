#pragma once

#include <QWidget>

namespace korvelian {

class ScreenArea;
class TimeSignalView;

// Presentation mode's margin beside the window: the time signals and the reading aid's legend
// in letters a class reads from the back (see describePresentation). A part of the window, in
// the room full screen leaves beside its controls, never over one of them; it follows the
// views as their windows would.
class PresentationPanel : public QWidget
{
    Q_OBJECT

public:
    PresentationPanel(QWidget& window, const ScreenArea& screen, const TimeSignalView& timeSignals);

    // What it shows: the time signals while their view is on, the legend while the aid is.
    void setShown(bool timeSignals, bool legend);
    // The display's height, which its letters are measured against.
    void setDisplayHeight(int height);
    // The lesson's step on show, over the views; empty for none.
    void setHeading(const QString& heading);
    QString heading() const { return m_heading; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ScreenArea& m_screen;
    const TimeSignalView& m_timeSignals;
    bool m_showTimeSignals = false;
    bool m_showLegend = false;
    int m_displayHeight = 1080;
    QString m_heading;
};

} // namespace korvelian
