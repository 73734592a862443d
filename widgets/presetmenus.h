#pragma once

#include <QObject>

class QLineEdit;
class QMenu;
class QScrollBar;
class QWidget;

namespace korvelian {

struct ControlLayout;

// Typical settings a click away: a right click on a scroll bar offers its presets, one on the
// numerator or denominator box offers the usual ratios in a submenu beside the editing
// entries. A choice sets the bar's value or types the numbers into the boxes, so the same
// Change handlers run as for a user's own entry.
class PresetMenus : public QObject
{
    Q_OBJECT

public:
    explicit PresetMenus(QWidget& window);

    // The menu a bar or a box offers (for a box: the ratio submenu).
    QMenu* menuFor(const QWidget* control) const;

private:
    void addBar(QScrollBar* bar, const ControlLayout& row);
    void addRatioBoxes(QLineEdit* numerator, QLineEdit* denominator);

    QWidget& m_window;
};

} // namespace korvelian
