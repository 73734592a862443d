#include "pictureexporter.h"

#include "barvalues.h"
#include "constants.h"
#include "drawingrenderer.h"
#include "figurepoints.h"
#include "filewriter.h"
#include "layout.h"
#include "numbertext.h"
#include "picturearea.h"
#include "bartexts.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace korvelian {

namespace {

// The area's width at 100 %: the picture size at which lines are one pixel wide.
double baseWidth(const PictureArea& area)
{
    return std::max(1.0, area.width() / area.zoom());
}

QSize pictureSize(const PictureArea& area, int width)
{
    const double shape = area.width() > 0 ? double(area.height()) / area.width() : 1.0;
    return {width, std::max(1, static_cast<int>(std::lround(width * shape)))};
}

// The picture with what belongs to it but has no room on it beneath (the reading aid's legend
// where the figure fills the screen).
QSize wholeSize(const PictureArea& area, int width)
{
    return pictureSize(area, width) +
           QSize(0, static_cast<int>(std::ceil(area.beneathHeight(width))));
}

QColor background(const PictureArea& area, bool worksheet)
{
    return worksheet ? kWorksheetBackground : area.background();
}

// As the numerator and denominator boxes write it: 32767 without a thousands point, which a
// German reader would take for a decimal, and 2.5 with the boxes' point.
QString boxNumber(double value)
{
    return QString::fromStdString(numberText(value)).trimmed();
}

} // namespace

QImage PictureExporter::image(const PictureArea& area, int sizePx, bool worksheet)
{
    const QSize size = pictureSize(area, sizePx);
    QImage picture(wholeSize(area, sizePx), QImage::Format_RGB32);
    picture.fill(background(area, worksheet));
    DrawingRenderer renderer;
    const RenderStyle style{sizePx / baseWidth(area), worksheet, area.yUp(), area.figureDimmed()};
    {
        QPainter painter(&picture);
        area.paintUnderlay(painter, QRectF(QPointF(0, 0), QSizeF(size)), linePixels(style.zoom),
                           worksheet);
    }
    renderer.render(picture, QSizeF(size), area.drawing(), style);
    QPainter painter(&picture);
    area.paintAnnotations(painter, QRectF(QPointF(0, 0), QSizeF(size)), linePixels(style.zoom),
                          worksheet);
    if (picture.height() > size.height()) {
        area.paintBeneath(painter,
                          QRectF(0, size.height(), size.width(), picture.height() - size.height()),
                          worksheet);
    }
    return picture;
}

void PictureExporter::paint(const PictureArea& area, QPainter& painter, const QRectF& whole,
                            bool worksheet)
{
    painter.fillRect(whole, background(area, worksheet));
    const QSize shape = pictureSize(area, 1000);
    const QRectF target(whole.topLeft(),
                        QSizeF(whole.width(), whole.width() * shape.height() / shape.width()));
    const RenderStyle style{target.width() / baseWidth(area), worksheet, area.yUp(),
                            area.figureDimmed()};
    area.paintUnderlay(painter, target, style.zoom, worksheet);
    paintVector(painter, area.drawing(), target, style);
    area.paintAnnotations(painter, target, style.zoom, worksheet);
    if (whole.bottom() > target.bottom() + 0.5) {
        area.paintBeneath(painter, QRectF(target.bottomLeft(), whole.bottomRight()), worksheet);
    }
}

bool PictureExporter::knownFormat(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "png" || suffix == "svg";
}

int PictureExporter::widthAtHundred(const PictureArea& area)
{
    return static_cast<int>(std::lround(baseWidth(area)));
}

