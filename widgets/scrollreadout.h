#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class QScrollBar;
class QWidget;

namespace korvelian {

struct RatioInUse;

// Shows the value of a scroll bar in the units a physics class uses while the bar is
// dragged, stepped or hovered: a tooltip-like label just above the bar, inside the column of
// controls so that it never covers the figure. The same text is the bar's accessible value.
class ScrollReadout : public QObject
{
    Q_OBJECT

public:
    // The label lives in the window; it ends left of the screen. The y phase bar's text names
    // the y oscillation's own phase for the ratio in use.
    ScrollReadout(QWidget& window, const QWidget& screen, const RatioInUse& ratio);

    // The text for a bar of the layout table at its thumb's position (see barText).
    QString text(const QScrollBar& bar) const;

    // Makes the readout the accessible value of the bars of the layout table. Assistive
    // technology asks for a widget's description once, so this comes before any bar exists.
    static void describeBars();

    void watch(QScrollBar* bar);
    void setZoom(double zoom);
    // "Werte verbergen" and the quiz: no value is shown while the class reads the figure.
    void setSuppressed(bool suppressed);

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
    const RatioInUse& m_ratio;
    QLabel* m_label;
    QPointer<QScrollBar> m_bar;
    QTimer m_hideTimer;
    bool m_suppressed = false;
};

} // namespace korvelian
