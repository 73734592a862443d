#pragma once

#include <QPoint>

class QWidget;

namespace korvelian {

class ZoomedStyle;
struct ControlLayout;

// The window's controls as the layout table describes them: made with their names, captions,
// fonts, start values and tab order, placed at a zoom, and set back to their start values.
// Each is found again by its name in the table.
class ControlTable
{
public:
    // Makes every control of the table in the window; the scroll bars and the check box draw
    // in the zoomed style.
    static void create(QWidget& window, ZoomedStyle& style);
    // Places and sizes every control at the zoom, the zoomed client area's top left corner at
    // origin.
    static void layOut(QWidget& window, double zoom, QPoint origin);
    // The six parameter controls back to their start values, each through its own Change
    // handler as a user's entry would go: the bars first, then the ratio as typed.
    static void reset(QWidget& window);

private:
    static QWidget* createControl(const ControlLayout& entry, QWidget* parent, ZoomedStyle& style);
    static QWidget* createBar(const ControlLayout& entry, QWidget* parent, ZoomedStyle& style);
    static QWidget* createTextBox(const ControlLayout& entry, QWidget* parent);
    static void setTabOrder(QWidget& window);
};

} // namespace korvelian
