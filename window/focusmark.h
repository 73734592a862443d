#pragma once

class QColor;
class QPainter;
class QWidget;

namespace korvelian {

// Draws the style's focus mark around a widget's rectangle, when it has the focus.
void paintFocusMark(QWidget& widget, QPainter& painter, const QColor& background);

} // namespace korvelian