QByteArray PictureExporter::encode(const Source& source, const QString& format)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == QLatin1String("png")) {
        source.image().save(&buffer, "PNG");
        return buffer.data();
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

bool PictureExporter::save(const PictureArea& area, const QString& path, int sizePx, QString* error,
                           bool worksheet)
{
    if (knownFormat(path) && (sizePx < 1 || sizePx > kLargestSize)) {
        if (error) {
            *error = QStringLiteral("Die Bildbreite muss zwischen 1 und %1 Pixeln liegen.")
                         .arg(kLargestSize);
        }
        return false;
    }
    const Source source{
        wholeSize(area, sizePx), QStringLiteral("Korvelian-Figur"), parameterLines(area).join('\n'),
        [&] { return image(area, sizePx, worksheet); },
        [&](QPainter& painter, const QRectF& target) { paint(area, painter, target, worksheet); }};
    return write(path, source, error);
}

bool PictureExporter::print(const PictureArea& area, QPrinter& printer, bool worksheet,
                            QString* error)
{
    return print(
        printer, [&](QPagedPaintDevice& device) { return paintPage(area, device, worksheet); },
        error);
}

bool PictureExporter::print(QPrinter& printer,
                            const std::function<bool(QPagedPaintDevice&)>& paintPage,
                            QString* error)
{
    // A PDF file from the print dialog is drawn into memory and written as any other file:
    // the printer's own PDF output neither reports a short write nor keeps the old file.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            pdf.setPageLayout(printer.pageLayout());
            pdf.setResolution(printer.resolution());
            pdf.setPdfVersion(printer.pdfVersion());
            pdf.setTitle(printer.docName());
            pdf.setCreator(printer.creator());
            paintPage(pdf);
        }
        return FileWriter::write(printer.outputFileName(), buffer.data(), error);
    }
    if (paintPage(printer))
        return true;
    if (error) {
        *error = QStringLiteral("Der Drucker „%1“ konnte nicht angesprochen werden.")
                     .arg(printer.printerName());
    }
    return false;
}

bool PictureExporter::paintPage(const PictureArea& area, QPagedPaintDevice& device, bool worksheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF page(QPointF(0, 0),
                      QSizeF(device.pageLayout().paintRectPixels(device.logicalDpiX()).size()));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(11);
    painter.setFont(font);
    const QStringList lines = parameterLines(area);
    const double lineHeight = painter.fontMetrics().lineSpacing();
    const double textHeight = lineHeight * (lines.size() + 1);
    // The legend beneath the picture grows with it, so its share of the height stays.
    const QSize shape = wholeSize(area, 1000);
    const double width =
        std::min(page.width(), (page.height() - textHeight) * shape.width() / shape.height());
    const QRectF target((page.width() - width) / 2, 0, width,
                        width * shape.height() / shape.width());
    paint(area, painter, target, worksheet);
    painter.setPen(Qt::black);
    double y = target.bottom() + lineHeight;
    for (const QString& line : lines) {
        painter.drawText(QRectF(target.left(), y, target.width(), lineHeight), Qt::AlignLeft, line);
        y += lineHeight;
    }
    return painter.end();
}

bool PictureExporter::figureAsImage(const PictureArea& area)
{
    const DrawOp* figure = lastFigure(area.drawing());
    return figure && figureRun(figure->parameters, figure->end).count > kLargestVectorFigure;
}

QString PictureExporter::defaultFileName(const PictureArea& area, const QString& suffix)
{
    const DrawOp* figure = lastFigure(area.drawing());
    if (!figure)
        return QStringLiteral("korvelian.") + suffix;
    return QStringLiteral("korvelian-%1-%2.%3")
        .arg(QString::number(figure->parameters.numerator, 'g', 10),
             QString::number(figure->parameters.denominator, 'g', 10), suffix);
}

QStringList PictureExporter::parameterLines(const PictureArea& area)
{
    const DrawOp* figure = lastFigure(area.drawing());
    if (!figure)
        return {};
    const Parameter& p = figure->parameters;
    auto readout = [&p](const char* bar, double value) {
        return barText(control(bar), barValue(value), p.numerator, p.denominator);
    };
    const long closingCount = closingCountOf(figure->end);
    return {readout("hscAmp1", p.amplitudeX) + "    " + readout("HScroll1", p.phaseX),
            readout("hscAmp2", p.amplitudeY) + "    " + readout("hscPhase", p.phaseY),
            QStringLiteral("Frequenzfaktor: %1 / %2    kgV: %3")
                .arg(boxNumber(p.numerator), boxNumber(p.denominator))
                .arg(closingCount)};
}

} // namespace korvelian
