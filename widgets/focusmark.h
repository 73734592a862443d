#pragma once

class QPainter;
class QWidget;

namespace korvelian {

// Watches how the focus comes to a widget: the mark shows only for focus that came by
// keyboard (Tab, Shift+Tab), and a click takes it away even when the widget had the focus
// already, so the window at start and after a click looks as always.
void watchFocusReason(QWidget& widget);

// Draws a frame in the theme's highlight colour just inside a widget's rectangle, when it has
// the focus by keyboard. The styles' own focus marks on a black screen or a red bar are a faint
// tint that a projector does not show.
void paintFocusMark(QWidget& widget, QPainter& painter, int lineWidth);

} // namespace korvelian
