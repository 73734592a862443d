#include "readingaid.h"

#include "form/layout.h"
#include "model/barvalues.h"
#include "model/figurereading.h"
#include "texts.h"
#include "textmetrics.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvelian {

namespace {

struct AidColours
{
    Colour mark;
    Rgba legendGround;
    Colour legendText;
};

AidColours aidColours(bool worksheet)
{
    if (worksheet)
        return {palette::kWorksheetAidMark, palette::kWorksheetAidLegendGround,
                palette::kWorksheetAidLegendText};
    return {palette::kAidMark, palette::kAidLegendGround, palette::kAidLegendText};
}

// TouchAndTop: a touch point that is the highest point too, as at 1 : 1, where the △ drawn
// alone would lie on the ○: with the textbook's reading the △ is drawn around it.
enum class Mark { Touch, TouchEnd, Crossing, Top, TouchAndTop };

struct AidSize
{
    double zoom;
    double lineWidth;

    double radius() const { return 4 * zoom; }
    // How far a mark reaches from its point, its line included.
    double reach() const { return radius() + lineWidth; }
    // The △ around a ○: the radius of the circle it encloses, a gap of a line and a pixel of
    // the zoom beyond the ○'s line.
    double enclosed() const { return radius() + 2 * lineWidth + zoom; }
    double reach(bool around) const { return around ? 2 * enclosed() + lineWidth : reach(); }
};

// The sign a legend line starts with, drawn as the mark it explains.
std::string sign(Mark kind)
{
    switch (kind) {
    case Mark::Touch:
        return "○";
    case Mark::TouchEnd:
        return "◐";
    case Mark::Crossing:
        return "◇";
    case Mark::Top:
        return "△";
    case Mark::TouchAndTop:
        return "○△";
    }
    return {};
}

// With the marks' pen set and no brush; a touch end leaves its brush set.
void mark(Scene& scene, PointF at, Mark kind, const RectF& area, const AidSize& size, Colour colour)
{
    // Moved in from the picture's edge until it is whole.
    const double reach = size.reach(kind == Mark::TouchAndTop);
    at.x =
        std::clamp(at.x, area.left() + reach, std::max(area.left() + reach, area.right() - reach));
    at.y =
        std::clamp(at.y, area.top() + reach, std::max(area.top() + reach, area.bottom() - reach));
    const double r = size.radius();
    const RectF circle{at.x - r, at.y - r, 2 * r, 2 * r};
    switch (kind) {
    case Mark::Touch:
        scene.add(item::Ellipse{circle});
        break;
    case Mark::TouchEnd:
        scene.add(item::Ellipse{circle});
        scene.brush({colour});
        scene.add(item::Pie{RectF::at(at - PointF{r, r}, {2 * r, 2 * r}), 90 * 16, 180 * 16});
        break;
    case Mark::Crossing:
        scene.add(item::Polygon{
            {at + PointF{0, -r}, at + PointF{r, 0}, at + PointF{0, r}, at + PointF{-r, 0}}});
        break;
    case Mark::Top:
        scene.add(
            item::Polygon{{at + PointF{0, -r}, at + PointF{r, 0.8 * r}, at + PointF{-r, 0.8 * r}}});
        break;
    case Mark::TouchAndTop: {
        scene.add(item::Ellipse{circle});
        const double e = size.enclosed();
        const double half = std::sqrt(3.0) * e;
        scene.add(
            item::Polygon{{at + PointF{0, -2 * e}, at + PointF{half, e}, at + PointF{-half, e}}});
        break;
    }
    }
}

// Puts marks with their pen and no brush, set once for tens of thousands of marks and again
// only after a touch end has set its brush.
struct MarkPutter
{
    Scene& scene;
    const PixelMapping& toPixels;
    const RectF& area;
    AidSize size;
    Colour colour;
    bool penSet = false;

