// The core's face to the page: what the page's JavaScript calls (exported under korv_*) and
// what it answers (imported from the module "korvelian"). Calls that may wait (an event, a
// typed text, a moved bar) are resumed by the page after it has waited: the module is built
// so that waiting unwinds to the page and the same call continues later (see docs/browser.md).
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

namespace korvelian {

namespace {

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
    c.json.field("noWebAudio", kNoWebAudio).field("noFullScreen", kNoFullScreen);
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

// The texts measured through the page, so that the page's own measures can be checked.
KORV_EXPORT(measureText) double korvMeasureText(const char* text, int length, int pixelSize)
{
    return core().metrics.advance({kLayoutFamily, false, pixelSize},
                                  std::string(text, static_cast<std::size_t>(length)));
}
