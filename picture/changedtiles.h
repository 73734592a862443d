#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace korvelian {

// Where two images of one size and 32-bit format differ, as tiles of the given side in device
// pixels, joined into runs along each band of tiles: what a screen must send again when it
// replaces the one image by the other. Empty where they are equal; the whole image
// where they cannot be compared (another size or format).
std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile);

} // namespace korvelian
