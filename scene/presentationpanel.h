#pragma once

#include "readingaid.h"
#include "scene.h"
#include "timesignals.h"

#include <optional>
#include <string>

namespace korvelian {

class TextMetrics;

// Presentation mode: the window fills the display's height, and what otherwise floats beside
// it in windows of its own stands in the margin beside it instead: the time signals and the
// reading aid's legend, in letters a class reads from the back of the room.
struct PresentationContent
{
    // The time signals when their view is on.
    std::optional<TimeSignalScene> timeSignals;
    // Their formulas name the values: "Werte verbergen" leaves them out.
    bool formulasHidden = false;
    // The reading aid's legend when the aid is on; rich text.
    TextLines legend;
    // The lesson's step on show ("Schritt 2 von 5: …"), at the top: the class sees where the
    // lesson stands. Plain text.
    std::string heading;
};

// Every letter the margin shows has at least this cap height, as a share of the display's
// height.
inline constexpr double kPresentationCapShare = 0.025;
// The margin takes at least this share of the display's width: on a 16 : 9 display the
// controls at its full height leave that much anyway.
inline constexpr double kPresentationMarginShare = 0.24;

// The smallest whole font of a family whose capitals stand at least cap pixels high.
Font fontWithCap(TextMetrics& metrics, Font font, double cap);

// What the margin target shows, for a display displayHeight pixels high: the formulas above
// the signals, the beam's place beneath them, the legend at the foot, each wrapped to the
// margin's width; the signals take the height left. lineWidth is a line's width there and
// pixelRatio the device pixels to one unit.
void describePresentation(Scene& scene, TextMetrics& metrics, const RectF& target,
                          const PresentationContent& content, double displayHeight,
                          double lineWidth, double pixelRatio);

} // namespace korvelian
