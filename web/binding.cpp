// The core's face to the page: what the page's JavaScript calls (exported under korv_*) and
// what it answers (imported from the module "korvelian"). Calls that may wait (an event, a
// typed text, a moved bar) are resumed by the page after it has waited: the module is built
// so that waiting unwinds to the page and the same call continues later (see docs/browser.md).
#include "drawingpixels.h"
#include "form/form1.h"
#include "form/layout.h"
#include "form/linksetting.h"
#include "form/screenviews.h"
#include "handlers/soundoutput.h"
#include "model/constants.h"
#include "model/stereotone.h"
#include "raster/shownpicture.h"
#include "json.h"
#include "scene/filenames.h"
#include "scene/helptext.h"
#include "scene/menuwords.h"
#include "scene/presets.h"
#include "scene/drawing.h"
#include "scene/textmetrics.h"
#include "scene/timesignals.h"
#include "scene/typedvalue.h"
#include "scenejson.h"
#include "webwindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#define KORV_IMPORT(name) __attribute__((import_module("korvelian"), import_name(#name)))
#define KORV_EXPORT(name) extern "C" __attribute__((export_name("korv_" #name)))

extern "C" {
KORV_IMPORT(changed) void hostChanged(int what);
KORV_IMPORT(doEvents) void hostDoEvents();
KORV_IMPORT(sleep) void hostSleep(double seconds);
KORV_IMPORT(msgBox)
void hostMsgBox(const char* prompt, int promptLength, const char* title, int titleLength);
KORV_IMPORT(clock) double hostClock();
KORV_IMPORT(ended) void hostEnded();
// Text measured by the page's canvas; a font is its family, whether it is sans serif and its
// pixel size. richTextSize writes width and height to size.
KORV_IMPORT(richTextSize)
void hostRichTextSize(const char* html, int htmlLength, const char* family, int familyLength,
                      int sansSerif, int pixelSize, double width, double* size);
KORV_IMPORT(lineHeight)
double hostLineHeight(const char* family, int familyLength, int sansSerif, int pixelSize);
KORV_IMPORT(advance)
double hostAdvance(const char* family, int familyLength, int sansSerif, int pixelSize,
                   const char* text, int textLength);
KORV_IMPORT(capHeight)
double hostCapHeight(const char* family, int familyLength, int sansSerif, int pixelSize);
}

