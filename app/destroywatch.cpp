#include "destroywatch.h"

#include <QCoreApplication>

#if __has_include(<xcb/xproto.h>)
#include <xcb/xproto.h>
#define KORVELIAN_HAVE_XCB 1
#endif

namespace korvelian {

DestroyWatch::DestroyWatch(const QWidget& window, std::function<void()> destroyed)
    : m_window(window), m_destroyed(std::move(destroyed))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

DestroyWatch::~DestroyWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool DestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
#ifdef KORVELIAN_HAVE_XCB
    if (eventType != "xcb_generic_event_t" || !m_window.testAttribute(Qt::WA_WState_Created))
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY)
        return false;
    const auto* destroy = static_cast<const xcb_destroy_notify_event_t*>(message);
    if (destroy->window == m_window.winId())
        m_destroyed();
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false;
}

} // namespace korvelian
