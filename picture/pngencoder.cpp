#include "pngencoder.h"

#include <QImage>

#include <png.h>

namespace korvelian {

namespace {

void append(png_structp png, png_bytep data, png_size_t length)
{
    static_cast<QByteArray*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), static_cast<qsizetype>(length));
}

void flush(png_structp) {}

int colourType(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Grayscale8:
        return PNG_COLOR_TYPE_GRAY;
    case QImage::Format_Indexed8:
        return PNG_COLOR_TYPE_PALETTE;
    default:
        return PNG_COLOR_TYPE_RGB;
    }
}

// libpng reports a failure by jumping back to setjmp: nothing with a destructor may live in
// the function that calls it.
bool write(png_structp png, png_infop info, const QImage& image, QByteArray& bytes)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &bytes, append, flush);
    const int type = colourType(image.format());
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    // A table's indices and greys of flat grounds pack best unfiltered; colours from the
    // pixel to the left.
    png_set_filter(png, PNG_FILTER_TYPE_BASE,
                   type == PNG_COLOR_TYPE_RGB ? PNG_FILTER_SUB : PNG_FILTER_NONE);
    png_color palette[256];
    if (type == PNG_COLOR_TYPE_PALETTE) {
        const int count = static_cast<int>(image.colorCount());
        for (int i = 0; i < count; ++i) {
            const QRgb colour = image.color(i);
            palette[i] = {static_cast<png_byte>(qRed(colour)),
                          static_cast<png_byte>(qGreen(colour)),
                          static_cast<png_byte>(qBlue(colour))};
        }
        png_set_PLTE(png, info, palette, count);
    }
    png_set_pHYs(png, info, static_cast<png_uint_32>(image.dotsPerMeterX()),
                 static_cast<png_uint_32>(image.dotsPerMeterY()), PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (type == PNG_COLOR_TYPE_RGB) {
        // 32-bit pixels lie in memory as blue, green, red and an unused byte.
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    for (int y = 0; y < image.height(); ++y)
        png_write_row(png, image.constScanLine(y));
    png_write_end(png, info);
    return true;
}

} // namespace

QByteArray encodePng(const QImage& image)
{
    const bool direct = image.format() == QImage::Format_Grayscale8 ||
                        image.format() == QImage::Format_Indexed8 ||
                        image.format() == QImage::Format_RGB32;
    const QImage source = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    QByteArray bytes;
    const bool written = info && write(png, info, source, bytes);
    png_destroy_write_struct(&png, &info);
    return written ? bytes : QByteArray();
}

} // namespace korvelian
