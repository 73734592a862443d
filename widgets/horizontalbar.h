#pragma once

#include <QScrollBar>

namespace korvelian {

// A horizontal scroll bar for a parameter. It shows when it has the keyboard focus (the
// style draws no focus mark on scroll bars, so a Tab onto one would change nothing
// visible), and its arrow keys move it the way they point.
class HorizontalBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit HorizontalBar(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace korvelian
