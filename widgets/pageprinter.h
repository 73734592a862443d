#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPrinter;

namespace korvelian {

class OverviewPlate;
struct ScreenPicture;

// A page through the printer the print dialog set up: onto the printer, or, printed into a
// PDF file, into a PDF in memory that is then written as every file is (complete, or the old
// file untouched). On failure each gives false and a German message in *error (when error is
// given).
class PagePrinter
{
public:
    // The picture as large as fits, the parameters of its figure underneath.
    static bool print(const ScreenPicture& picture, QPrinter& printer, bool worksheet,
                      QString* error = nullptr);
    // The plate as large as fits.
    static bool print(const OverviewPlate& plate, QPrinter& printer, bool worksheet,
                      QString* error);

private:
    static bool print(QPrinter& printer, const std::function<bool(QPagedPaintDevice&)>& paintPage,
                      QString* error);
};

} // namespace korvelian
