#pragma once

#include <QPoint>

class QImage;
class QPaintDevice;
class QRegion;

namespace korvelian {

// Copies an opaque image's pixels under a paint event's region row by row straight into the
// window's image a widget paints on (`device` and `offset` as QWidget::redirected gives them).
// The painter clips each rectangle of a region against all the others, and an animation frame's
// many small rectangles cost more there than their pixels. Returns false, copying nothing, where
// the device is no image of the same pixels and scale: the caller then paints as usual.
bool copyIntoWindowImage(QPaintDevice* device, QPoint offset, const QRegion& region,
                         const QImage& image);

} // namespace korvelian
