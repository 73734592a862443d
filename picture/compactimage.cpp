#include "compactimage.h"

#include <QList>

#include <algorithm>
#include <cstdint>

namespace korvelian {

namespace {

constexpr QRgb kColour = 0x00ffffff;

bool grey(QRgb pixel)
{
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel);
}

// The image's colours in the order they first appear, or none where there are more than 256;
// whether every one of them is a grey.
struct Colours
{
    QList<QRgb> table;
    bool fit = true;
    bool allGrey = true;

    int find(QRgb colour) const { return static_cast<int>(table.indexOf(colour)); }
};

Colours coloursOf(const QImage& image)
{
    Colours found;
    QRgb last = 0;
    bool any = false;
    for (int y = 0; y < image.height() && found.fit; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = line[x] & kColour;
            // Most pixels repeat the one before: the ground, a line's run.
            if (any && colour == last)
                continue;
            any = true;
            last = colour;
            if (found.find(colour) >= 0)
                continue;
            if (found.table.size() == 256) {
                found.fit = false;
                break;
            }
            found.table.append(colour);
            found.allGrey = found.allGrey && grey(colour);
        }
    }
    return found;
}

} // namespace

QImage compactImage(QImage& image)
{
    if (image.format() != QImage::Format_RGB32 || image.isNull())
        return image;
    const Colours colours = coloursOf(image);
    if (!colours.fit)
        return image;
    // Row y of bytes ends before row y of 32-bit pixels begins to be overwritten: each byte is
    // written at or before the pixel it comes from.
    uchar* bits = image.bits();
    const int width = image.width();
    QRgb last = 0;
    int index = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* out = bits + static_cast<qsizetype>(y) * width;
        for (int x = 0; x < width; ++x) {
            const QRgb colour = line[x] & kColour;
            if (index < 0 || colour != last) {
                last = colour;
                index = colours.allGrey ? qRed(colour) : colours.find(colour);
            }
            out[x] = static_cast<uchar>(index);
        }
    }
    QImage compact(bits, width, image.height(), width,
                   colours.allGrey ? QImage::Format_Grayscale8 : QImage::Format_Indexed8);
    if (!colours.allGrey) {
        QList<QRgb> table = colours.table;
        std::transform(table.begin(), table.end(), table.begin(),
                       [](QRgb colour) { return colour | ~kColour; });
        compact.setColorTable(table);
    }
    compact.setDotsPerMeterX(image.dotsPerMeterX());
    compact.setDotsPerMeterY(image.dotsPerMeterY());
    return compact;
}

} // namespace korvelian
