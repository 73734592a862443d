#include "pageprinter.h"

#include "picture/filewriter.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"

#include <QPrinter>

namespace korvelian {

bool PagePrinter::print(const ScreenPicture& picture, QPrinter& printer, bool worksheet,
                        QString* error)
{
    return print(
        printer,
        [&](QPagedPaintDevice& device) {
            return PictureExporter::paintPage(picture, device, worksheet);
        },
        error);
}

bool PagePrinter::print(const OverviewPlate& plate, QPrinter& printer, bool worksheet,
                        QString* error)
{
    return print(
        printer,
        [&](QPagedPaintDevice& device) {
            return PlateExporter::paintPage(plate, device, worksheet);
        },
        error);
}

bool PagePrinter::print(QPrinter& printer, const std::function<bool(QPagedPaintDevice&)>& paintPage,
                        QString* error)
{
    // A PDF file from the print dialog is drawn into memory and written as any other file:
    // the printer's own PDF output neither reports a short write nor keeps the old file.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const PictureExporter::PdfPage page{printer.pageLayout(), printer.resolution(),
                                            printer.pdfVersion(), printer.docName(),
                                            printer.creator()};
        return FileWriter::write(printer.outputFileName(), PictureExporter::pdf(page, paintPage),
                                 error);
    }
    if (paintPage(printer))
        return true;
    if (error) {
        *error = QStringLiteral("Der Drucker „%1“ konnte nicht angesprochen werden.")
                     .arg(printer.printerName());
    }
    return false;
}

} // namespace korvelian
