#pragma once

#include "figurepoints.h"

#include <vector>

namespace korvelian {

class HintLine;
class WindowOperations;
struct FormVariables;

// Draws the whole closed figure over the axes, K x periods long, K read from txtkgV.
class FigurePlotter
{
public:
    FigurePlotter(WindowOperations& ops, FormVariables& variables, HintLine& hint);

    void redraw();

private:
    void trace(double end);

    WindowOperations& m_ops;
    FormVariables& m_vars;
    HintLine& m_hint;
    // Kept between drawings: a drag redraws the same count on every Scroll event.
    std::vector<FloatPoint> m_points;
};

} // namespace korvelian
