#pragma once

#include "raster/widefigureraster.h"
#include "scene/drawing.h"
#include "scene/scene.h"
#include "scenepainter.h"

#include <QColor>
#include <QImage>
#include <QSize>

#include <vector>

namespace korvelian {

struct ScreenPicture;

// The screen's picture as an image width pixels wide, the size of PictureExporter::image: the
// picture itself, whose height follows its shape, and with what has no room on it beneath.
QSize pictureSize(const ScreenPicture& picture, int width);
QSize wholeSize(const ScreenPicture& picture, int width);
QColor background(const ScreenPicture& picture, bool worksheet);
// The picture's style at a width: its lines as wide against the picture as a pixel is against
// the screen at 100 %.
RenderStyle styleAt(const ScreenPicture& picture, double width, bool worksheet);

// The screen's picture as pixels, made a band of rows at a time: a file 8192 pixels wide need
// never hold its whole image. Every band holds exactly the rows of the whole image: the
// figures are worked out once for the whole picture, and what the painter draws is painted
// into each band moved up by the band's top row.
class PictureBands
{
public:
    PictureBands(const ScreenPicture& picture, int width, bool worksheet);

    // The whole image's size.
    QSize size() const { return m_whole; }
    // Rows top .. top + band.height() - 1 of the whole image into band, an image of 32-bit
    // pixels as wide as the whole one.
    void paint(QImage& band, int top);

private:
    void paintDrawing(QImage& band, int top);

    const ScreenPicture& m_picture;
    QSize m_size;
    QSize m_whole;
    QColor m_ground;
    RenderStyle m_style;
    Scene m_underlay;
    Scene m_over;
    ScenePainter m_painter;
    // The drawing's figures in their order, each for the whole image.
    std::vector<GrownFigure> m_figures;
};

} // namespace korvelian
