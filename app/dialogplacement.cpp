#include "dialogplacement.h"

#include "windowframe.h"
#include "widgets/zoompolicy.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace korvelian {

DialogPlacement::DialogPlacement(QWidget& window) : QObject(&window), m_window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool DialogPlacement::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Polish && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* parent = widget->parentWidget();
        if (widget == &m_window || !widget->isWindow() || !parent || parent->window() != &m_window)
            return false;
        // A window of the main window's own follows every later zoom; one of a control,
        // made afresh each time (a text box's menu), takes the window's font rather than
        // the control's, so that one chain of menus has one font.
        if (parent == &m_window)
            widget->setAttribute(Qt::WA_WindowPropagation);
        else
            widget->setFont(m_window.font());
    }
    if (event->type() == QEvent::Show || event->type() == QEvent::Resize) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && dialog->isWindow() && dialog->parentWidget() &&
            dialog->parentWidget()->window() == &m_window) {
            // Shown, it is fitted before it is mapped. A size set within a resize would be
            // undone by the resize it is nested in, so a later growth is fitted after it.
            if (event->type() == QEvent::Show)
                fit(dialog, &m_window);
            else
                QTimer::singleShot(0, dialog, [this, dialog] { fit(dialog, nullptr); });
        }
    }
    return false;
}

void DialogPlacement::fit(QDialog* dialog, const QWidget* centreOn)
{
    if (const QScreen* screen = m_window.screen())
        fitOnScreen(*dialog, *screen, centreOn);
}

void DialogPlacement::fitOnScreen(QWidget& dialog, const QScreen& screen, const QWidget* centreOn)
{
    const QRect room = screen.availableGeometry();
    const QMargins frame = WindowFrame::of(dialog);
    const QSize inside = room.size() - WindowFrame::size(frame);
    constexpr double kShrink = 0.9;
    for (int step = 0; step < 10; ++step) {
        const QSize least = dialog.minimumSizeHint();
        if (least.width() <= inside.width() && least.height() <= inside.height())
            break;
        dialog.setFont(ZoomPolicy::zoomed(dialog.font(), kShrink));
        // The least size a layout allows follows the font only once it is laid out again.
        if (dialog.layout())
            dialog.layout()->activate();
    }
    QRect placed(dialog.geometry().topLeft(), dialog.size().boundedTo(inside));
    if (centreOn)
        placed.moveCenter(centreOn->frameGeometry().center());
    // Its top left corner wins where it cannot fit all the same.
    const QRect within = room - frame;
    placed.moveLeft(
        std::max(within.left(), std::min(placed.left(), within.right() + 1 - placed.width())));
    placed.moveTop(
        std::max(within.top(), std::min(placed.top(), within.bottom() + 1 - placed.height())));
    if (placed != dialog.geometry())
        dialog.setGeometry(placed);
}

} // namespace korvelian
