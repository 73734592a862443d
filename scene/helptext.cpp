#include "helptext.h"

#include "form/layout.h"
#include "form/zoomsteps.h"
#include "model/barvalues.h"
#include "model/constants.h"
#include "model/deflection.h"
#include "model/kgv.h"
#include "model/numbertext.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace korvelian {

std::string withHelpNumbers(std::string text, int fittingZoom)
{
    const auto number = [](double value, int decimals) {
        return germanNumber(value, 'f', decimals);
    };
    const int phaseEnd = control(ScrollBar::PhaseY).maximum;
    const int kgv = closingCount(3, 2).value;
    const std::vector<std::pair<std::string, std::string>> numbers = {
        {"amplitudeMax", number(barUnits(control(ScrollBar::AmplitudeX).maximum), 0)},
        {"screenEdge", number(kScreenEdge, 0)},
        {"phaseMaxRad", number(barUnits(phaseEnd), 2)},
        {"phaseMaxDeg", number(phaseDegrees(phaseEnd), 1)},
        {"phaseStep", number(barUnits(1), 2)},
        {"largestWhole", std::to_string(kLargestWhole)},
        {"examplePhase", number(kHelpEllipse.phaseY, 2) + " rad ≈ " +
                             number(phaseDegrees(barValue(kHelpEllipse.phaseY)), 1) + "°"},
        {"parabolaOwnPhase",
         number(yOscillationPhase(kHelpEllipse.phaseY, 2, 1) * 180 / std::numbers::pi, 1)},
        {"kgv32", std::to_string(kgv)},
        {"kgv32times", std::to_string(kgv / 2)},
        {"speedFull", number(kSpeedBarEnd, 1)},
        {"startStep", number(kStartStep, 1)},
        {"startFrames",
         std::to_string(static_cast<int>(std::ceil(2 * std::numbers::pi / kStartStep)))},
        {"loopStep", number(kLoopStep, 1)},
        {"zoomStep", std::to_string(kZoomStep)},
        {"zoomSmallest", std::to_string(kZoomSmallest)},
        {"zoomLargest", std::to_string(kZoomLargest)},
        {"zoomFits", std::to_string(fittingZoom ? fittingZoom : kZoomLargest)},
    };
    for (const auto& [name, value] : numbers) {
        const std::string mark = "{{" + name + "}}";
        for (std::size_t at = text.find(mark); at != std::string::npos;
             at = text.find(mark, at + value.size()))
            text.replace(at, mark.size(), value);
    }
    return text;
}

} // namespace korvelian
