#include "parameters.h"

#include "constants.h"
#include "numbertext.h"
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
    p.p1 = scrollParameter(ops, ScrollBar::HScroll1);
    p.a1 = scrollParameter(ops, ScrollBar::Amp1);
    p.p2 = scrollParameter(ops, ScrollBar::Phase);
    p.z = textNumber(ops.text(TextBox::Zaehler));
    p.n = textNumber(ops.text(TextBox::Nenner));
    p.a2 = scrollParameter(ops, ScrollBar::Amp2);
    if (ratio.refused) {
        p.z = ratio.zaehler;
        p.n = ratio.nenner;
    }
    return p;
}

bool isFinite(const Point& point)
{
    return std::isfinite(point.x) && std::isfinite(point.y);
}

} // namespace korvelian