namespace korvelian {

namespace {

int length(const std::string& text)
{
    return static_cast<int>(text.size());
}

class Host final : public PageHost
{
public:
    void changed(int what) override { hostChanged(what); }
    void doEvents() override { hostDoEvents(); }
    void sleep(double seconds) override { hostSleep(seconds); }
    void msgBox(const std::string& prompt, const std::string& title) override
    {
        hostMsgBox(prompt.data(), length(prompt), title.data(), length(title));
    }
    double clock() override { return hostClock(); }
    void ended() override { hostEnded(); }
};

class PageTextMetrics final : public TextMetrics
{
public:
    SizeF richTextSize(const std::string& html, const Font& font, double width) override
    {
        double size[2] = {0, 0};
        hostRichTextSize(html.data(), length(html), font.family.data(), length(font.family),
                         font.sansSerif, font.pixelSize, width, size);
        return {size[0], size[1]};
    }
    double lineHeight(const Font& font) override
    {
        return hostLineHeight(font.family.data(), length(font.family), font.sansSerif,
                              font.pixelSize);
    }
    double advance(const Font& font, const std::string& text) override
    {
        return hostAdvance(font.family.data(), length(font.family), font.sansSerif, font.pixelSize,
                           text.data(), length(text));
    }
    double capHeight(const Font& font) override
    {
        return hostCapHeight(font.family.data(), length(font.family), font.sansSerif,
                             font.pixelSize);
    }
};

// The tone for the page's audio: rendered from the same stereo oscillators as the desktop's,
// whenever the page's audio asks for frames. A fade is the settings at silence, ramped.
class WebSound final : public SoundOutput
{
public:
    void start(double sampleRate) { m_tone.emplace(sampleRate); }
    bool started() const { return m_tone.has_value(); }
    void play(const ToneSettings& settings) override
    {
        if (m_tone)
            m_tone->set(settings);
    }
    void fadeOut() override
    {
        if (!m_tone)
            return;
        ToneSettings silent = m_tone->settings();
        silent.gainX = 0;
        silent.gainY = 0;
        m_tone->set(silent);
    }
    void endNow() override { fadeOut(); }
    // count interleaved stereo frames, left first.
    const std::int16_t* render(std::size_t count)
    {
        m_frames.assign(2 * count, 0);
        if (m_tone)
            m_tone->render(m_frames.data(), count);
        return m_frames.data();
    }

private:
    std::optional<StereoTone> m_tone;
    std::vector<std::int16_t> m_frames;
};

struct Core
{
    Host host;
    PageTextMetrics metrics;
    WebWindow window{host};
    DrawingPixels pixels;
    std::vector<std::uint32_t> screenPixels;
    std::vector<std::uint32_t> drawingPixels;
    // The drawings of the scene written last, which the page asks pixels of.
    std::vector<item::Drawing> drawings;
    Json json;
    WebSound sound;
    // The page shows the time signals beside the window.
    bool timeSignals = false;
    // Where a bar's drag began: its release reports the change from there.
    std::int16_t dragFrom[4] = {};
};

Core& core()
{
    static Core* theCore = new Core;
    return *theCore;
}

template <typename Optional> void optionalEvent(Json& json, std::string_view name, Optional event)
{
    json.key(name);
    if (event)
        json.number(static_cast<int>(*event));
    else
        json.null();
}

const char* layoutJson()
{
    static const std::string text = [] {
        Json json;
        json.begin('{');
        json.field("clientWidth", kClientWidth).field("clientHeight", kClientHeight);
        json.field("screenSide", screenSide()).field("timeSignalsWidth", kTimeSignalsWidth);
        json.field("twipsPerPixel", kTwipsPerPixel).field("family", kLayoutFamily);
        json.key("ground").begin('{');
        json.field("screen", palette::kScreenGround)
            .field("written", palette::kWrittenGround)
            .field("speedBar", palette::kWhite);
        json.end('}');
        json.key("controls").begin('[');
        for (const ControlLayout& c : kControls) {
            json.begin('{');
            json.field("name", c.name).field("kind", static_cast<int>(c.kind));
            json.key("parent");
            if (c.parent)
                json.string(c.parent);
            else
                json.null();
            json.field("left", c.left).field("top", c.top).field("width", c.width);
            json.field("height", c.height).field("caption", c.caption);
            json.field("points", fontPoints(c.font)).field("font", static_cast<int>(c.font));
            json.field("lightYellow", c.lightYellow).field("tab", c.tab);
            json.field("maximum", c.maximum).field("value", c.value);
            json.field("accessibleName", c.accessibleName ? c.accessibleName : c.caption);
            optionalEvent(json, "click", c.click);
            optionalEvent(json, "change", c.change);
            optionalEvent(json, "scroll", c.scroll);
            optionalEvent(json, "mouseMove", c.mouseMove);
            optionalEvent(json, "picture", c.picture);
            optionalEvent(json, "textBox", c.textBox);
            optionalEvent(json, "scrollBar", c.scrollBar);
            json.end('}');
        }
        json.end(']');
        json.field("formLoad", static_cast<int>(Event::Form_Load));
        json.field("formUnload", static_cast<int>(Event::Form_Unload));
        json.end('}');
        return json.str();
    }();
    return text.c_str();
}

const char* written(Json& json)
{
    return json.str().c_str();
}

} // namespace

} // namespace korvelian

using namespace korvelian;

KORV_EXPORT(alloc) void* korvAlloc(int size)
{
    return std::malloc(static_cast<std::size_t>(size));
}

KORV_EXPORT(free) void korvFree(void* p)
{
    std::free(p);
}

KORV_EXPORT(layout) const char* korvLayout()
{
    return layoutJson();
}

// Before the window is shown: the frames, the figure, the empty speed bar.
KORV_EXPORT(start) void korvStart()
{
    core().window.start();
}

// A control event: a click, a mouse move over a control with a hint, the window closing.
KORV_EXPORT(event) void korvEvent(int event)
{
    if (!core().window.ended())
        core().window.form().handle(static_cast<Event>(event));
}

// A text the user typed into a box; its Change follows where it differs.
KORV_EXPORT(setText) void korvSetText(int box, const char* text, int length)
{
    const std::string typed(text, static_cast<std::size_t>(length));
    core().window.setText(static_cast<TextBox>(box), typed);
}