    void operator()(Mark kind, double x, double y)
    {
        if (!penSet) {
            scene.pen(Pen{{colour}, size.lineWidth});
            scene.noBrush();
        }
        mark(scene, mapPoint(toPixels, x, y), kind, area, size, colour);
        penSet = kind != Mark::TouchEnd;
    }
};

// The legend's lines as one text, at the picture's zoom.
std::string legendHtml(const TextLines& lines)
{
    std::string html;
    for (const std::string& line : lines)
        html += "<div>" + line + "</div>";
    return html;
}

Font legendFont(double zoom)
{
    return {"", false, static_cast<int>(std::lround(12 * zoom))};
}

double margin(double zoom)
{
    return 4 * zoom;
}

// A box holding the legend: its text inside a margin on a ground of its own.
double boxHeight(TextMetrics& metrics, const TextLines& lines, double width, double zoom)
{
    return metrics.richTextSize(legendHtml(lines), legendFont(zoom), width - 2 * margin(zoom))
               .height +
           2 * margin(zoom);
}

void describeBox(Scene& scene, const RectF& box, const TextLines& lines, double zoom,
                 const AidColours& colours)
{
    scene.save();
    scene.noPen();
    scene.brush(colours.legendGround);
    scene.add(item::Rect{box});
    scene.add(item::Translate{box.topLeft() + PointF{margin(zoom), margin(zoom)}});
    scene.add(item::RichText{{0, 0},
                             legendHtml(lines),
                             legendFont(zoom),
                             box.width - 2 * margin(zoom),
                             false,
                             colours.legendText,
                             TextRole::Legend,
                             false});
    scene.restore();
}

} // namespace

namespace {

// The touch points of the figure read last on this thread. The marks, the legend and the
// legend's place beside the screen all read the same figure, up to 32767 points each time, and
// a drifting phase makes a new figure at every step.
const TouchReading& touchPoints(const Parameter& p, bool entryAccepted, bool yUp)
{
    struct Kept
    {
        bool valid = false;
        Parameter p;
        bool entryAccepted = false;
        bool yUp = false;
        TouchReading reading;
    };
#if defined(KORVELIAN_SINGLE_THREAD)
    // The browser's runtime has one thread and no way to end thread-local objects.
    static Kept kept;
#else
    thread_local Kept kept;
#endif
    if (!kept.valid || kept.p != p || kept.entryAccepted != entryAccepted || kept.yUp != yUp) {
        kept.reading = readTouchPoints(p, entryAccepted, yUp);
        kept.p = p;
        kept.entryAccepted = entryAccepted;
        kept.yUp = yUp;
        kept.valid = true;
    }
    return kept.reading;
}

TextLines legendOf(const TouchReading& touch, const PhaseReading& phase, const Parameter& p)
{
    TextLines lines;
    const auto line = [&lines](Mark kind, const std::string& text) {
        lines.push_back(sign(kind) + " " + text);
    };
    if (touch.refusal.empty()) {
        line(Mark::Touch, touch.legend);
        if (!touch.note.empty())
            line(Mark::TouchEnd, touch.note);
    } else {
        lines.push_back(touch.refusal);
    }
    if (phase.refusal.empty()) {
        lines.push_back(sign(Mark::Crossing) + " ±<i>y</i><sub>0</sub>, " + sign(Mark::Top) +
                        " <i>y</i><sub>max</sub>: " + phase.legend);
        if (!phase.note.empty())
            lines.push_back(phase.note);
    } else if (phase.refusal != touch.refusal) {
        lines.push_back(phase.refusal);
    }
    // What the y phase bar sets is not the y oscillation's own phase unless Z = N, or the bar
    // is read as the textbook reads it.
    if (p.numerator != p.denominator && !p.textbook)
        lines.push_back(
            barText(control(ScrollBar::PhaseY), barValue(p.phaseY), p.numerator, p.denominator));
    return lines;
}

} // namespace

TextLines readingAidLegend(const Parameter& p, bool entryAccepted, bool yUp)
{
    return legendOf(touchPoints(p, entryAccepted, yUp), readPhase(p, entryAccepted, yUp), p);
}

