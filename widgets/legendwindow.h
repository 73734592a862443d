#pragma once

#include <QLabel>

namespace korvelian {

// The reading aid's legend where the figure leaves it no room on the screen, as at the largest
// amplitudes: a small window of its own beside the main window, never over the screen. It
// shows while the legend is off the screen and goes when the legend is back on it. Its font is
// the main window's, so it grows with the zoom.
class LegendWindow : public QLabel
{
    Q_OBJECT

public:
    // Beside window, never over screen.
    LegendWindow(QWidget& window, const QWidget& screen);

    // The legend's lines, rich text; none puts the window away.
    void showLines(const QStringList& lines);
    // Goes along when the window moves or zooms, until the user puts it somewhere else.
    void follow();
    // The window went into full screen or out of it: the legend goes beside it again, wherever
    // it was put, or it would stay behind where the full screen's room had it.
    void windowStateChanged();
    // Presentation shows the legend in the window's margin: this one stays away meanwhile.
    void setSuppressed(bool suppressed);

protected:
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void placeBesideWindow();
    void fitWidth(int width);

    QWidget& m_window;
    const QWidget& m_screen;
    QPoint m_placed;
    bool m_besideWindow = true;
    bool m_suppressed = false;
};

} // namespace korvelian