// A bar moved by a click or a key: its Change follows where the value differs.
KORV_EXPORT(setValue) void korvSetValue(int bar, int value)
{
    core().window.setScrollValue(static_cast<ScrollBar>(bar), static_cast<std::int16_t>(value));
}

// A bar's thumb dragged: the thumb's place and the bar's Scroll event, then at the release
// the Change from where the drag began.
KORV_EXPORT(beginDrag) void korvBeginDrag(int bar)
{
    core().dragFrom[bar] = core().window.scrollValue(static_cast<ScrollBar>(bar));
}

KORV_EXPORT(drag) void korvDrag(int bar, int value)
{
    WebWindow& window = core().window;
    const auto which = static_cast<ScrollBar>(bar);
    if (window.ended() || window.scrollValue(which) == value)
        return;
    window.putValue(which, static_cast<std::int16_t>(value));
    if (const auto scroll = control(which).scroll)
        window.form().handle(*scroll);
}

KORV_EXPORT(endDrag) void korvEndDrag(int bar)
{
    WebWindow& window = core().window;
    const auto which = static_cast<ScrollBar>(bar);
    const std::int16_t to = window.scrollValue(which);
    window.putValue(which, core().dragFrom[bar]);
    window.setScrollValue(which, to);
}

KORV_EXPORT(setCheck) void korvSetCheck(int value)
{
    core().window.setCheckValue(value);
}

// What the controls show, for the page to put into its elements.
KORV_EXPORT(state) const char* korvState()
{
    WebWindow& window = core().window;
    Json& json = core().json;
    json.clear();
    json.begin('{').key("texts").begin('[');
    for (const TextBox box :
         {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount, TextBox::Hint})
        json.string(window.shownText(box));
    json.end(']').key("inUse").begin('[');
    for (const TextBox box :
         {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount, TextBox::Hint})
        json.boolean(window.inUse(box));
    json.end(']').key("values").begin('[');
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY})
        json.number(window.shownValue(bar));
    json.end(']');
    json.field("check", window.shownCheck()).field("ended", window.ended());
    json.field("runs", window.form().oscillation().runs());
    json.field("yUp", window.screen().yUp);
    json.end('}');
    return written(json);
}

