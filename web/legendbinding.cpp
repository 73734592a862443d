// The reading aid's legend beside the page's window where the screen has no room for it, as the
// desktop shows it in a window of its own beside its main window.
#include "core.h"
#include "scene/readingaid.h"

using namespace korvelian;

namespace {

// The lines to show beside the screen of this logical size: none where they stand on it, where
// the aid is off, or where the presentation's margin shows them.
TextLines linesBeside(double screenWidth, double screenHeight)
{
    Core& c = core();
    const ScreenPicture& screen = c.window.screen();
    if (screen.legendElsewhere)
        return {};
    return screen.legendBeside(c.metrics, {0, 0, screenWidth, screenHeight});
}

} // namespace

// The height of the legend as a band of this logical width at zoom, for a screen of this
// logical size; 0 where nothing is to be shown beside it.
KORV_EXPORT(legendBesideHeight)
double korvLegendBesideHeight(double screenWidth, double screenHeight, double width, double zoom)
{
    const TextLines lines = linesBeside(screenWidth, screenHeight);
    return lines.empty() ? 0 : legendBandHeight(core().metrics, lines, width, zoom);
}

// The legend described in that band.
KORV_EXPORT(legendBeside)
const char* korvLegendBeside(double screenWidth, double screenHeight, double width, double height,
                             double zoom)
{
    Scene scene;
    const TextLines lines = linesBeside(screenWidth, screenHeight);
    if (!lines.empty())
        describeLegendBand(scene, {0, 0, width, height}, lines, zoom, false);
    return sceneJson(scene);
}
