#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

namespace korvelian {

// The window icon's images: a yellow smiling face in a circular disc on a transparent
// background, at 16 to 256 pixels, the same images the desktop's icon theme gets (data/icons,
// rendered from the SVG there). Read on any thread.
QList<QImage> smileyImages();

// The window icon made of them, on the event thread.
QIcon smileyIcon(const QList<QImage>& images = smileyImages());

} // namespace korvelian