// The screen's drawing as pixels, red first, clear where nothing is drawn: width x height device
// pixels for a screen of zoom at ratio device pixels to a logical one.
KORV_EXPORT(renderScreen)
const std::uint32_t* korvRenderScreen(int width, int height, double zoom, double ratio)
{
    Core& c = core();
    ScreenPicture& screen = c.window.screen();
    screen.zoom = zoom;
    // Clear where nothing is drawn: the ground and the graticule lie on a canvas beneath.
    c.screenPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const SizeF logical{width / ratio, height / ratio};
    c.pixels.render(c.screenPixels.data(), width, height, logical, ratio, screen.drawing,
                    screen.style());
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
// orientation and afterglow in the second (1: y up, 2: dimmed), for another thread to draw with
// korv_renderOps.
KORV_EXPORT(screenOps) const double* korvScreenOps()
{
    const ScreenPicture& screen = core().window.screen();
    flatOps.assign(2 + screen.drawing.size() * kOpDoubles, 0);
    flatOps[0] = static_cast<double>(screen.drawing.size());
    flatOps[1] = (screen.yUp ? 1 : 0) + (screen.afterglow ? 2 : 0);
    for (std::size_t i = 0; i < screen.drawing.size(); ++i)
        flatten(screen.drawing[i], &flatOps[2 + i * kOpDoubles]);
    return flatOps.data();
}

// Pixels of a drawing that korv_screenOps gave, clear where nothing is drawn: what
// korv_renderScreen gives for it, without a window.
KORV_EXPORT(renderOps)
const std::uint32_t* korvRenderOps(const double* flat, int width, int height, double zoom,
                                   double ratio)
{
    static DrawingPixels pixels;
    static std::vector<std::uint32_t> buffer;
    std::vector<DrawOp> ops;
    for (std::size_t i = 0; i < static_cast<std::size_t>(flat[0]); ++i)
        ops.push_back(unflatten(flat + 2 + i * kOpDoubles));
    buffer.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const int options = static_cast<int>(flat[1]);
    const RenderStyle style{zoom, false, (options & 1) != 0, (options & 2) != 0};
    pixels.render(buffer.data(), width, height, {width / ratio, height / ratio}, ratio, ops, style);
    return buffer.data();
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

const char* sceneJson(const Scene& scene)
{
    Core& c = core();
    c.json.clear();
    c.drawings.clear();
    writeScene(c.json, scene, c.drawings);
    return written(c.json);
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

// The screen's views as its context menu lists them, then the beam's: [{caption, on}].
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
    c.json.end(']');
    return written(c.json);
}

KORV_EXPORT(setView) void korvSetView(int index, int on)
{
    Core& c = core();
    const auto at = static_cast<std::size_t>(index);
    if (at < kScreenViews.size()) {
        viewOf(c.window.screen(), kScreenViews[at].view) = on != 0;
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
    core().window.screen().yUp = on != 0;
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

// Every bar and the ratio back where the window started, as the screen's menu offers it.
KORV_EXPORT(reset) void korvReset()
{
    if (!core().window.ended())
        resetControls(core().window);
}

// What the page says where the browser keeps nothing between visits: everything else works.
constexpr const char* kStorageBlocked = "Dieser Browser speichert nichts: die Ansicht gilt nur, "
                                        "bis die Seite geschlossen wird.";

// The words of the screen's menu beyond its views, and what the page says about them.
KORV_EXPORT(menuWords) const char* korvMenuWords()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("reset", kResetCaption).field("copyLink", kCopyLinkCaption);
    c.json.field("savePng", kSavePngCaption).field("saveSvg", kSaveSvgCaption);
    c.json.field("print", kPrintCaption).field("help", kHelpCaption).field("helpTitle", kHelpTitle);
    c.json.field("fullScreen", kFullScreenCaption).field("sound", kSoundCaption);
    c.json.field("noWebAudio", kNoWebAudio);
    c.json.field("linkCopied", kLinkCopied).field("linkNotCopied", kLinkNotCopied);
    c.json.field("storageBlocked", kStorageBlocked).end('}');
    return written(c.json);
}

// A bar's menu: its presets and the entry of a value, with what that entry asks and the bar's
// value written for its field.
KORV_EXPORT(barMenu) const char* korvBarMenu(int bar)
{
    Core& c = core();
    const auto which = static_cast<ScrollBar>(bar);
    const ControlLayout& row = control(which);
    c.json.clear();
    c.json.begin('{').key("presets").begin('[');
    for (const BarPreset& preset : barPresets(row))
        c.json.begin('{').field("caption", preset.caption).field("value", preset.value).end('}');
    c.json.end(']');
    c.json.field("entry", kValueEntryCaption).field("title", valueEntryTitle(row));
    c.json.field("prompt", valueEntryPrompt(row));
    c.json.field("start", valueEntryStart(row, c.window.scrollValue(which)));
    c.json.end('}');
    return written(c.json);
}

// A value typed for a bar: the bar's value it sets (null where refused) and what the line
// beneath the field says.
KORV_EXPORT(typedValue) const char* korvTypedValue(int bar, const char* text, int length)
{
    Core& c = core();
    const TypedValue typed = readTypedValue(control(static_cast<ScrollBar>(bar)),
                                            std::string(text, static_cast<std::size_t>(length)));
    c.json.clear();
    c.json.begin('{').key("value");
    if (typed.barValue)
        c.json.number(*typed.barValue);
    else
        c.json.null();
    c.json.field("message", typed.message).end('}');
    return written(c.json);
}

// The usual ratios a box's menu offers.
KORV_EXPORT(ratioMenu) const char* korvRatioMenu()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("caption", kRatiosCaption).key("ratios").begin('[');
    for (const RatioPreset& ratio : kRatioPresets) {
        c.json.begin('{').field("caption", ratio.caption());
        c.json.field("numerator", ratio.numerator).field("denominator", ratio.denominator).end('}');
    }
    c.json.end(']').end('}');
    return written(c.json);
}

namespace {

// The screen's picture as it is saved: at 100 %, so that a width gives its own zoom.
ScreenPicture savedPicture()
{
    ScreenPicture picture = core().window.screen();
    picture.zoom = 1;
    return picture;
}

RenderStyle savedStyle(const ScreenPicture& picture, double width, bool worksheet)
{
    RenderStyle style = picture.style();
    style.zoom = width / picture.widthAtHundred();
    style.worksheet = worksheet;
    return style;
}

RectF savedTarget(const ScreenPicture& picture, double width)
{
    return {0, 0, width, width * picture.size.height / std::max(1.0, picture.size.width)};
}

} // namespace

// The screen's picture as the desktop saves it, width pixels wide: {width, height, name}, the
// height with what has no room on the picture beneath it. The page paints korv_savedUnder,
// korv_savedFigure and korv_savedOver on one another.
KORV_EXPORT(savedSize) const char* korvSavedSize(int width, const char* ending, int length)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    const RectF target = savedTarget(picture, width);
    const double beneath = std::ceil(picture.beneathHeight(c.metrics, width));
    c.json.clear();
    c.json.begin('{').field("width", width);
    c.json.field("pictureHeight", static_cast<int>(std::lround(target.height)));
    c.json.field("height", static_cast<int>(std::lround(target.height) + beneath));
    c.json.field("name", ratioFileName("korvelian", figureRatio(picture),
                                       std::string(ending, static_cast<std::size_t>(length))));
    c.json.end('}');
    return written(c.json);
}

KORV_EXPORT(savedUnder) const char* korvSavedUnder(int width, int height, int worksheet)
{
    const ScreenPicture picture = savedPicture();
    const RenderStyle style = savedStyle(picture, width, worksheet != 0);
    Scene scene;
    scene.fillRect({0, 0, double(width), double(height)},
                   {worksheet ? palette::kWorksheetGround : picture.background});
    picture.describeUnderlay(scene, savedTarget(picture, width), linePixels(style.zoom),
                             worksheet != 0);
    return sceneJson(scene);
}

// The figure's pixels of the saved picture, width x pictureHeight, clear where nothing is drawn.
KORV_EXPORT(savedFigure)
const std::uint32_t* korvSavedFigure(int width, int pictureHeight, int worksheet)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    c.screenPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(pictureHeight),
                          0);
    c.pixels.render(c.screenPixels.data(), width, pictureHeight,
                    {double(width), double(pictureHeight)}, 1.0, picture.drawing,
                    savedStyle(picture, width, worksheet != 0));
    return c.screenPixels.data();
}

