// The screen's face to the page: its drawing as pixels, as operations for the page's worker,
// the overlays, the speed bar, the views beneath and over the figure, and the time signals.
#include "core.h"
#include "form/form1.h"
#include "form/layout.h"
#include "form/linksetting.h"
#include "form/screenviews.h"
#include "model/constants.h"
#include "raster/shownpicture.h"
#include "scene/drawing.h"
#include "scene/filenames.h"
#include "scene/helptext.h"
#include "scene/menuwords.h"
#include "scene/presets.h"
#include "scene/timesignals.h"
#include "scene/typedvalue.h"
#include "scenejson.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace korvelian;

namespace {

// The screen's drawing as shown: the axes without the figure while the class predicts it.
const Drawing& shownDrawing(const ScreenPicture& screen)
{
    static Drawing kept;
    if (!screen.figureHidden)
        return screen.drawing;
    kept.clear();
    for (const DrawOp& op : screen.drawing) {
        if (op.kind != DrawOp::Kind::Figure)
            kept.push_back(op);
    }
    return kept;
}

} // namespace

// The screen's drawing as pixels, red first, clear where nothing is drawn: width x height device
// pixels for a screen of zoom at ratio device pixels to a logical one.
KORV_EXPORT(renderScreen)
const std::uint32_t* korvRenderScreen(int width, int height, double zoom, double ratio)
{
    Core& c = core();
    const ScreenPicture& screen = c.window.screen();
    // The zoom is this drawing's only: the screen stays at 100 % for what is read over it,
    // whose size is the page's (a kept zoom would count twice, after any resize).
    RenderStyle style = screen.style();
    style.zoom = zoom;
    // Clear where nothing is drawn: the ground and the graticule lie on a canvas beneath.
    c.screenPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const SizeF logical{width / ratio, height / ratio};
    c.pixels.render(c.screenPixels.data(), width, height, logical, ratio, shownDrawing(screen),
                    style);
    return c.screenPixels.data();
}

namespace {

// A drawing operation as doubles, for a copy of the core in another thread (the page's
// worker) to draw: kind, frame, ends, colour, parameters, end.
constexpr std::size_t kOpDoubles = 17;

void flatten(const DrawOp& op, double* out)
{
    const Parameter& p = op.parameters;
    const double values[kOpDoubles] = {static_cast<double>(op.kind),
                                       op.frame.x1,
                                       op.frame.y1,
                                       op.frame.x2,
                                       op.frame.y2,
                                       op.x1,
                                       op.y1,
                                       op.x2,
                                       op.y2,
                                       static_cast<double>(op.colour),
                                       p.amplitudeX,
                                       p.phaseX,
                                       p.amplitudeY,
                                       p.phaseY,
                                       p.numerator,
                                       p.denominator,
                                       op.end};
    std::copy(values, values + kOpDoubles, out);
}

DrawOp unflatten(const double* in)
{
    DrawOp op;
    op.kind = static_cast<DrawOp::Kind>(static_cast<int>(in[0]));
    op.frame = {in[1], in[2], in[3], in[4]};
    op.x1 = in[5];
    op.y1 = in[6];
    op.x2 = in[7];
    op.y2 = in[8];
    op.colour = static_cast<Colour>(in[9]);
    op.parameters = {in[10], in[11], in[12], in[13], in[14], in[15]};
    op.end = in[16];
    return op;
}

std::vector<double> flatOps;

} // namespace

// The screen's drawing as doubles (kOpDoubles an operation, count in the first), its
// orientation, afterglow and curve in the second (1: y up, 2: dimmed, 4: fine), for another thread
// to draw with korv_renderOps.
KORV_EXPORT(screenOps) const double* korvScreenOps()
{
    const ScreenPicture& screen = core().window.screen();
    const Drawing& drawing = shownDrawing(screen);
    flatOps.assign(2 + drawing.size() * kOpDoubles, 0);
    flatOps[0] = static_cast<double>(drawing.size());
    flatOps[1] = (screen.yUp ? 1 : 0) + (screen.afterglow ? 2 : 0) + (screen.fine ? 4 : 0);
    for (std::size_t i = 0; i < drawing.size(); ++i)
        flatten(drawing[i], &flatOps[2 + i * kOpDoubles]);
    return flatOps.data();
}

