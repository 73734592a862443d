#pragma once

#include <QString>

class QPrinter;

namespace korvelian {

class OverviewPlate;

// The overview plate outside the window: a PNG, SVG or PDF file and a printed page. A file is
// replaced only when it is written completely.
class PlateExporter
{
public:
    // A plate this wide shows its cells about half as large as the screen at 100 %.
    static constexpr int kDefaultWidth = 960;

    // Whether the name ends in .png, .svg or .pdf.
    static bool knownFormat(const QString& path);

    // Writes the plate by the name's ending: PNG and SVG width pixels wide, PDF on an A4 page
    // (width does not apply). On failure gives false and a German message in *error; no file
    // is left behind.
    static bool save(const OverviewPlate& plate, const QString& path, int width, QString* error,
                     bool worksheet);

    // The plate as large as fits the page.
    static void print(const OverviewPlate& plate, QPrinter& printer, bool worksheet);
};

} // namespace korvelian
