#pragma once

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace korvelian {

class OverviewPlate;

// The overview plate outside the window: a PNG, SVG or PDF file and a printed page, each
// written as the screen's picture is (complete, or the old file untouched).
class PlateExporter
{
public:
    // A plate this wide shows its cells about half as large as the screen at 100 %.
    static constexpr int kDefaultWidth = 960;

    // Whether the name ends in .png, .svg or .pdf, in any case.
    static bool knownFormat(const QString& path);

    // Writes the plate by the name's ending: PNG and SVG width pixels wide, PDF on an A4 page
    // (width does not apply). On failure gives false and a German message in *error.
    static bool save(const OverviewPlate& plate, const QString& path, int width, QString* error,
                     bool worksheet);

    // The plate as large as fits, centred across the top of the page. Gives false when the
    // device cannot be painted on.
    static bool paintPage(const OverviewPlate& plate, QPagedPaintDevice& device, bool worksheet);

private:
    // The plate on an A4 page as the bytes of a PDF file.
    static QByteArray pdf(const OverviewPlate& plate, bool worksheet);
};

} // namespace korvelian
