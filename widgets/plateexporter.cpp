#include "plateexporter.h"

#include "filewriter.h"
#include "overviewplate.h"
#include "pictureexporter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

#include <algorithm>

namespace korvelian {

namespace {

constexpr int kPdfResolution = 300;
const QString kTitle = QStringLiteral("Übersichtstafel der Korvelian-Figuren");

QString suffix(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

// The plate as large as fits, centred across the top of the page.
bool paintPage(const OverviewPlate& plate, QPagedPaintDevice& device, bool worksheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter's origin is the corner of the page's printable rectangle.
    const QSizeF page(device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    const QSize shape = plate.size(1000);
    const double width = std::min(page.width(), page.height() * shape.width() / shape.height());
    plate.paint(
        painter,
        QRectF((page.width() - width) / 2, 0, width, width * shape.height() / shape.width()),
        worksheet);
    return painter.end();
}

} // namespace

bool PlateExporter::knownFormat(const QString& path)
{
    const QString ending = suffix(path);
    return ending == "png" || ending == "svg" || ending == "pdf";
}

QByteArray PlateExporter::encode(const OverviewPlate& plate, const QString& format, int width,
                                 bool worksheet)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == "png") {
        plate.image(width, worksheet).save(&buffer, "PNG");
    } else if (format == "svg") {
        const QSize size = plate.size(width);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        // At 96 dots per inch a browser shows the plate width pixels wide.
        svg.setResolution(96);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(kTitle);
        QPainter painter(&svg);
        plate.paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), worksheet);
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(kTitle);
        pdf.setCreator(QStringLiteral("korvelian"));
        pdf.setResolution(kPdfResolution);
        const QSize shape = plate.size(1000);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      shape.width() > shape.height() ? QPageLayout::Landscape
                                                                     : QPageLayout::Portrait,
                                      QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
        paintPage(plate, pdf, worksheet);
    }
    return buffer.data();
}

bool PlateExporter::save(const OverviewPlate& plate, const QString& path, int width, QString* error,
                         bool worksheet)
{
    auto fail = [&](const QString& message) {
        if (error)
            *error = message;
        return false;
    };
    if (!knownFormat(path)) {
        return fail(QStringLiteral("„%1“ endet nicht auf .png, .svg oder .pdf; nur diese "
                                   "Formate kann die Tafel haben.")
                        .arg(QFileInfo(path).fileName()));
    }
    if (width < 1 || width > PictureExporter::kLargestSize) {
        return fail(QStringLiteral("Die Bildbreite muss zwischen 1 und %1 Pixeln liegen.")
                        .arg(PictureExporter::kLargestSize));
    }
    // Drawn into memory first: the encoders do not report a short write, the file writer does.
    return FileWriter::write(path, encode(plate, suffix(path), width, worksheet), error);
}

bool PlateExporter::print(const OverviewPlate& plate, QPrinter& printer, bool worksheet,
                          QString* error)
{
    return PictureExporter::print(
        printer, [&](QPagedPaintDevice& device) { return paintPage(plate, device, worksheet); },
        error);
}

} // namespace korvelian
