#include "windowframe.h"

#include <QStyle>
#include <QWidget>

namespace korvelian {

QMargins WindowFrame::estimated(const QWidget& window)
{
    constexpr int kBorder = 4;
    return {kBorder, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + kBorder, kBorder,
            kBorder};
}

QMargins WindowFrame::of(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    if (outer == inner)
        return estimated(window);
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace korvelian
