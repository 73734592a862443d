#pragma once

#include <QIcon>

namespace korvelian {

// The window icon: a yellow smiling face in a circular disc on a transparent background,
// at 16 to 256 pixels, the same images the desktop's icon theme gets (data/icons, rendered
// from the SVG there).
QIcon smileyIcon();

} // namespace korvelian
