#include "picturebands.h"

#include "drawingrenderer.h"
#include "form/pixels.h"
#include "model/palette.h"
#include "scene/screenpicture.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korvelian {

QSize pictureSize(const ScreenPicture& picture, int width)
{
    const SizeF area = picture.size;
    const double shape = area.width > 0 ? area.height / area.width : 1.0;
    return {width, std::max(1, static_cast<int>(std::lround(width * shape)))};
}

// The picture with what belongs to it but has no room on it beneath (the reading aid's legend
// where the figure fills the screen).
QSize wholeSize(const ScreenPicture& picture, int width)
{
    return pictureSize(picture, width) +
           QSize(0, static_cast<int>(std::ceil(picture.beneathHeight(qtTextMetrics(), width))));
}

QColor background(const ScreenPicture& picture, bool worksheet)
{
    return toQColor(worksheet ? palette::kWorksheetGround : picture.background);
}

RenderStyle styleAt(const ScreenPicture& picture, double width, bool worksheet)
{
    RenderStyle style = picture.style();
    style.zoom = width / picture.widthAtHundred();
    style.worksheet = worksheet;
    return style;
}

PictureBands::PictureBands(const ScreenPicture& picture, int width, bool worksheet)
    : m_picture(picture), m_size(pictureSize(picture, width)), m_whole(wholeSize(picture, width)),
      m_ground(background(picture, worksheet)), m_style(styleAt(picture, width, worksheet))
{
    const RectF target{0, 0, double(m_size.width()), double(m_size.height())};
    const int lineWidth = linePixels(m_style.zoom);
    picture.describeUnderlay(m_underlay, target, lineWidth, worksheet);
    picture.describeAnnotations(m_over, qtTextMetrics(), target, lineWidth, worksheet);
    if (m_whole.height() > m_size.height()) {
        picture.describeBeneath(m_over,
                                {0, double(m_size.height()), double(m_size.width()),
                                 double(m_whole.height() - m_size.height())},
                                worksheet);
    }
    // The figures cover the whole image, as on an image holding it all; their raster's threads
    // and bits are let go once their pixels are kept.
    WideFigureRaster raster;
    const SizeF logical{double(m_size.width()), double(m_size.height())};
    for (const DrawOp& op : picture.drawing) {
        if (op.kind != DrawOp::Kind::Figure)
            continue;
        raster.grow(m_figures.emplace_back(), m_whole.width(), m_whole.height(), op.parameters,
                    op.end, imageMapping(op.frame, logical, m_style, 1.0), lineWidth, m_style.fine);
    }
}

void PictureBands::paint(QImage& band, int top)
{
    band.fill(m_ground);
    // Only what reaches into the band: the reading aid's marks at 32767 touch points would
    // otherwise be stroked again for every band.
    const double bottom = top + band.height();
    {
        QPainter painter(&band);
        painter.translate(0, -top);
        m_painter.paint(painter, sceneWithin(m_underlay, top, bottom));
    }
    paintDrawing(band, top);
    QPainter painter(&band);
    painter.translate(0, -top);
    m_painter.paint(painter, sceneWithin(m_over, top, bottom));
}

void PictureBands::paintDrawing(QImage& band, int top)
{
    if (m_picture.drawing.empty())
        return;
    QPainter painter;
    const auto begin = [&] {
        painter.begin(&band);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(0, -top);
    };
    begin();
    auto figure = m_figures.begin();
    for (const DrawOp& op : m_picture.drawing) {
        if (op.kind != DrawOp::Kind::Figure) {
            paintShapeOp(painter, QSizeF(m_size), op, m_style);
            continue;
        }
        painter.end();
        (figure++)->paint(reinterpret_cast<std::uint32_t*>(band.bits()), band.bytesPerLine() / 4,
                          top, band.height(), toQColor(renderColour(op, m_style)).rgb());
        begin();
    }
}

} // namespace korvelian
