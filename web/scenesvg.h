#pragma once

#include "scene/scene.h"
#include "scene/textmetrics.h"

#include <string>

namespace korvelian {

// Where an SVG file takes a figure as a picture (more points than a vector file should hold,
// as the desktop's files do): the page puts the figure's pixels there as a PNG data link.
inline constexpr const char* kFigureImageMark = "@FIGURE@";

// A scene width x height pixels as an SVG file: the header the desktop's files have (sizes in
// millimetres at 96 dots an inch, the title and the description), each item an element, every
// figure of a drawing one path.
std::string sceneSvg(const Scene& scene, TextMetrics& metrics, double width, double height,
                     const std::string& title, const std::string& description);

} // namespace korvelian
