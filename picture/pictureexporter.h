#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QString>

#include <functional>

class QPainter;
class QRectF;

namespace korvelian {

struct ScreenPicture;

// The screen's picture outside the window: an image for the clipboard, a PNG, SVG or PDF
// file, a printed page. Each is made afresh from the picture's drawing at its own size, never
// scaled from the screen, with lines as thick relative to the picture as one pixel is to the
// screen at 100 %. Worksheet colours put a black figure and grey axes on white. Files are
// made in memory and written through FileWriter: complete, or the old file untouched.
class PictureExporter
{
public:
    static constexpr int kLargestSize = 8192;

    // Whether the name ends in one of the formats save() writes: .png or .svg, in any case.
    static bool knownFormat(const QString& path);
    // The picture's width at 100 %: the size at which its lines are one pixel wide.
    static int widthAtHundred(const ScreenPicture& picture);

    // The picture sizePx pixels wide; the height follows the picture's shape.
    static QImage image(const ScreenPicture& picture, int sizePx, bool worksheet);

    // A picture to be written: its size in pixels, its title and description in an SVG file,
    // the image a PNG file takes, and how it is painted into an SVG file's target.
    struct Source
    {
        QSize size;
        QString title;
        QString description;
        std::function<QImage()> image;
        std::function<void(QPainter&, const QRectF&)> paint;
        // Where given, a PNG file's rows painted a band at a time instead of image: a large
        // picture need not be held whole. band is an image of 32-bit pixels as wide as size.
        std::function<void(QImage& band, int top)> bands = {};
    };
    // Writes the source as a PNG or an SVG file, chosen by the name's ending. On failure gives
    // false and a German message in *error (when error is given).
    static bool write(const QString& path, const Source& source, QString* error);

    // Writes a PNG or an SVG file, chosen by the name's ending, sizePx pixels wide. On failure
    // gives false and a German message in *error (when error is given); no file is left
    // behind.
    static bool save(const ScreenPicture& picture, const QString& path, int sizePx, QString* error,
                     bool worksheet = false);

    // The page: the picture as large as fits, the parameters of its figure underneath. Gives
    // false when the device cannot be painted on.
    static bool paintPage(const ScreenPicture& picture, QPagedPaintDevice& device, bool worksheet);

    // How a PDF file's page is set up.
    struct PdfPage
    {
        QPageLayout layout;
        int resolution = 0; // dots per inch
        QPagedPaintDevice::PdfVersion version = QPagedPaintDevice::PdfVersion_1_4;
        QString title;
        QString creator;
    };
    // The bytes of a PDF file with the page paintPage paints.
    static QByteArray pdf(const PdfPage& page,
                          const std::function<bool(QPagedPaintDevice&)>& paintPage);

    // Whether an SVG file or a print holds the figure as an image.
    static bool figureAsImage(const ScreenPicture& picture);
    // The figure's parameters as printed under it, one line each.
    static QStringList parameterLines(const ScreenPicture& picture);

private:
    // The picture as the bytes of a PNG or an SVG file ("png", "svg").
    static QByteArray encode(const Source& source, const QString& format);
    static void paint(const ScreenPicture& picture, QPainter& painter, const QRectF& target,
                      bool worksheet);
};

} // namespace korvelian
