#include "zoomedstyle.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// A scroll bar's option at 100 % and the enlargement from there to the widget: one factor
// per direction, so that the enlarged bar fills the widget exactly although its size in
// pixels was rounded.
struct Unzoomed
{
    QStyleOptionSlider option;
    double sx = 1;
    double sy = 1;
};

Unzoomed unzoomed(const QStyleOptionComplex* option, double zoom)
{
    Unzoomed u;
    u.option = *qstyleoption_cast<const QStyleOptionSlider*>(option);
    const QRect& rect = option->rect;
    const int width = std::max(1, static_cast<int>(std::lround(rect.width() / zoom)));
    const int height = std::max(1, static_cast<int>(std::lround(rect.height() / zoom)));
    u.sx = double(rect.width()) / width;
    u.sy = double(rect.height()) / height;
    u.option.rect = QRect(static_cast<int>(std::lround(rect.x() / u.sx)),
                          static_cast<int>(std::lround(rect.y() / u.sy)), width, height);
    return u;
}

} // namespace

bool ZoomedStyle::enlarges(ComplexControl control, const QStyleOptionComplex* option) const
{
    return control == CC_ScrollBar && m_zoom != 1 && !m_atHundred &&
           qstyleoption_cast<const QStyleOptionSlider*>(option);
}

int ZoomedStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_CheckBoxLabelSpacing:
        return static_cast<int>(std::lround(base * m_zoom));
    default:
        return base;
    }
}

void ZoomedStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const
{
    if (!enlarges(control, option)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const Unzoomed u = unzoomed(option, m_zoom);
    painter->save();
    painter->scale(u.sx, u.sy);
    const QScopedValueRollback atHundred(m_atHundred, true);
    QProxyStyle::drawComplexControl(control, &u.option, painter, widget);
    painter->restore();
}

QRect ZoomedStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                  SubControl part, const QWidget* widget) const
{
    if (!enlarges(control, option))
        return QProxyStyle::subControlRect(control, option, part, widget);
    const Unzoomed u = unzoomed(option, m_zoom);
    QRect r;
    {
        const QScopedValueRollback atHundred(m_atHundred, true);
        r = QProxyStyle::subControlRect(control, &u.option, part, widget);
    }
    const auto x = [&](int value) { return static_cast<int>(std::lround(value * u.sx)); };
    const auto y = [&](int value) { return static_cast<int>(std::lround(value * u.sy)); };
    return QRect(QPoint(x(r.left()), y(r.top())),
                 QPoint(x(r.right() + 1) - 1, y(r.bottom() + 1) - 1));
}

} // namespace korvelian
