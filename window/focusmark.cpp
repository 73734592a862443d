#include "focusmark.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

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
    // Twice a line, but never more than an eighth of the short side: the speed bar is only
    // nine pixels high at 100 %.
    const int width =
        std::min(2 * lineWidth, std::max(1, std::min(widget.width(), widget.height()) / 8));
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
