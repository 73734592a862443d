#pragma once

#include <QProxyStyle>

namespace korvelian {

// The style of the scroll bars and the check box at the window's zoom. The toolkit's styles
// give their arrows, thumb edges and check indicator fixed pixel sizes, so at 200 % they
// would stay as small as at 100 % while everything around them grows. A scroll bar is drawn
// as at 100 % and enlarged, and its parts are measured through the same enlargement, which
// the toolkit's hit test and drag also use, so each part reacts where it is seen; the check
// indicator takes the zoomed size.
class ZoomedStyle : public QProxyStyle
{
    Q_OBJECT

public:
    void setZoom(double zoom) { m_zoom = zoom; }
    double zoom() const { return m_zoom; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget = nullptr) const override;

private:
    bool enlarges(ComplexControl control, const QStyleOptionComplex* option) const;

    double m_zoom = 1;
    // Set while the style beneath draws or measures a bar at 100 %: it asks this style for
    // the parts again, and those questions are already at 100 %.
    mutable bool m_atHundred = false;
};

} // namespace korvelian
