#pragma once

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
};

} // namespace korvelian
