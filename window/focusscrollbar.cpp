#include "focusscrollbar.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace korvelian {

FocusScrollBar::FocusScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {}

void FocusScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    QPainter painter(this);
    paintFocusMark(*this, painter, palette().color(QPalette::Button));
}

void paintFocusMark(QWidget& widget, QPainter& painter, const QColor& background)
{
    if (!widget.hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(&widget);
    option.backgroundColor = background;
    widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &widget);
}

} // namespace korvelian
