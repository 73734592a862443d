#pragma once

#include "scene/overviewplate.h"

#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>

class QPagedPaintDevice;
class QPainter;

namespace korvelian {

// The plate itself, or a worksheet of it on an A4 page (see OverviewPlate::Sheet), in an
// orientation given or the one that shows its cells larger.
struct PlateSheet
{
    OverviewPlate::Sheet sheet = OverviewPlate::Sheet::Plate;
    std::uint32_t seed = 1;
    std::optional<QPageLayout::Orientation> orientation;
};

// The overview plate outside the window: a PNG, SVG or PDF file and a printed page, each
// written as the screen's picture is (complete, or the old file untouched).
class PlateExporter
{
public:
    // A plate this wide shows its cells about half as large as the screen at 100 %.
    static constexpr int kDefaultWidth = 960;

    // The plate's size in pixels at a width, and where a cell's figure lies on it.
    static QSize size(const OverviewPlate& plate, int width);
    static QRect cellRect(const OverviewPlate& plate, std::size_t index, int width);
    // The plate as pixels, width wide.
    static QImage image(const OverviewPlate& plate, int width, bool worksheet);
    // The plate in lines, paths and text for an SVG file, a PDF or a printer, onto target,
    // which should have the plate's shape.
    static void paint(const OverviewPlate& plate, QPainter& painter, const QRectF& target,
                      bool worksheet);

    // Whether the name ends in .png, .svg or .pdf, in any case.
    static bool knownFormat(const QString& path);

    // Writes the plate by the name's ending: PNG and SVG width pixels wide, PDF on an A4 page
    // (width does not apply); a worksheet as a page, in PNG and SVG an A4 page width pixels
    // wide. On failure gives false and a German message in *error.
    static bool save(const OverviewPlate& plate, const QString& path, int width, QString* error,
                     bool worksheet, const PlateSheet& sheet = {});

    // The plate laid out in the rows that give its cells the most room on a page of this shape
    // (the phases; the ratios keep their square).
    static OverviewPlate fitted(const OverviewPlate& plate, const QSizeF& page);
    // The plate as large as fits, centred across the top of the page; a worksheet fills the
    // page. Gives false when the device cannot be painted on.
    static bool paintPage(const OverviewPlate& plate, QPagedPaintDevice& device, bool worksheet,
                          const PlateSheet& sheet = {});

    // The orientation of an A4 page for a worksheet: the one chosen, or else the one that
    // shows the cells larger.
    static QPageLayout::Orientation orientation(const OverviewPlate& plate,
                                                const PlateSheet& sheet);
    // A worksheet as pixels, an A4 page width pixels wide.
    static QImage sheetImage(const OverviewPlate& plate, int width, bool worksheet,
                             const PlateSheet& sheet);

private:
    // The plate on an A4 page as the bytes of a PDF file.
    static QByteArray pdf(const OverviewPlate& plate, bool worksheet, const PlateSheet& sheet);
};

} // namespace korvelian
