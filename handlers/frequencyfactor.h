#pragma once

#include "windowoperations.h"

namespace korvelian {

class FigurePlotter;
class HintLine;
struct RatioInUse;

// Numerator and denominator boxes with their buttons, and the closing count in txtkgV.
class FrequencyFactor
{
public:
    FrequencyFactor(WindowOperations& ops, FigurePlotter& plotter, RatioInUse& ratio,
                    HintLine& hint);

    // After a change of either box: the closing count first, then the figure for it.
    void recount();
    // The "+" and "-" buttons: they only write the box, whose change does the rest.
    void increment(TextBox box);
    void decrement(TextBox box);

private:
    void refuse(const char* message, double numerator, double denominator);
    void write(TextBox box, double value);

    WindowOperations& m_ops;
    FigurePlotter& m_plotter;
    RatioInUse& m_ratio;
    HintLine& m_hint;
};

} // namespace korvelian
