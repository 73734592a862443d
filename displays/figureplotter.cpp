#include "figureplotter.h"

#include "constants.h"
#include "formvariables.h"
#include "messages.h"
#include "numbertext.h"
#include "parameters.h"
#include "windowoperations.h"

namespace korvelian {

namespace {

constexpr Colour kAxisColour = rgb(150, 150, 255);
constexpr Colour kFigureColour = rgb(255, 255, 255);

} // namespace

FigurePlotter::FigurePlotter(WindowOperations& ops, FormVariables& variables)
    : m_ops(ops), m_vars(variables)
{
}

void FigurePlotter::Command1_Click()
{
    // txtkgV can be typed into. A count above the largest closing count would mean billions
    // of points, so it is refused before anything on the screen changes.
    if (!(textNumber(m_ops.text(TextBox::kgV)) <= kLargestWhole)) {
        m_ops.setText(TextBox::Hilfe, kKgvTooLarge);
        return;
    }

    m_ops.cls(Picture::Bildschirm);
    m_ops.scale(Picture::Bildschirm, -2, -2, 2, 2);
    m_ops.line(Picture::Bildschirm, -2, 0, 2, 0, kAxisColour);
    m_ops.line(Picture::Bildschirm, 0, -2, 0, 2, kAxisColour);

    const double k = textNumber(m_ops.text(TextBox::kgV));
    trace((k + k) * kHalfTurn + kEndMargin);
}

void FigurePlotter::trace(double end)
{
    FormVariables& v = m_vars;
    v.t = 0;
    if (!(v.t <= end))
        return;

    // No event can run during a drawing, so the controls read for the first point hold
    // for every point of it.
    const Parameter p = readParameters(m_ops);
    for (; v.t <= end; v.t += kLoopStep) {
        const Point point = Auslenkung(v.t, p);
        if (!isFinite(point)) {
            m_ops.setText(TextBox::Hilfe, p.n == 0 ? kNennerNull : kNotDrawable);
            return;
        }
        v.x = point.x;
        v.y = point.y;
        if (v.t > 0) {
            m_ops.line(Picture::Bildschirm, static_cast<float>(v.x), static_cast<float>(v.y),
                       static_cast<float>(v.xAlt), static_cast<float>(v.yAlt), kFigureColour);
        }
        v.xAlt = v.x;
        v.yAlt = v.y;
    }
}

} // namespace korvelian
