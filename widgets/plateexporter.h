#pragma once

#include <QByteArray>
#include <QString>

class QPrinter;

namespace korvelian {

class OverviewPlate;

// The overview plate outside the window: a PNG, SVG or PDF file and a printed page, each
// written as the screen's picture is (complete, or the old file untouched).
class PlateExporter
{
public:
    // A plate this wide shows its cells about half as large as the screen at 100 %.
    static constexpr int kDefaultWidth = 960;

    // Whether the name ends in .png, .svg or .pdf.
    static bool knownFormat(const QString& path);

    // Writes the plate by the name's ending: PNG and SVG width pixels wide, PDF on an A4 page
    // (width does not apply). On failure gives false and a German message in *error.
    static bool save(const OverviewPlate& plate, const QString& path, int width, QString* error,
                     bool worksheet);

    // The plate as large as fits the page. On failure gives false and a German message in
    // *error.
    static bool print(const OverviewPlate& plate, QPrinter& printer, bool worksheet,
                      QString* error);

private:
    // The plate as the bytes of a file of this format ("png", "svg", "pdf").
    static QByteArray encode(const OverviewPlate& plate, const QString& format, int width,
                             bool worksheet);
};

} // namespace korvelian
