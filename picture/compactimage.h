#pragma once

#include <QImage>

namespace korvelian {

// The image in the fewest bits per pixel that keep every one of its colours exactly: 8-bit grey
// where every pixel is a grey (a worksheet), 8-bit with a table where it has at most 256
// colours (a figure on the screen's ground), otherwise the image itself. A PNG file of it
// decodes to the same pixels and is written in a fraction of the time. An image of 32-bit
// pixels is made smaller in place, so that no second copy is needed: the result uses image's
// memory, which must outlive it and holds no picture any more.
QImage compactImage(QImage& image);

} // namespace korvelian
