#include "paintinpause.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>

namespace korvelian {

PaintInPause::PaintInPause()
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool PaintInPause::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_pumping || m_painting || event->type() != QEvent::UpdateRequest)
        return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || !window->isWindow() || QApplication::activePopupWidget() ||
        QApplication::activeModalWidget())
        return false;
    if (std::find(m_held.begin(), m_held.end(), window) == m_held.end())
        m_held.emplace_back(window);
    // Should no pause follow (the beam stopped in this pump, or the pump outlasted a pause),
    // the next pump or the event loop paints it.
    if (!m_paintQueued) {
        m_paintQueued = true;
        QMetaObject::invokeMethod(
            this, [this] { paint(); }, Qt::QueuedConnection);
    }
    return true;
}

bool PaintInPause::paint()
{
    m_paintQueued = false;
    if (m_held.empty())
        return false;
    const std::vector<QPointer<QWidget>> held = std::move(m_held);
    m_held.clear();
    m_painting = true;
    for (const QPointer<QWidget>& window : held) {
        if (!window)
            continue;
        // What the held request would have done: the window's changed parts painted and
        // handed to the display.
        QEvent request(QEvent::UpdateRequest);
        QCoreApplication::sendEvent(window, &request);
    }
    m_painting = false;
    return true;
}

} // namespace korvelian
