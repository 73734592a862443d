#include "horizontalbar.h"

#include "focusmark.h"
#include "form/layout.h"
#include "zoomedstyle.h"

#include <QKeyEvent>
#include <QPainter>

namespace korvelian {

HorizontalBar::HorizontalBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
{
    watchFocusReason(*this);
}

void HorizontalBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    QPainter painter(this);
    const auto* zoomed = qobject_cast<const ZoomedStyle*>(style());
    paintFocusMark(*this, painter, linePixels(zoomed ? zoomed->zoom() : 1.0));
}

void HorizontalBar::keyPressEvent(QKeyEvent* event)
{
    // A scroll bar's controls are inverted for the wheel, and this toolkit version inverts
    // the arrow and page keys with them: Right would lower the value. Right, Up and Page Up
    // raise it here, Left, Down and Page Down lower it.
    const bool rightToLeft = isRightToLeft();
    switch (event->key()) {
    case Qt::Key_Right:
        triggerAction(rightToLeft ? SliderSingleStepSub : SliderSingleStepAdd);
        break;
    case Qt::Key_Left:
        triggerAction(rightToLeft ? SliderSingleStepAdd : SliderSingleStepSub);
        break;
    case Qt::Key_Up:
        triggerAction(SliderSingleStepAdd);
        break;
    case Qt::Key_Down:
        triggerAction(SliderSingleStepSub);
        break;
    case Qt::Key_PageUp:
        triggerAction(SliderPageStepAdd);
        break;
    case Qt::Key_PageDown:
        triggerAction(SliderPageStepSub);
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    event->accept();
}

} // namespace korvelian
