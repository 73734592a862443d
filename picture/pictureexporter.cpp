#include "pictureexporter.h"

#include "compactimage.h"
#include "drawingrenderer.h"
#include "filewriter.h"
#include "pngencoder.h"
#include "picturebands.h"
#include "form/layout.h"
#include "model/barvalues.h"
#include "model/constants.h"
#include "model/figurepoints.h"
#include "model/numbertext.h"
#include "scene/screenpicture.h"
#include "scene/texts.h"
#include "scenepainter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <optional>

namespace korvelian {

namespace {

// A PNG file's picture is painted in bands of about this many pixels: a few megabytes, and few
// enough bands that what is painted over every band costs little.
constexpr int kBandPixels = 1 << 20;

} // namespace

QImage PictureExporter::image(const ScreenPicture& picture, int sizePx, bool worksheet)
{
    PictureBands bands(picture, sizePx, worksheet);
    QImage image(bands.size(), QImage::Format_RGB32);
    bands.paint(image, 0);
    return image;
}

void PictureExporter::paint(const ScreenPicture& picture, QPainter& painter, const QRectF& whole,
                            bool worksheet)
{
    painter.fillRect(whole, background(picture, worksheet));
    const QSize shape = pictureSize(picture, 1000);
    const QRectF target(whole.topLeft(),
                        QSizeF(whole.width(), whole.width() * shape.height() / shape.width()));
    const RenderStyle style = styleAt(picture, target.width(), worksheet);
    ScenePainter scenePainter;
    Scene underlay;
    picture.describeUnderlay(underlay, fromQt(target), style.zoom, worksheet);
    scenePainter.paint(painter, underlay);
    paintVector(painter, picture.drawing, target, style);
    Scene over;
    picture.describeAnnotations(over, qtTextMetrics(), fromQt(target), style.zoom, worksheet,
                                painter.device() ? painter.device()->devicePixelRatioF() : 1.0);
    if (whole.bottom() > target.bottom() + 0.5)
        picture.describeBeneath(over, fromQt(QRectF(target.bottomLeft(), whole.bottomRight())),
                                worksheet);
    scenePainter.paint(painter, over);
}

bool PictureExporter::knownFormat(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "png" || suffix == "svg";
}

int PictureExporter::widthAtHundred(const ScreenPicture& picture)
{
    return static_cast<int>(std::lround(picture.widthAtHundred()));
}

QByteArray PictureExporter::encode(const Source& source, const QString& format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == QLatin1String("png")) {
        if (source.bands)
            return encodePngBands(source.size, kBandPixels / source.size.width(), source.bands);
        QImage image = source.image();
        return encodePng(compactImage(image));
    }
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // Sizes in the file are in millimetres; at 96 dots per inch a browser shows the picture
    // as many pixels wide as it has.
    svg.setResolution(96);
    svg.setSize(source.size);
    svg.setViewBox(QRect(QPoint(0, 0), source.size));
    svg.setTitle(source.title);
    svg.setDescription(source.description);
    QPainter painter(&svg);
    source.paint(painter, QRectF(QPointF(0, 0), QSizeF(source.size)));
    painter.end();
    return buffer.data();
}

bool PictureExporter::write(const QString& path, const Source& source, QString* error)
{
    if (!knownFormat(path)) {
        if (error) {
            *error = QStringLiteral("„%1“ endet weder auf .png noch auf .svg; nur diese beiden "
                                    "Bildformate können gespeichert werden.")
                         .arg(QFileInfo(path).fileName());
        }
        return false;
    }
    // Drawn into memory first: the encoders do not report a short write, the file writer does.
    return FileWriter::write(path, encode(source, QFileInfo(path).suffix().toLower()), error);
}

bool PictureExporter::save(const ScreenPicture& picture, const QString& path, int sizePx,
                           QString* error, bool worksheet)
{
    if (knownFormat(path) && (sizePx < 1 || sizePx > kLargestSize)) {
        if (error) {
            *error = QStringLiteral("Die Bildbreite muss zwischen 1 und %1 Pixeln liegen.")
                         .arg(kLargestSize);
        }
        return false;
    }
    // Made only when a PNG file is written.
    std::optional<PictureBands> bands;
    const Source source{wholeSize(picture, sizePx),
                        QStringLiteral("Korvelian-Figur"),
                        parameterLines(picture).join('\n'),
                        [&] { return image(picture, sizePx, worksheet); },
                        [&](QPainter& painter, const QRectF& target) {
                            paint(picture, painter, target, worksheet);
                        },
                        [&](QImage& band, int top) {
                            if (!bands)
                                bands.emplace(picture, sizePx, worksheet);
                            bands->paint(band, top);
                        }};
    return write(path, source, error);
}

QByteArray PictureExporter::pdf(const PdfPage& page,
                                const std::function<bool(QPagedPaintDevice&)>& paintPage)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(page.layout);
        pdf.setResolution(page.resolution);
        pdf.setPdfVersion(page.version);
        pdf.setTitle(page.title);
        pdf.setCreator(page.creator);
        paintPage(pdf);
    }
    return buffer.data();
}

bool PictureExporter::paintPage(const ScreenPicture& picture, QPagedPaintDevice& device,
                                bool worksheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF page(QPointF(0, 0),
                      QSizeF(device.pageLayout().paintRectPixels(device.logicalDpiX()).size()));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(11);
    painter.setFont(font);
    const QStringList lines = parameterLines(picture);
    const double lineHeight = painter.fontMetrics().lineSpacing();
    const double textHeight = lineHeight * (lines.size() + 1);
    // The legend beneath the picture grows with it, so its share of the height stays.
    const QSize shape = wholeSize(picture, 1000);
    const double width =
        std::min(page.width(), (page.height() - textHeight) * shape.width() / shape.height());
    const QRectF target((page.width() - width) / 2, 0, width,
                        width * shape.height() / shape.width());
    paint(picture, painter, target, worksheet);
    painter.setPen(Qt::black);
    double y = target.bottom() + lineHeight;
    for (const QString& line : lines) {
        painter.drawText(QRectF(target.left(), y, target.width(), lineHeight), Qt::AlignLeft, line);
        y += lineHeight;
    }
    return painter.end();
}

bool PictureExporter::figureAsImage(const ScreenPicture& picture)
{
    const DrawOp* figure = lastFigure(picture.drawing);
    return figure && figurePointCount(*figure, picture.fine) > kLargestVectorFigure;
}

QStringList PictureExporter::parameterLines(const ScreenPicture& picture)
{
    QStringList lines;
    for (const std::string& line : korvelian::parameterLines(picture))
        lines << QString::fromStdString(line);
    return lines;
}

} // namespace korvelian
