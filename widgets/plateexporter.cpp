#include "plateexporter.h"

#include "overviewplate.h"
#include "pictureexporter.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>

namespace korvelian {

namespace {

constexpr int kPdfResolution = 300;

QString suffix(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

// The plate as large as fits, centred across the top of the page.
void paintOnPage(const OverviewPlate& plate, QPainter& painter, QRect paintRect, bool worksheet)
{
    // The painter's origin is the paint rectangle's corner.
    const QRectF page(QPointF(0, 0), QSizeF(paintRect.size()));
    const QSize shape = plate.size(1000);
    const double width = std::min(page.width(), page.height() * shape.width() / shape.height());
    plate.paint(painter,
                QRectF(page.left() + (page.width() - width) / 2, page.top(), width,
                       width * shape.height() / shape.width()),
                worksheet);
}

bool writeSvg(const OverviewPlate& plate, QIODevice& file, int width, bool worksheet)
{
    const QSize size = plate.size(width);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    // At 96 dots per inch a browser shows the plate width pixels wide.
    svg.setResolution(96);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Übersichtstafel der Korvelian-Figuren"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    plate.paint(painter, QRectF(QPointF(0, 0), QSizeF(size)), worksheet);
    return painter.end();
}

bool writePdf(const OverviewPlate& plate, QIODevice& file, bool worksheet)
{
    QPdfWriter pdf(&file);
    pdf.setTitle(QStringLiteral("Übersichtstafel der Korvelian-Figuren"));
    pdf.setCreator(QStringLiteral("korvelian"));
    pdf.setResolution(kPdfResolution);
    const QSize shape = plate.size(1000);
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4),
                    shape.width() > shape.height() ? QPageLayout::Landscape : QPageLayout::Portrait,
                    QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&pdf))
        return false;
    paintOnPage(plate, painter, pdf.pageLayout().paintRectPixels(kPdfResolution), worksheet);
    return painter.end();
}

} // namespace

bool PlateExporter::knownFormat(const QString& path)
{
    const QString ending = suffix(path);
    return ending == "png" || ending == "svg" || ending == "pdf";
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
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        const QString ending = suffix(path);
        if (ending == "png")
            written = plate.image(width, worksheet).save(&file, "PNG");
        else if (ending == "svg")
            written = writeSvg(plate, file, width, worksheet);
        else
            written = writePdf(plate, file, worksheet);
    }
    if (written && file.commit())
        return true;
    file.cancelWriting();
    return fail(
        QStringLiteral("Die Tafel konnte nicht als „%1“ gespeichert werden:\n%2.")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), file.errorString()));
}

void PlateExporter::print(const OverviewPlate& plate, QPrinter& printer, bool worksheet)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    paintOnPage(plate, painter, printer.pageLayout().paintRectPixels(printer.resolution()),
                worksheet);
}

} // namespace korvelian
