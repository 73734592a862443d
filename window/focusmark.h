#pragma once

#include <Qt>

class QPainter;
class QWidget;

namespace korvelian {

// Remembers how the focus came to a widget: the mark shows only for focus that came by
// keyboard (Tab, Shift+Tab), so the window at start and after a click looks as always.
void noteFocusReason(QWidget& widget, Qt::FocusReason reason);

// Draws a frame in the theme's highlight colour just inside a widget's rectangle, when it has
// the focus by keyboard. The styles' own focus marks on a black screen or a red bar are a faint
// tint that a projector does not show.
void paintFocusMark(QWidget& widget, QPainter& painter, int lineWidth);

} // namespace korvelian
