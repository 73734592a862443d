#include "focusmark.h"

#include <QEvent>
#include <QFocusEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace korvelian {

namespace {

constexpr const char* kFocusByKeyboard = "focusByKeyboard";

class FocusReasonWatch : public QObject
{
public:
    explicit FocusReasonWatch(QWidget& widget) : QObject(&widget)
    {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            watched->setProperty(kFocusByKeyboard,
                                 reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason);
        } else if (event->type() == QEvent::MouseButtonPress &&
                   watched->property(kFocusByKeyboard).toBool()) {
            // A click on a widget that has the focus already brings no focus event.
            watched->setProperty(kFocusByKeyboard, false);
            static_cast<QWidget*>(watched)->update();
        }
        return false;
    }
};

} // namespace

void watchFocusReason(QWidget& widget)
{
    new FocusReasonWatch(widget);
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