namespace {

// A drawing that korv_screenOps gave, as operations and style.
std::vector<DrawOp> opsOf(const double* flat, double zoom, RenderStyle& style)
{
    std::vector<DrawOp> ops;
    for (std::size_t i = 0; i < static_cast<std::size_t>(flat[0]); ++i)
        ops.push_back(unflatten(flat + 2 + i * kOpDoubles));
    const int options = static_cast<int>(flat[1]);
    style = {zoom, false, (options & 1) != 0, (options & 2) != 0, (options & 4) != 0};
    return ops;
}

DrawingPixels opsPixels;
std::vector<std::uint32_t> opsBuffer;

} // namespace

// Pixels of a drawing that korv_screenOps gave, clear where nothing is drawn: what
// korv_renderScreen gives for it, without a window.
KORV_EXPORT(renderOps)
const std::uint32_t* korvRenderOps(const double* flat, int width, int height, double zoom,
                                   double ratio)
{
    RenderStyle style;
    const std::vector<DrawOp> ops = opsOf(flat, zoom, style);
    opsBuffer.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    opsPixels.render(opsBuffer.data(), width, height, {width / ratio, height / ratio}, ratio, ops,
                     style);
    return opsBuffer.data();
}

// The most copies of the core that one figure is shared out over: as many as the desktop's
// cores.
KORV_EXPORT(mostLanes) int korvMostLanes()
{
    return static_cast<int>(FigureRaster::kMostLanes);
}

// Whether a drawing that korv_screenOps gave is worth drawing in shares by several copies of
// the core: 1 where a figure of it has the blocks for them.
KORV_EXPORT(sharesPay) int korvSharesPay(const double* flat, double zoom)
{
    RenderStyle style;
    const std::vector<DrawOp> ops = opsOf(flat, zoom, style);
    return DrawingPixels::sharesPay(ops, style) ? 1 : 0;
}

// What lane `lane` of `lanes` copies of the core draws of the figures of a drawing that
// korv_screenOps gave, as words (their count first), for korv_renderShares in another copy.
KORV_EXPORT(drawShare)
const std::uint64_t* korvDrawShare(const double* flat, int width, int height, double zoom,
                                   double ratio, int lane, int lanes)
{
    static std::vector<std::uint64_t> words;
    RenderStyle style;
    const std::vector<DrawOp> ops = opsOf(flat, zoom, style);
    opsPixels.share(words, width, height, {width / ratio, height / ratio}, ratio, ops, style,
                    {static_cast<std::size_t>(std::max(lane, 0)),
                     static_cast<std::size_t>(std::max(lanes, 1))});
    return words.data();
}

// korv_renderOps with the figures made of the shares of `lanes` copies of the core, one after
// the other as korv_drawShare gave them: their lit bits added together, as the desktop adds
// what each of its cores lit.
KORV_EXPORT(renderShares)
const std::uint32_t* korvRenderShares(const double* flat, int width, int height, double zoom,
                                      double ratio, const std::uint64_t* shares, int lanes)
{
    RenderStyle style;
    const std::vector<DrawOp> ops = opsOf(flat, zoom, style);
    opsBuffer.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    opsPixels.render(opsBuffer.data(), width, height, {width / ratio, height / ratio}, ratio, ops,
                     style, shares, static_cast<std::size_t>(std::max(lanes, 0)));
    return opsBuffer.data();
}

// Whether the worker's drawing for request `number` (counted up by the page) may replace the
// screen's figure: one that a newer drawing already replaced never comes back after it, and an
// older one still shows until the newest comes.
KORV_EXPORT(offerDrawn) int korvOfferDrawn(double number)
{
    static ShownPicture shown;
    return shown.offer(static_cast<std::uint64_t>(number), DrawPass::Exact) ? 1 : 0;
}

