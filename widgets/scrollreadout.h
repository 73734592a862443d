#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QScrollBar;
class QWidget;

namespace korvelian {

struct ControlLayout;

// Shows the value of a scroll bar in the units a physics class uses while the bar is
// dragged, stepped or hovered: a tooltip-like label just above the bar, inside the column of
// controls so that it never covers the figure. The same text is the bar's accessible value.
class ScrollReadout : public QObject
{
    Q_OBJECT

public:
    // The label lives in the window; it ends left of the screen.
    ScrollReadout(QWidget& window, const QWidget& screen);

    // "Amplitude y: 1,50", "Phase x: 1,57 rad ≈ 90,0°": the amplitude to two decimals, the
    // phase in radians to two decimals and in degrees to one. A bar's value is a whole number
    // of hundredths, so the radians are exact; the degrees are a multiple of 180 / pi and so
    // rounded for every value but 0, which alone gets "=".
    static QString text(const ControlLayout& bar, int value);
    static bool isAmplitude(const ControlLayout& bar);

    // Makes the readout the accessible value of the bars of the layout table. Assistive
    // technology asks for a widget's description once, so this comes before any bar exists.
    static void describeBars();

    void watch(QScrollBar* bar);
    void setZoom(double zoom);

    // The label, for a look at what it shows.
    const QLabel& label() const { return *m_label; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(QScrollBar* bar);
    void hideLater();
    void hideUnlessHeld();

    QWidget& m_window;
    const QWidget& m_screen;
    QLabel* m_label;
    QPointer<QScrollBar> m_bar;
    QTimer m_hideTimer;
};

} // namespace korvelian
