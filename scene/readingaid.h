#pragma once

#include "drawing.h"
#include "model/deflection.h"
#include "scene.h"

#include <optional>
#include <string>
#include <vector>

namespace korvelian {

class TextMetrics;

// The reading aid over a figure: marks where it touches the top and the right edge of its
// box and, for equal frequencies, where the ellipse crosses the y axis and where it is
// highest, with a legend of what they give. The numbers come from the formulas; this only
// places them. zoom is the picture's size against the screen at 100 %, which the marks and
// the legend follow; lineWidth is the width of a line in the painter's pixels, which grows in
// whole pixels like the figure's on the screen. On a worksheet the marks are darker and the
// legend lies on white. The mapping's direction of y tells which edge of the figure is shown
// on top.
//
// Each kind of mark has its own sign, which begins the legend's line about it: ○ a touch
// point, ◐ the end of an open figure (counting half), ◇ a crossing of the y axis (±y₀), △ the
// highest point (y_max). A mark on the edge of the picture is moved in until it is whole.
// The legend never lies over the figure: it takes a band beside the figure's box (below,
// above, right or left) that holds it; where none does, as at the largest amplitudes, the
// picture has no room for it and the caller shows it beneath the picture or beside it.

using TextLines = std::vector<std::string>;

// The legend's lines, rich text, for a figure of p shown with y growing up or down.
TextLines readingAidLegend(const Parameter& p, bool entryAccepted, bool yUp);

// Marks, and the legend where it fits and belongs on the picture; gives where it was drawn.
std::optional<RectF> describeReadingAid(Scene& scene, TextMetrics& metrics,
                                        const PixelMapping& toPixels, const RectF& area,
                                        const Parameter& p, bool entryAccepted, double zoom,
                                        double lineWidth, bool worksheet, bool legend = true);

// Where the legend goes in area, clear of the figure of p and its marks, or nothing.
std::optional<RectF> legendPlace(TextMetrics& metrics, const TextLines& lines, const RectF& area,
                                 const PixelMapping& toPixels, const Parameter& p, double zoom);

// The legend as a band of this width beneath a picture: its height, and described in it.
double legendBandHeight(TextMetrics& metrics, const TextLines& lines, double width, double zoom);
void describeLegendBand(Scene& scene, const RectF& band, const TextLines& lines, double zoom,
                        bool worksheet);

} // namespace korvelian
