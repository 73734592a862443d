// "Vorhersage" and "Werte verbergen" for the page: the desktop's prediction (lesson/prediction)
// kept by the page's window, the figure hidden while the class predicts it.
#include "core.h"
#include "lesson/classroomwords.h"
#include "lesson/prediction.h"

using namespace korvelian;

// The prediction's words and state: {modes: [caption], resolve, hideValues, mode, shown}.
KORV_EXPORT(prediction) const char* korvPrediction()
{
    Core& c = core();
    Prediction& prediction = c.window.prediction();
    c.json.clear();
    c.json.begin('{').field("caption", classroom::kPrediction).key("modes").begin('[');
    for (const char* mode : classroom::kPredictionModes)
        c.json.string(mode);
    c.json.end(']')
        .field("resolve", classroom::kResolve)
        .field("hideValues", classroom::kHideValues);
    c.json.field("mode", static_cast<int>(prediction.mode()));
    c.json.field("shown", prediction.figureShown()).field("valuesHidden", c.valuesHidden);
    c.json.end('}');
    return written(c.json);
}

// 0: without prediction, 1: the beam draws the figure, 2: the time signals only until
// "Auflösen"; the page turns the time signals on for the last.
KORV_EXPORT(setPrediction) void korvSetPrediction(int mode)
{
    if (mode < 0 || mode > 2)
        return;
    core().window.prediction().setMode(static_cast<Prediction::Mode>(mode));
    core().window.showPrediction();
}

KORV_EXPORT(resolvePrediction) void korvResolvePrediction()
{
    core().window.prediction().resolve();
    core().window.showPrediction();
}

KORV_EXPORT(setValuesHidden) void korvSetValuesHidden(int hidden)
{
    core().valuesHidden = hidden != 0;
    hostChanged(PageHost::Screen | PageHost::Overlays);
}
