#pragma once

#include "model/figurepoints.h"

#include <QImage>

#include <span>

namespace korvelian {

// The figure as it was drawn before the pixel runs: one QPainter line per segment, from the
// new point to the previous one, aliased, with a cosmetic one-pixel white pen, the screen
// frame (-2, -2)-(2, 2) spread over the image's logical size. The reference that the runs
// are tested and measured against.
void drawPainterLines(QImage& image, std::span<const FloatPoint> points);

} // namespace korvelian
