#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

namespace korvelian {

// What a window manager's frame adds around a window: the window's zoom and the dialogs'
// places leave room for it on the screen.
class WindowFrame
{
public:
    // A title bar and borders as the style draws them, for a window not framed yet.
    static QMargins estimated(const QWidget& window);
    // The frame around a window, or as it will be once framed.
    static QMargins of(const QWidget& window);
    static QSize size(const QMargins& margins)
    {
        return {margins.left() + margins.right(), margins.top() + margins.bottom()};
    }
};

} // namespace korvelian