std::optional<RectF> legendPlace(TextMetrics& metrics, const TextLines& lines, const RectF& area,
                                 const PixelMapping& toPixels, const Parameter& p, double zoom)
{
    // A mark reaches its radius and a line's width at the zoom beyond the figure's box.
    const double reach = AidSize{zoom, zoom}.reach();
    const RectF figure = RectF::fromCorners(mapPoint(toPixels, -p.amplitudeX, -p.amplitudeY),
                                            mapPoint(toPixels, p.amplitudeX, p.amplitudeY))
                             .normalized()
                             .adjusted(-reach, -reach, reach, reach);
    const double m = margin(zoom);
    // Below the figure first, where the legend has always been, then above, right and left.
    const std::array<RectF, 4> bands = {
        RectF::fromCorners({area.left(), figure.bottom()}, area.bottomRight()),
        RectF::fromCorners(area.topLeft(), {area.right(), figure.top()}),
        RectF::fromCorners({figure.right(), area.top()}, area.bottomRight()),
        RectF::fromCorners(area.topLeft(), {figure.left(), area.bottom()}),
    };
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const RectF band = bands[i].intersected(area);
        const double width = band.width - 2 * m;
        // Narrower, it would be a column of single words.
        if (width < 80 * zoom)
            continue;
        const double height = boxHeight(metrics, lines, width, zoom);
        if (height + 2 * m > band.height)
            continue;
        const double top = i == 1 ? band.top() + m : band.bottom() - m - height;
        return RectF{band.left() + m, top, width, height};
    }
    return std::nullopt;
}

std::optional<RectF> describeReadingAid(Scene& scene, TextMetrics& metrics,
                                        const PixelMapping& toPixels, const RectF& area,
                                        const Parameter& p, bool entryAccepted, double zoom,
                                        double lineWidth, bool worksheet, bool legend)
{
    const AidSize size{zoom, lineWidth};
    const AidColours colours = aidColours(worksheet);
    scene.save();
    scene.antialias(true);
    scene.clip(area);
    // The mapping says which way the frame's y is shown, and so which edge is on top.
    const bool yUp = toPixels.scaleY < 0;
    MarkPutter put{scene, toPixels, area, size, colours.mark};

    const TouchReading& touch = touchPoints(p, entryAccepted, yUp);
    const PhaseReading phase = readPhase(p, entryAccepted, yUp);
    // Where the highest point is a touch point on the screen, one mark shows both; without the
    // textbook's reading the △ stays on the ○ as it always stood.
    const bool combine = p.textbook && phase.refusal.empty();
    bool topShown = false;
    const auto isTop = [&](double x, double y) {
        if (!combine || topShown)
            return false;
        const PointF at = mapPoint(toPixels, x, y);
        const PointF top = mapPoint(toPixels, phase.highest.x, phase.highest.y);
        return std::hypot(at.x - top.x, at.y - top.y) < size.radius();
    };
    if (touch.refusal.empty()) {
        const double top = yUp ? p.amplitudeY : -p.amplitudeY;
        for (const TouchPoint& point : touch.top) {
            const bool both = !point.end && isTop(point.position, top);
            topShown = topShown || both;
            put(point.end ? Mark::TouchEnd
                : both    ? Mark::TouchAndTop
                          : Mark::Touch,
                point.position, top);
        }
        for (const TouchPoint& point : touch.right)
            put(point.end ? Mark::TouchEnd : Mark::Touch, p.amplitudeX, point.position);
    }
    if (phase.refusal.empty()) {
        for (const Point& crossing : phase.crossings)
            put(Mark::Crossing, crossing.x, crossing.y);
        if (!topShown)
            put(Mark::Top, phase.highest.x, phase.highest.y);
    }
    // The legend's lines are written and measured only where the legend is shown here.
    std::optional<RectF> place;
    if (legend) {
        const TextLines lines = legendOf(touch, phase, p);
        place = legendPlace(metrics, lines, area, toPixels, p, zoom);
        if (place)
            describeBox(scene, *place, lines, zoom, colours);
    }
    scene.restore();
    return place;
}

double legendBandHeight(TextMetrics& metrics, const TextLines& lines, double width, double zoom)
{
    return boxHeight(metrics, lines, width - 2 * margin(zoom), zoom) + 2 * margin(zoom);
}

void describeLegendBand(Scene& scene, const RectF& band, const TextLines& lines, double zoom,
                        bool worksheet)
{
    const double m = margin(zoom);
    describeBox(scene, band.adjusted(m, m, -m, -m), lines, zoom, aidColours(worksheet));
}

} // namespace korvelian
