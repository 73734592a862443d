#include "figureplotter.h"

#include "model/constants.h"
#include "formvariables.h"
#include "model/figurepoints.h"
#include "hintline.h"
#include "messages.h"
#include "model/numbertext.h"
#include "parameters.h"
#include "windowoperations.h"

#include <cmath>

namespace korvelian {

FigurePlotter::FigurePlotter(WindowOperations& ops, FormVariables& variables, HintLine& hint)
    : m_ops(ops), m_vars(variables), m_hint(hint)
{
}

void FigurePlotter::redraw()
{
    // txtkgV can be typed into. A count above the largest closing count would mean billions
    // of points, and a negative one (a minus sign read as -0 too, as in "-0,5") no point or
    // a stub but an empty screen, so both are refused before anything on the screen changes.
    const double typed = textNumber(m_ops.text(TextBox::ClosingCount));
    if (!(typed <= kLargestWhole) || std::signbit(typed)) {
        m_hint.show(HintLine::Cause::Figure, std::signbit(typed) ? kKgvNegative : kKgvTooLarge);
        return;
    }

    m_ops.clear(Picture::Screen);
    m_ops.setFrame(Picture::Screen, -kScreenEdge, -kScreenEdge, kScreenEdge, kScreenEdge);
    m_ops.drawSegment(Picture::Screen, -2, 0, 2, 0, palette::kAxes);
    m_ops.drawSegment(Picture::Screen, 0, -2, 0, 2, palette::kAxes);

    const double k = textNumber(m_ops.text(TextBox::ClosingCount));
    trace(loopEnd(k));
}

void FigurePlotter::trace(double end)
{
    FormVariables& v = m_vars;
    v.t = 0;
    if (!(v.t <= end))
        return;

    // No event can run during a drawing, so the controls read for the first point hold
    // for every point of it.
    const Parameter p = readParameters(m_ops, v.ratio);
    const FigureRun run = figureRun(p, end);
    m_ops.drawFigure(Picture::Screen, p, end, palette::kFigure);

    // What the loop leaves behind is computed exactly, not from the drawing's points.
    v.t = run.t;
    if (run.count > 0) {
        const Point point = deflection(run.lastT, p);
        v.x = point.x;
        v.y = point.y;
    }
    // Where the formulas give no number (a denominator of 0), the figure ends there.
    if (run.stoppedAtNonFinite)
        m_hint.show(HintLine::Cause::Figure, p.denominator == 0 ? kDenominatorZero : kNotDrawable);
    else
        m_hint.mend(HintLine::Cause::Figure);
}

} // namespace korvelian
