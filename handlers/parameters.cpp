#include "parameters.h"

#include "model/constants.h"
#include "model/numbertext.h"
#include "ratioinuse.h"
#include "windowoperations.h"

#include <cmath>

namespace korvelian {

namespace {

double scrollParameter(WindowOperations& ops, ScrollBar bar)
{
    return static_cast<double>(ops.scrollValue(bar)) / kScrollScale;
}

} // namespace

Parameter readParameters(WindowOperations& ops, const RatioInUse& ratio)
{
    Parameter p;
    p.phaseX = scrollParameter(ops, ScrollBar::PhaseX);
    p.amplitudeX = scrollParameter(ops, ScrollBar::AmplitudeX);
    p.phaseY = scrollParameter(ops, ScrollBar::PhaseY);
    p.numerator = textNumber(ops.text(TextBox::Numerator));
    p.denominator = textNumber(ops.text(TextBox::Denominator));
    p.amplitudeY = scrollParameter(ops, ScrollBar::AmplitudeY);
    if (ratio.refused) {
        p.numerator = ratio.numerator;
        p.denominator = ratio.denominator;
    }
    if (ratio.textbook) {
        p.phaseY = textbookPhaseY(p.phaseY, p.numerator, p.denominator);
        p.textbook = true;
    }
    return p;
}

bool isFinite(const Point& point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

} // namespace korvelian
