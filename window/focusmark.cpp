#include "focusmark.h"

#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QWidget>

namespace korvelian {

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