// The overlays over a screen of this logical size, as a scene.
KORV_EXPORT(overlays) const char* korvOverlays(double width, double height, double zoom)
{
    Core& c = core();
    Scene scene;
    // The afterglow's trace, beneath the beam point and its marks.
    c.window.screen().describeTrace(scene, {0, 0, width, height}, linePixels(zoom), false);
    describeOverlays(scene, c.window.overlayPlaces({width, height}), linePixels(zoom));
    c.json.clear();
    c.drawings.clear();
    writeScene(c.json, scene, c.drawings);
    return written(c.json);
}

// The speed bar at this logical size, as a scene: its boxes where its frame puts them.
KORV_EXPORT(speedBar) const char* korvSpeedBar(double width, double height)
{
    Core& c = core();
    const ScreenPicture& bar = c.window.speedBar();
    Scene scene;
    scene.fillRect({0, 0, width, height}, {bar.background});
    for (const DrawOp& op : bar.drawing) {
        if (op.kind != DrawOp::Kind::Box)
            continue;
        const PixelMapping m = imageMapping(op.frame, {width, height}, {}, 1.0);
        const RectF box =
            RectF::fromCorners(mapPoint(m, op.x1, op.y1), mapPoint(m, op.x2, op.y2)).normalized();
        scene.fillRect(box.intersected({0, 0, width, height}), {op.colour});
    }
    c.json.clear();
    c.drawings.clear();
    writeScene(c.json, scene, c.drawings);
    return written(c.json);
}

// Pixels of a drawing of the scene written last, at its box's size times ratio.
KORV_EXPORT(drawingPixels) const std::uint32_t* korvDrawingPixels(int index, double ratio)
{
    Core& c = core();
    const item::Drawing& d = c.drawings.at(static_cast<std::size_t>(index));
    const int width = std::max(1, static_cast<int>(d.box.width * ratio));
    const int height = std::max(1, static_cast<int>(d.box.height * ratio));
    c.drawingPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                           DrawingPixels::canvasColour(d.ground));
    c.pixels.render(c.drawingPixels.data(), width, height, {d.box.width, d.box.height}, ratio,
                    d.ops, {d.zoom, d.worksheet, d.yUp, false});
    return c.drawingPixels.data();
}

namespace {

bool& viewOf(ScreenPicture& screen, ScreenView view)
{
    // The orientation's tick: "Wie im Lehrbuch" shows y upward whatever it says.
    if (view == ScreenView::YUp)
        return core().yUpTicked;
    switch (view) {
    case ScreenView::ReadingAid:
        return screen.readingAid;
    case ScreenView::Values:
        return screen.values;
    case ScreenView::Graticule:
        return screen.graticule;
    case ScreenView::YUp:
        break;
    }
    return screen.yUp;
}

} // namespace

namespace {

bool motionViewOn(MotionView view)
{
    Core& c = core();
    switch (view) {
    case MotionView::TimeSignals:
        return c.timeSignals;
    case MotionView::Afterglow:
        return c.window.screen().afterglow;
    case MotionView::Drift:
        break;
    }
    return c.window.form().drift().ticked();
}

} // namespace

bool korvelian::viewOn(int index)
{
    const auto at = static_cast<std::size_t>(index);
    if (at < kScreenViews.size())
        return viewOf(core().window.screen(), kScreenViews[at].view);
    if (at < kScreenViews.size() + kMotionViews.size())
        return motionViewOn(kMotionViews[at - kScreenViews.size()].view);
    return figureViewOn(kFigureViews.at(at - kScreenViews.size() - kMotionViews.size()).view);
}

