#pragma once

#include "figurepoints.h"

#include <vector>

namespace korvelian {

class WindowOperations;
struct FormVariables;

// Draws the whole closed figure over the axes, K x periods long, K read from txtkgV.
class FigurePlotter
{
public:
    FigurePlotter(WindowOperations& ops, FormVariables& variables);

    void redraw();

private:
    void trace(double end);

    WindowOperations& m_ops;
    FormVariables& m_vars;
    // Kept between drawings: a drag redraws the same count on every Scroll event.
    std::vector<FloatPoint> m_points;
};

} // namespace korvelian
