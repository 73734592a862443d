#pragma once

#include <QByteArray>

class QImage;

namespace korvelian {

// A PNG file's bytes of an image of 8-bit grey, 8-bit with a colour table or 32-bit pixels
// without alpha (any other format is converted first), at zlib's fastest level and with the
// row filter that suits the pixels: Qt's own writer tries every filter on every row of an
// image of 24-bit colours, which took most of a large export's time. Empty when libpng fails.
QByteArray encodePng(const QImage& image);

} // namespace korvelian