// The screen's views as its context menu lists them, then the beam's, then the figure's:
// [{caption, on}].
KORV_EXPORT(views) const char* korvViews()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('[');
    for (const ScreenViewEntry& entry : kScreenViews) {
        c.json.begin('{').field("caption", entry.caption);
        c.json.field("on", viewOf(c.window.screen(), entry.view)).end('}');
    }
    for (const MotionViewEntry& entry : kMotionViews) {
        c.json.begin('{').field("caption", entry.caption);
        c.json.field("timeSignals", entry.view == MotionView::TimeSignals);
        c.json.field("on", motionViewOn(entry.view)).end('}');
    }
    // Last, so that the views a browser remembered from before keep their places.
    for (const FigureViewEntry& entry : kFigureViews) {
        c.json.begin('{').field("caption", entry.caption).field("tip", entry.tip);
        c.json.field("on", figureViewOn(entry.view)).end('}');
    }
    c.json.end(']');
    return written(c.json);
}

KORV_EXPORT(setView) void korvSetView(int index, int on)
{
    Core& c = core();
    const auto at = static_cast<std::size_t>(index);
    if (at < kScreenViews.size()) {
        viewOf(c.window.screen(), kScreenViews[at].view) = on != 0;
        showYUp();
    } else if (at >= kScreenViews.size() + kMotionViews.size()) {
        setFigureView(kFigureViews.at(at - kScreenViews.size() - kMotionViews.size()).view,
                      on != 0);
    } else if (kMotionViews.at(at - kScreenViews.size()).view == MotionView::TimeSignals) {
        c.timeSignals = on != 0;
    } else if (kMotionViews.at(at - kScreenViews.size()).view == MotionView::Afterglow) {
        // The figure is dimmed beneath the trace.
        ScreenPicture& screen = c.window.screen();
        screen.afterglow = on != 0;
        if (!on)
            screen.trace.clear();
    } else if (!c.window.ended()) {
        c.window.form().drift().setTicked(on != 0);
    }
    hostChanged(PageHost::Screen | PageHost::Overlays);
}

// The screen's orientation: y growing upward as on an oscilloscope.
KORV_EXPORT(setYUp) void korvSetYUp(int on)
{
    core().yUpTicked = on != 0;
    showYUp();
    hostChanged(PageHost::Screen | PageHost::Overlays);
}

// What lies beneath the drawing: the ground and, where it is on, the graticule, on a screen of
// this logical size at zoom, ratio device pixels to a logical one.
KORV_EXPORT(underlay)
const char* korvUnderlay(double width, double height, double zoom, double ratio)
{
    const ScreenPicture& screen = core().window.screen();
    Scene scene;
    scene.fillRect({0, 0, width, height}, {screen.background});
    // One device pixel at 100 %, as the axes are drawn, whatever the ratio.
    screen.describeUnderlay(scene, {0, 0, width, height}, linePixels(zoom) / ratio, false);
    return sceneJson(scene);
}

// What is read over the drawing: the reading aid and the values, where they are on.
KORV_EXPORT(readings) const char* korvReadings(double width, double height, double zoom)
{
    Core& c = core();
    Scene scene;
    c.window.screen().describeReadings(scene, c.metrics, {0, 0, width, height}, linePixels(zoom),
                                       false);
    return sceneJson(scene);
}

// The time signals of the screen's figure at this logical size: the signals, or (cursor) the
// beam's cursor over them; an empty scene where they are not on show or no figure is drawn.
KORV_EXPORT(timeSignals)
const char* korvTimeSignals(double width, double height, double zoom, double ratio, int cursor)
{
    Core& c = core();
    Scene scene;
    const ScreenPicture& screen = c.window.screen();
    const DrawOp* figure = lastFigure(screen.drawing);
    if (c.timeSignals && figure) {
        ScreenPicture atHundred = screen;
        atHundred.zoom = 1;
        TimeSignalScene shown =
            sceneOf(*figure, atHundred.mappingOnto(figure->frame, {0, 0, 1, 1}));
        shown.beamT = c.window.beamT();
        // Without the formulas while the values are hidden for the class.
        const TimeSignalStyle style{zoom,  linePixels(zoom) / ratio, ratio, false,
                                    false, !c.valuesHidden};
        const RectF area{0, 0, width, height};
        if (cursor)
            describeTimeCursor(scene, c.metrics, area, shown, style);
        else
            describeTimeSignals(scene, c.metrics, area, shown, style);
    }
    return sceneJson(scene);
}
