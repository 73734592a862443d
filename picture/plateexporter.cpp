#include "plateexporter.h"

#include "filewriter.h"
#include "pictureexporter.h"
#include "scenepainter.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>

#include <algorithm>

namespace korvelian {

namespace {

constexpr int kPdfResolution = 300;
const QString kTitle = QStringLiteral("Übersichtstafel der Korvelian-Figuren");
const QString kSheetTitle = QStringLiteral("Arbeitsblatt: Korvelian-Figuren");

QString suffix(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

QPageLayout a4(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(15, 15, 15, 15),
                       QPageLayout::Millimeter);
}

// An A4 page's printable area width units wide, in an orientation.
QSizeF printable(QPageLayout::Orientation orientation, double width)
{
    const QSizeF area = a4(orientation).paintRect(QPageLayout::Millimeter).size();
    return {width, width * area.height() / area.width()};
}

// A whole A4 page width pixels wide, and where its printable area lies on it: a picture of a
// worksheet has the paper's margins.
QRectF printableOnPage(QPageLayout::Orientation orientation, double width, QSizeF* page)
{
    const QPageLayout layout = a4(orientation);
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    const double scale = width / full.width();
    *page = QSizeF(width, std::round(full.height() * scale));
    const QRectF area = layout.paintRect(QPageLayout::Millimeter);
    return {area.x() * scale, area.y() * scale, area.width() * scale, area.height() * scale};
}

bool isSheet(const PlateSheet& sheet)
{
    return sheet.sheet != OverviewPlate::Sheet::Plate;
}

} // namespace

QSize PlateExporter::size(const OverviewPlate& plate, int width)
{
    const SizeF size = plate.size(qtTextMetrics(), width);
    return {static_cast<int>(size.width), static_cast<int>(size.height)};
}

QRect PlateExporter::cellRect(const OverviewPlate& plate, std::size_t index, int width)
{
    return toQt(plate.cellRect(qtTextMetrics(), index, width)).toRect();
}

QImage PlateExporter::image(const OverviewPlate& plate, int width, bool worksheet)
{
    const QSize whole = size(plate, width);
    QImage image(whole, QImage::Format_RGB32);
    image.fill(toQColor(OverviewPlate::ground(worksheet)));
    Scene scene;
    plate.describe(scene, qtTextMetrics(), width, worksheet);
    QPainter painter(&image);
    ScenePainter().paint(painter, scene);
    return image;
}

void PlateExporter::paint(const OverviewPlate& plate, QPainter& painter, const QRectF& target,
                          bool worksheet)
{
    Scene scene;
    plate.describeVector(scene, qtTextMetrics(), fromQt(target), worksheet);
    ScenePainter().paint(painter, scene);
}

bool PlateExporter::knownFormat(const QString& path)
{
    const QString ending = suffix(path);
    return ending == "png" || ending == "svg" || ending == "pdf";
}

namespace {

// The plate's width on a page of this shape, and the side of a cell there, both in the page's
// units.
struct Fit
{
    double width = 0;
    double cellSide = 0;
};

Fit fit(const OverviewPlate& plate, const QSizeF& page)
{
    const QSize shape = PlateExporter::size(plate, 1000);
    const double width = std::min(page.width(), page.height() * shape.width() / shape.height());
    return {width, width * PlateExporter::cellRect(plate, 0, 1000).width() / 1000};
}

QSizeF printableMillimetres(const QPageLayout& layout)
{
    return layout.paintRect(QPageLayout::Millimeter).size();
}

} // namespace

OverviewPlate PlateExporter::fitted(const OverviewPlate& plate, const QSizeF& page)
{
    OverviewPlate best = plate;
    if (!plate.reflowable())
        return best;
    for (int columns = 1; columns <= static_cast<int>(plate.cells().size()); ++columns) {
        OverviewPlate tried = plate;
        tried.setColumns(columns);
        if (fit(tried, page).cellSide > fit(best, page).cellSide + 1e-9)
            best = tried;
    }
    return best;
}

QPageLayout::Orientation PlateExporter::orientation(const OverviewPlate& plate,
                                                    const PlateSheet& sheet)
{
    if (sheet.orientation)
        return *sheet.orientation;
    return plate.sheetAcross(qtTextMetrics(), sheet.sheet) ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait;
}

QImage PlateExporter::sheetImage(const OverviewPlate& plate, int width, bool worksheet,
                                 const PlateSheet& sheet)
{
    QSizeF page;
    const QRectF area = printableOnPage(orientation(plate, sheet), width, &page);
    QImage image(page.toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(toQColor(OverviewPlate::ground(worksheet)));
    Scene scene;
    plate.describeSheet(scene, qtTextMetrics(), fromQt(area), sheet.sheet, sheet.seed, worksheet,
                        false);
    QPainter painter(&image);
    ScenePainter().paint(painter, scene);
    return image;
}

bool PlateExporter::paintPage(const OverviewPlate& plate, QPagedPaintDevice& device, bool worksheet,
                              const PlateSheet& sheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter's origin is the corner of the page's printable rectangle.
    const QSizeF page(device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    if (isSheet(sheet)) {
        Scene scene;
        plate.describeSheet(scene, qtTextMetrics(), {0, 0, page.width(), page.height()},
                            sheet.sheet, sheet.seed, worksheet, true);
        ScenePainter().paint(painter, scene);
        return painter.end();
    }
    const OverviewPlate onPage = fitted(plate, page);
    const QSize shape = size(onPage, 1000);
    const double width = fit(onPage, page).width;
    paint(onPage, painter,
          QRectF((page.width() - width) / 2, 0, width, width * shape.height() / shape.width()),
          worksheet);
    return painter.end();
}

QByteArray PlateExporter::pdf(const OverviewPlate& plate, bool worksheet, const PlateSheet& sheet)
{
    const auto plateAcross = [&] {
        // The page turned the way that gives the cells the most room.
        const QSizeF portrait = printableMillimetres(a4(QPageLayout::Portrait));
        const QSizeF landscape = printableMillimetres(a4(QPageLayout::Landscape));
        return fit(fitted(plate, landscape), landscape).cellSide >
                       fit(fitted(plate, portrait), portrait).cellSide
                   ? QPageLayout::Landscape
                   : QPageLayout::Portrait;
    };
    const PictureExporter::PdfPage page{
        a4(isSheet(sheet) ? orientation(plate, sheet) : plateAcross()), kPdfResolution,
        QPagedPaintDevice::PdfVersion_1_4, isSheet(sheet) ? kSheetTitle : kTitle,
        QStringLiteral("korvelian")};
    return PictureExporter::pdf(page, [&](QPagedPaintDevice& device) {
        return paintPage(plate, device, worksheet, sheet);
    });
}

bool PlateExporter::save(const OverviewPlate& plate, const QString& path, int width, QString* error,
                         bool worksheet, const PlateSheet& sheet)
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
    if (suffix(path) == "pdf")
        return FileWriter::write(path, pdf(plate, worksheet, sheet), error);
    if (isSheet(sheet)) {
        const QSizeF page = printable(orientation(plate, sheet), width);
        const PictureExporter::Source source{
            page.toSize(), kSheetTitle, QString(),
            [&] { return sheetImage(plate, width, worksheet, sheet); },
            [&](QPainter& painter, const QRectF& target) {
                Scene scene;
                plate.describeSheet(scene, qtTextMetrics(), fromQt(target), sheet.sheet, sheet.seed,
                                    worksheet, true);
                ScenePainter().paint(painter, scene);
            }};
        return PictureExporter::write(path, source, error);
    }
    const PictureExporter::Source source{
        size(plate, width), kTitle, QString(), [&] { return image(plate, width, worksheet); },
        [&](QPainter& painter, const QRectF& target) { paint(plate, painter, target, worksheet); }};
    return PictureExporter::write(path, source, error);
}

} // namespace korvelian
