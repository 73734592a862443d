#pragma once

#include <QScrollBar>

namespace korvelian {

// A horizontal scroll bar that shows when it has the keyboard focus; the style draws no
// focus mark on scroll bars, so a Tab onto one would change nothing visible.
class FocusScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit FocusScrollBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Draws the style's focus mark around a widget's rectangle, when it has the focus.
void paintFocusMark(QWidget& widget, QPainter& painter, const QColor& background);

} // namespace korvelian