KORV_EXPORT(savedOver) const char* korvSavedOver(int width, int height, int worksheet)
{
    Core& c = core();
    const ScreenPicture picture = savedPicture();
    const RenderStyle style = savedStyle(picture, width, worksheet != 0);
    const RectF target = savedTarget(picture, width);
    Scene scene;
    picture.describeAnnotations(scene, c.metrics, target, linePixels(style.zoom), worksheet != 0);
    if (height > target.height + 0.5) {
        picture.describeBeneath(scene, {0, target.height, double(width), height - target.height},
                                worksheet != 0);
    }
    return sceneJson(scene);
}

// The help's text with its numbers, as the desktop's help window shows it; fittingZoom is the
// zoom in percent at which the window fits the page now.
KORV_EXPORT(helpText) const char* korvHelpText(const char* text, int length, int fittingZoom)
{
    static std::string filled;
    filled = withHelpNumbers(std::string(text, static_cast<std::size_t>(length)), fittingZoom);
    return filled.c_str();
}

// "Ton": the page's audio runs at sampleRate from now on; the form's sound plays through it.
KORV_EXPORT(soundStart) void korvSoundStart(double sampleRate)
{
    Core& c = core();
    if (!c.sound.started()) {
        c.sound.start(sampleRate);
        c.window.form().sound().setOutput(&c.sound);
    }
}

KORV_EXPORT(setSound) void korvSetSound(int on)
{
    if (!core().window.ended())
        core().window.form().sound().setOn(on != 0);
}

KORV_EXPORT(soundOn) int korvSoundOn()
{
    return core().window.form().sound().on() ? 1 : 0;
}

// The next count stereo frames of the tone, interleaved 16-bit, left first.
KORV_EXPORT(renderTone) const std::int16_t* korvRenderTone(int count)
{
    return core().sound.render(static_cast<std::size_t>(count));
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
        const TimeSignalStyle style{zoom, linePixels(zoom) / ratio, ratio, false, false};
        const RectF area{0, 0, width, height};
        if (cursor)
            describeTimeCursor(scene, c.metrics, area, shown, style);
        else
            describeTimeSignals(scene, c.metrics, area, shown, style);
    }
    return sceneJson(scene);
}

// The texts measured through the page, so that the page's own measures can be checked.
KORV_EXPORT(measureText) double korvMeasureText(const char* text, int length, int pixelSize)
{
    return core().metrics.advance({kLayoutFamily, false, pixelSize},
                                  std::string(text, static_cast<std::size_t>(length)));
}

