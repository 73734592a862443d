#pragma once

#include <QByteArray>
#include <QSize>

#include <functional>

class QImage;

namespace korvelian {

// A PNG file's bytes of an image of 8-bit grey, 8-bit with a colour table or 32-bit pixels
// without alpha (any other format is converted first), at zlib's fastest level and with the
// row filter that suits the pixels: Qt's own writer tries every filter on every row of an
// image of 24-bit colours, which took most of a large export's time. Empty when libpng fails.
QByteArray encodePng(const QImage& image);

// The same bytes as encodePng(compactImage(image)) for an image of size that paint(band, top)
// paints a band of bandRows rows at a time, into 32-bit pixels as wide as the image: its rows
// go to the file as each band is done, so the whole image is never held. The bands are
// painted in order from the top, and again from the top where a row needs more bits than
// those before it (a colour after greys, a 257th colour).
QByteArray encodePngBands(QSize size, int bandRows,
                          const std::function<void(QImage& band, int top)>& paint);

} // namespace korvelian
