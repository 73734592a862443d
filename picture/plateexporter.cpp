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

QString suffix(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
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

QSizeF printable(const QPageLayout& layout)
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

bool PlateExporter::paintPage(const OverviewPlate& plate, QPagedPaintDevice& device, bool worksheet)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The painter's origin is the corner of the page's printable rectangle.
    const QSizeF page(device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    const OverviewPlate onPage = fitted(plate, page);
    const QSize shape = size(onPage, 1000);
    const double width = fit(onPage, page).width;
    paint(onPage, painter,
          QRectF((page.width() - width) / 2, 0, width, width * shape.height() / shape.width()),
          worksheet);
    return painter.end();
}

QByteArray PlateExporter::pdf(const OverviewPlate& plate, bool worksheet)
{
    const auto layout = [](QPageLayout::Orientation orientation) {
        return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(15, 15, 15, 15),
                           QPageLayout::Millimeter);
    };
    // The page turned the way that gives the cells the most room.
    const QPageLayout portrait = layout(QPageLayout::Portrait);
    const QPageLayout landscape = layout(QPageLayout::Landscape);
    const bool across = fit(fitted(plate, printable(landscape)), printable(landscape)).cellSide >
                        fit(fitted(plate, printable(portrait)), printable(portrait)).cellSide;
    const PictureExporter::PdfPage page{across ? landscape : portrait, kPdfResolution,
                                        QPagedPaintDevice::PdfVersion_1_4, kTitle,
                                        QStringLiteral("korvelian")};
    return PictureExporter::pdf(
        page, [&](QPagedPaintDevice& device) { return paintPage(plate, device, worksheet); });
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
    if (suffix(path) == "pdf")
        return FileWriter::write(path, pdf(plate, worksheet), error);
    const PictureExporter::Source source{
        size(plate, width), kTitle, QString(), [&] { return image(plate, width, worksheet); },
        [&](QPainter& painter, const QRectF& target) { paint(plate, painter, target, worksheet); }};
    return PictureExporter::write(path, source, error);
}

} // namespace korvelian
