#pragma once

#include <QImage>
#include <QRect>

#include <vector>

namespace korvelian {

// Where two images of one size and 32-bit format differ, as tiles of the given side in device
// pixels, joined into runs along each band of tiles: what a screen must send again when it
// replaces the one image by the other. Empty where they are equal; the whole image
// where they cannot be compared (another size or format). Only the tiles that meet within are
// looked at: where the caller knows the images to be equal elsewhere, the same tiles come out
// for a fraction of the reading.
std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile);
std::vector<QRect> changedTiles(const QImage& before, const QImage& after, int tile,
                                const QRect& within);

} // namespace korvelian
