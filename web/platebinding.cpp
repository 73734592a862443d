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

// The plate on its ground, width pixels wide, as the desktop's window and copy paint it.
KORV_EXPORT(plateScene) const char* korvPlateScene(int phases, int width, int worksheet)
{
    Core& c = core();
    const OverviewPlate plate = plateInUse(phases);
    const SizeF size = plate.size(c.metrics, width);
    Scene scene;
    scene.fillRect({0, 0, size.width, size.height}, {OverviewPlate::ground(worksheet != 0)});
    plate.describe(scene, c.metrics, width, worksheet != 0);
    return sceneJson(scene);
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

// The worksheet on that area, its cells in the order of seed, in worksheet colours.
KORV_EXPORT(sheetScene)
const char* korvSheetScene(int phases, int sheet, double seed, int width, int height)
{
    Core& c = core();
    Scene scene;
    plateInUse(phases).describeSheet(scene, c.metrics, {0, 0, double(width), double(height)},
                                     static_cast<OverviewPlate::Sheet>(sheet),
                                     static_cast<std::uint32_t>(seed), true, false);
    return sceneJson(scene);
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
