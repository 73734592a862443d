#pragma once

#include "drawing.h"
#include "model/afterglow.h"
#include "readingaid.h"
#include "scene.h"
#include "trace.h"

#include <functional>

namespace korvelian {

class TextMetrics;

// A picture area's picture as a value: the drawing operations since its last clearing, how
// they are shown (size, zoom, orientation, ground) and what is shown with them beneath and
// over the drawing (the graticule, the afterglow's trace, the reading aid, the values). The
// screen area keeps its own and hands it out; the command line records one without any
// window; copies, files and prints are made from it. Other areas than the screen leave the
// annotations off.
struct ScreenPicture
{
    Drawing drawing;
    // The frame last set: the next drawing operation is given in it, the graticule divides it.
    UserFrame frame;
    // The area in logical pixels at the window's zoom: the picture's shape, and at
    // size / zoom the width at which its lines are one pixel wide.
    SizeF size;
    double zoom = 1;
    // y growing upward, as on an oscilloscope (see pixelMapping).
    bool yUp = false;
    // The figure drawn as its fine curve ("Feine Kurve").
    bool fine = false;
    Colour background = palette::kScreenGround;

    bool graticule = false;
    bool readingAid = false;
    bool values = false;
    // The beam's trace over a dimmed figure.
    bool afterglow = false;
    AfterglowTrace trace;
    // Whether the ratio boxes hold what the figure is drawn with: the reading aid reads
    // nothing while an entry stands refused, and the values say the ratio is the last one
    // accepted.
    bool entryAccepted = true;

    // Presentation: the reading aid's legend is shown beside the window, not on the picture,
    // and the graticule is bright enough for a lit room.
    bool legendElsewhere = false;
    bool brightGraticule = false;
    // Presentation: the display's height in the area's pixels. The values' capital letters are
    // no lower than a presentation's margin asks of it, so that a screen narrowed by a 4 : 3
    // display still writes them for the back of the room (and a copy scaled alike).
    double displayHeight = 0;
    // Prediction: the figure is hidden and nothing is read off it; only the path the beam has
    // drawn since (pieces in the frame of the figure) is shown.
    bool figureHidden = false;
    std::vector<std::vector<Point>> beamPath;
    // A quiz asks for the figure's numbers, or the class is to find them: a file's proposed
    // name, an SVG's description and a page's lines under the picture leave them out.
    bool numbersWithheld = false;

    // Drawing as a picture area does: a frame that cannot map (not finite, or without extent)
    // leaves the last one; each operation is kept with the frame it was given in.
    void setFrame(double x1, double y1, double x2, double y2);
    void addSegment(double x1, double y1, double x2, double y2, Colour colour);
    void addFigure(const Parameter& p, double end, Colour colour);
    void addBox(double x1, double y1, double x2, double y2, Colour colour);

    RenderStyle style() const { return {zoom, false, yUp, afterglow, fine}; }
    // The width at 100 %, where a line is one pixel wide.
    double widthAtHundred() const;
    // A frame mapped onto target, a rectangle where the picture lies (on the area itself, in
    // a copy or on a page), in the picture's orientation.
    PixelMapping mappingOnto(const UserFrame& onto, const RectF& target) const;

    // What lies beneath the drawing (the graticule), and what is shown over it (the trace,
    // the reading aid, the values), onto target; lineWidth is the width of a line there and
    // pixelRatio the device pixels to one of it.
    void describeUnderlay(Scene& scene, const RectF& target, double lineWidth,
                          bool worksheet) const;
    void describeAnnotations(Scene& scene, TextMetrics& metrics, const RectF& target,
                             double lineWidth, bool worksheet, double pixelRatio = 1) const;
    // The same in two parts: the trace, which changes in every frame of the beam, and the
    // readings over it (the reading aid, the values), which change only with the figure.
    // Given within, only the trace's pieces whose box it accepts (see korvelian::describeTrace).
    void describeTrace(Scene& scene, const RectF& target, double lineWidth, bool worksheet,
                       double pixelRatio = 1,
                       const std::function<bool(const RectF&)>& within = {}) const;
    // Where the trace as describeTrace draws it onto target changed since damage last looked
    // (see TraceDamage); whole where all of the picture is to be painted again.
    std::vector<TraceChange> traceDamage(TraceDamage& damage, const RectF& target, double lineWidth,
                                         double pixelRatio, bool& whole) const;
    void describeReadings(Scene& scene, TextMetrics& metrics, const RectF& target, double lineWidth,
                          bool worksheet) const;

    // The reading aid's lines when it is on, and whether they fit a picture at target.
    TextLines legendLines() const;
    bool legendFits(TextMetrics& metrics, const RectF& target) const;
    // The legend's lines where the aid is on and they do not fit a picture at target: what is
    // shown beside it; else none.
    TextLines legendBeside(TextMetrics& metrics, const RectF& target) const;
    // What belongs to the picture but has no room on it (the legend where the figure fills
    // the screen): its height beneath a picture width pixels wide (0: nothing), and shown in
    // that band.
    double beneathHeight(TextMetrics& metrics, double width) const;
    void describeBeneath(Scene& scene, const RectF& band, bool worksheet) const;

private:
    // The picture's size against the screen at 100 %: the aid's text and marks grow with it.
    double pictureZoom(double pictureWidth) const;
};

} // namespace korvelian