// A link's fragment (without its '#'): its setting put into the controls as the command line
// puts its options, or nothing of it where it is refused. Gives {"fault": why} in German,
// empty where it was taken.
KORV_EXPORT(applyLink) const char* korvApplyLink(const char* text, int length)
{
    Core& c = core();
    const LinkReading reading = readLink(std::string_view(text, static_cast<std::size_t>(length)));
    if (reading.fault.empty()) {
        applyLink(reading.setting, c.window);
        c.window.screen().yUp = reading.setting.yUp;
        hostChanged(PageHost::Screen | PageHost::Overlays | PageHost::Controls);
    }
    c.json.clear();
    c.json.begin('{').field("fault", reading.fault).end('}');
    return written(c.json);
}

// The controls' setting as a link's fragment.
KORV_EXPORT(link) const char* korvLink()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("fragment", linkFragment(c.window, c.window.screen().yUp)).end('}');
    return written(c.json);
}

// One item of every kind, each in a cell of its own (six cells of 60 pixels a row), for a test
// of the page's painter: every cell must get ink and nothing may land beside the cells.
KORV_EXPORT(sampleScene) const char* korvSampleScene()
{
    const auto cell = [](int k) { return RectF{(k % 6) * 60.0 + 5, (k / 6) * 60.0 + 5, 50, 50}; };
    const Font font{"", true, 14};
    Scene s;
    s.pen(Pen{{palette::kMarker}, 2}).brush({palette::kAidMark}).font(font);
    int k = 0;
    RectF c = cell(k++);
    s.line(c.topLeft(), c.bottomRight());
    c = cell(k++);
    s.add(item::Lines{{c.topLeft(), c.bottomRight(), {c.x, c.bottom()}, {c.right(), c.y}}});
    c = cell(k++);
    s.add(item::Points{{c.center(), c.topLeft() + PointF{10, 10}}});
    c = cell(k++);
    const std::vector<item::Path::Step> corner{
        {true, c.topLeft()}, {false, c.bottomRight()}, {false, {c.x, c.bottom()}}};
    s.add(item::Path{corner, Pen{{palette::kDropLine}, 3}});
    c = cell(k++);
    s.add(item::Path{{{true, c.topLeft()}, {false, c.bottomRight()}, {false, {c.x, c.bottom()}}},
                     std::nullopt});
    c = cell(k++);
    s.add(item::Ellipse{c, false});
    c = cell(k++);
    s.add(item::Ellipse{c, true});
    c = cell(k++);
    s.add(item::Pie{c, 0, 90 * 16});
    c = cell(k++);
    s.add(item::Polygon{{c.topLeft(), {c.right(), c.y}, {c.x, c.bottom()}}});
    c = cell(k++);
    s.add(item::Rect{c, false});
    c = cell(k++);
    s.add(item::Rect{c, true});
    c = cell(k++);
    s.fillRect(c, {palette::kGraticule});
    c = cell(k++);
    s.text(c, align::kHCenter | align::kTop, "Ag", TextRole::Caption);
    c = cell(k++);
    s.add(item::RichText{c.topLeft(), "x<sub>2</sub><br><i>y</i>&nbsp;", font, 40, true,
                         palette::kValues, TextRole::Value, true});
    c = cell(k++);
    item::Label label;
    label.box = c;
    label.html = "A<sub>x</sub>";
    label.font = font;
    label.colour = palette::kValues;
    label.ground = {palette::kBlack};
    label.padding = 3;
    s.add(label);
    c = cell(k++);
    s.add(item::Drawing{c, screenDrawing({1, 0, 1, 0, 1, 1}, loopEnd(1)), 1, false, false,
                        palette::kScreenGround, false});
    // A translation and a scale that the restore takes back: the next cell's line would land
    // elsewhere if it did not.
    c = cell(k++);
    s.save().add(item::Translate{c.topLeft()}).add(item::Scale{2, 2});
    s.fillRect({0, 0, 25, 25}, {palette::kBeamPoint}).restore();
    c = cell(k++);
    s.save().clip(c).fillRect({0, 0, 10000, 10000}, {palette::kDropLine}).restore();
    c = cell(k++);
    s.antialias(false).add(item::TextAntialias{false}).line(c.topLeft(), c.bottomRight());
    return sceneJson(s);
}
