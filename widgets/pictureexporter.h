#pragma once

#include <QImage>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRectF;

namespace korvelian {

class PictureArea;

// The picture of a picture area outside the window: an image for the clipboard, a PNG or SVG
// file, a printed page. Each is made afresh from the area's drawing at its own size, never
// scaled from the screen, with lines as thick relative to the picture as one pixel is to the
// screen at 100 %. Worksheet colours put a black figure and grey axes on white.
class PictureExporter
{
public:
    static constexpr int kLargestSize = 8192;

    // Whether the name ends in one of the formats save() writes: .png or .svg.
    static bool knownFormat(const QString& path);
    // The area's width at 100 %: the size at which the picture's lines are one pixel wide.
    static int widthAtHundred(const PictureArea& area);

    // The picture sizePx pixels wide; the height follows the area's shape.
    static QImage image(const PictureArea& area, int sizePx, bool worksheet);

    // A picture to be written: its size in pixels, its title and description in an SVG file,
    // the image a PNG file takes, and how it is painted into an SVG file's target.
    struct Source
    {
        QSize size;
        QString title;
        QString description;
        std::function<QImage()> image;
        std::function<void(QPainter&, const QRectF&)> paint;
    };
    // Writes the source as a PNG or an SVG file, chosen by the name's ending, through
    // FileWriter. On failure gives false and a German message in *error (when error is given).
    static bool write(const QString& path, const Source& source, QString* error);

    // Writes a PNG or an SVG file, chosen by the name's ending, sizePx pixels wide, through
    // FileWriter: complete, or the old file untouched. On failure gives false and a German
    // message in *error (when error is given); no file is left behind.
    static bool save(const PictureArea& area, const QString& path, int sizePx, QString* error,
                     bool worksheet = false);

    // The page: the picture as large as fits, the parameters of its figure underneath. Printed
    // into a PDF file, the file is written as save() writes one. On failure gives false and a
    // German message in *error (when error is given).
    static bool print(const PictureArea& area, QPrinter& printer, bool worksheet,
                      QString* error = nullptr);

    // Prints through paintPage, which paints onto the printer or, printed into a PDF file, onto
    // a PDF in memory that is then written as save() writes a file.
    static bool print(QPrinter& printer, const std::function<bool(QPagedPaintDevice&)>& paintPage,
                      QString* error);

    // Whether an SVG file or a print holds the figure as an image.
    static bool figureAsImage(const PictureArea& area);
    // "korvelian-3-2.png" for numerator 3 and denominator 2.
    static QString defaultFileName(const PictureArea& area, const QString& suffix);
    // The figure's parameters as printed under it, one line each.
    static QStringList parameterLines(const PictureArea& area);

private:
    // The picture as the bytes of a PNG or an SVG file ("png", "svg").
    static QByteArray encode(const Source& source, const QString& format);
    static bool paintPage(const PictureArea& area, QPagedPaintDevice& device, bool worksheet);
    static void paint(const PictureArea& area, QPainter& painter, const QRectF& target,
                      bool worksheet);
};

} // namespace korvelian
