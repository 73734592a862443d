// The overview plate's face to the page: its menu's words, the plate as a scene at a width and
// its worksheets on an A4 page, all from the same plate the desktop's window shows.
#include "core.h"
#include "form/form1.h"
#include "form/screenviews.h"
#include "handlers/parameters.h"
#include "scene/filenames.h"
#include "scene/menuwords.h"
#include "scene/overviewplate.h"
#include "scenejson.h"
#include "scenesvg.h"

#include <cmath>
#include <string>

using namespace korvelian;

namespace {

OverviewPlate plateInUse(int phases)
{
    WebWindow& window = core().window;
    const RatioInUse& ratio = window.form().variables().ratio;
    const ScreenPicture& screen = window.screen();
    return OverviewPlate(phases ? OverviewPlate::Form::Phases : OverviewPlate::Form::Ratios,
                         screen.drawing, screen.yUp, readParameters(window, ratio), !ratio.refused,
                         screen.fine);
}

// The plate on its ground, width pixels wide, as the desktop's window and copy paint it.
Scene plateScene(int phases, int width, bool worksheet, SizeF& size)
{
    Core& c = core();
    const OverviewPlate plate = plateInUse(phases);
    size = plate.size(c.metrics, width);
    Scene scene;
    scene.fillRect({0, 0, size.width, size.height}, {OverviewPlate::ground(worksheet)});
    plate.describe(scene, c.metrics, width, worksheet);
    return scene;
}

// The worksheet on its printable area, its cells in the order of seed, in worksheet colours.
Scene sheetScene(int phases, int sheet, double seed, int width, int height)
{
    Scene scene;
    plateInUse(phases).describeSheet(scene, core().metrics, {0, 0, double(width), double(height)},
                                     static_cast<OverviewPlate::Sheet>(sheet),
                                     static_cast<std::uint32_t>(seed), true, false);
    return scene;
}

// A scene as the page prints it: lines that stay sharp on paper at any size.
const char* printedSvg(const Scene& scene, double width, double height)
{
    static std::string svg;
    svg = sceneSvg(scene, core().metrics, width, height, kPlateTitle, "");
    return svg.c_str();
}

} // namespace

// The plate's submenu and window, the worksheets the page prints, and the screen menu's
// words for copying and for worksheet colours.
KORV_EXPORT(plateMenu) const char* korvPlateMenu()
{
    Core& c = core();
    const RatioInUse& ratio = c.window.form().variables().ratio;
    c.json.clear();
    c.json.begin('{').field("caption", kPlateCaption).field("title", kPlateTitle);
    c.json.field("ratios", kRatiosPlateCaption);
    c.json.field("phases", phasesPlateCaption(ratio.numerator, ratio.denominator));
    c.json.field("show", kShowPlateCaption).field("copy", kCopyPlateCaption);
    c.json.field("save", kSavePlateCaption).field("print", kPrintPlateCaption);
    c.json.field("copyPicture", kCopyPictureCaption).field("notCopied", kNotCopied);
    c.json.field("worksheet", kWorksheetColoursCaption).field("newOrder", kNewOrderCaption);
    c.json.key("sheets").begin('[');
    c.json.begin('{').field("caption", kBlankSheetCaption);
    c.json.field("sheet", static_cast<int>(OverviewPlate::Sheet::Blank)).end('}');
    c.json.begin('{').field("caption", kNamingSheetCaption);
    c.json.field("sheet", static_cast<int>(OverviewPlate::Sheet::Naming)).end('}');
    c.json.begin('{').field("caption", kSolutionsSheetCaption);
    c.json.field("sheet", static_cast<int>(OverviewPlate::Sheet::Solutions)).end('}');
    c.json.end(']');
    c.json.field("nameRatios", plateFileName(false, {ratio.numerator, ratio.denominator}, "png"));
    c.json.field("namePhases", plateFileName(true, {ratio.numerator, ratio.denominator}, "png"));
    c.json.end('}');
    return written(c.json);
}

// The plate width pixels wide: {width, height}.
KORV_EXPORT(plateSize) const char* korvPlateSize(int phases, int width)
{
    Core& c = core();
    const SizeF size = plateInUse(phases).size(c.metrics, width);
    c.json.clear();
    c.json.begin('{').field("width", static_cast<int>(size.width));
    c.json.field("height", static_cast<int>(size.height)).end('}');
    return written(c.json);
}

// The plate as the page paints it on a canvas.
KORV_EXPORT(plateScene) const char* korvPlateScene(int phases, int width, int worksheet)
{
    SizeF size;
    return sceneJson(plateScene(phases, width, worksheet != 0, size));
}

// The plate in worksheet colours as an SVG file, for the print.
KORV_EXPORT(plateSvg) const char* korvPlateSvg(int phases, int width)
{
    SizeF size;
    const Scene scene = plateScene(phases, width, true, size);
    return printedSvg(scene, size.width, size.height);
}

// A worksheet's page: whether it is turned across, and its printable area width pixels wide.
KORV_EXPORT(sheetPage) const char* korvSheetPage(int phases, int sheet, int width)
{
    Core& c = core();
    const bool across =
        plateInUse(phases).sheetAcross(c.metrics, static_cast<OverviewPlate::Sheet>(sheet));
    const SizeF area = across ? OverviewPlate::kSheetArea.transposed() : OverviewPlate::kSheetArea;
    c.json.clear();
    c.json.begin('{').field("across", across).field("width", width);
    c.json.field("height", static_cast<int>(std::lround(width * area.height / area.width)));
    c.json.field("millimetres", static_cast<int>(area.width)).end('}');
    return written(c.json);
}

// The worksheet as an SVG file of its printable area, for the print.
KORV_EXPORT(sheetSvg)
const char* korvSheetSvg(int phases, int sheet, double seed, int width, int height)
{
    return printedSvg(sheetScene(phases, sheet, seed, width, height), width, height);
}

// The drift's speeds and the tone's base frequencies, as the desktop's submenus offer them,
// each with whether it is the one in use.
KORV_EXPORT(speedMenus) const char* korvSpeedMenus()
{
    Core& c = core();
    Form1& form = c.window.form();
    c.json.clear();
    c.json.begin('{').field("drift", kDriftSpeedsCaption).key("speeds").begin('[');
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        c.json.begin('{').field("caption", driftSpeedCaption(i));
        c.json.field("on", kDriftChoices[i] == form.drift().secondsPerTurn()).end('}');
    }
    c.json.end(']').field("base", kBaseFrequencyCaption).key("frequencies").begin('[');
    for (const int hertz : kBaseFrequencies) {
        c.json.begin('{').field("caption", std::to_string(hertz) + " Hz");
        c.json.field("on", hertz == form.sound().baseFrequency()).end('}');
    }
    c.json.end(']').end('}');
    return written(c.json);
}

KORV_EXPORT(setDriftSpeed) void korvSetDriftSpeed(int choice)
{
    core().window.form().drift().setSecondsPerTurn(
        kDriftChoices.at(static_cast<std::size_t>(choice)));
}

KORV_EXPORT(setBaseFrequency) void korvSetBaseFrequency(int choice)
{
    core().window.form().sound().setBaseFrequency(
        kBaseFrequencies.at(static_cast<std::size_t>(choice)));
}
