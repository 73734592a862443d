#include "focusmark.h"

#include <QPainter>
#include <QWidget>

namespace korvelian {

namespace {

constexpr const char* kFocusByKeyboard = "focusByKeyboard";

} // namespace

void noteFocusReason(QWidget& widget, Qt::FocusReason reason)
{
    widget.setProperty(kFocusByKeyboard,
                       reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason);
}

void paintFocusMark(QWidget& widget, QPainter& painter, int lineWidth)
{
    if (!widget.hasFocus() || !widget.property(kFocusByKeyboard).toBool())
        return;
    const int width = 2 * lineWidth;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(widget.palette().color(QPalette::Highlight), width, Qt::SolidLine, Qt::SquareCap,
             Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRectF(widget.rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
    painter.restore();
}

} // namespace korvelian
