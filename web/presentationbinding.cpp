// "Präsentation" on the page: the screen's letters and graticule for the room, and the margin
// beside the window described as the desktop's margin is, from the same scene.
#include "core.h"
#include "form/pixels.h"
#include "scene/presentationpanel.h"
#include "scene/drawing.h"
#include "scene/timesignals.h"

using namespace korvelian;

// Presenting or not: the graticule bright, the legend in the margin, and the values' capitals
// no lower than the margin's, on a page displayHeight pixels high at this zoom (the screen's
// picture is measured at 100 %).
KORV_EXPORT(setPresenting) void korvSetPresenting(int on, double displayHeight, double zoom)
{
    ScreenPicture& screen = core().window.screen();
    screen.legendElsewhere = on != 0;
    screen.brightGraticule = on != 0;
    screen.displayHeight = on != 0 && zoom > 0 ? displayHeight / zoom : 0;
    hostChanged(PageHost::Screen | PageHost::Overlays);
}

// The margin of this logical size on a page displayHeight pixels high: the lesson's step, the
// time signals where they are on, the reading aid's legend where it is on.
KORV_EXPORT(presentation)
const char* korvPresentation(double width, double height, double displayHeight, double zoom,
                             double ratio)
{
    Core& c = core();
    const ScreenPicture& screen = c.window.screen();
    PresentationContent content;
    content.heading = lessonHeading();
    content.formulasHidden = c.valuesHidden;
    content.legend = screen.legendLines();
    const DrawOp* figure = lastFigure(screen.drawing);
    if (c.timeSignals && figure) {
        ScreenPicture atHundred = screen;
        atHundred.zoom = 1;
        content.timeSignals = sceneOf(*figure, atHundred.mappingOnto(figure->frame, {0, 0, 1, 1}));
        content.timeSignals->beamT = c.window.beamT();
    }
    Scene scene;
    describePresentation(scene, c.metrics, {0, 0, width, height}, content, displayHeight,
                         linePixels(zoom) / ratio, ratio);
    return sceneJson(scene);
}

// The margin's least share of the page's width and the letters' least cap height, as shares.
KORV_EXPORT(presentationShares) const char* korvPresentationShares()
{
    Core& c = core();
    c.json.clear();
    c.json.begin('{').field("margin", kPresentationMarginShare);
    c.json.field("cap", kPresentationCapShare).end('}');
    return written(c.json);
}
