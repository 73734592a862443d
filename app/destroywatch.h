#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>

#include <functional>

namespace korvelian {

// Notices when the native window of a widget is destroyed from outside the program (a tool
// or a session manager closing it without asking), which the toolkit leaves unnoticed: the
// program would go on running with no window.
class DestroyWatch : public QAbstractNativeEventFilter
{
public:
    DestroyWatch(const QWidget& window, std::function<void()> destroyed);
    ~DestroyWatch() override;
    DestroyWatch(const DestroyWatch&) = delete;
    DestroyWatch& operator=(const DestroyWatch&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& m_window;
    std::function<void()> m_destroyed;
};

} // namespace korvelian
