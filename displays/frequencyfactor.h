#pragma once

#include "windowoperations.h"

#include <string>

namespace korvelian {

class FigurePlotter;

// Numerator and denominator boxes with their buttons, and the closing count in txtkgV.
class FrequencyFactor
{
public:
    FrequencyFactor(WindowOperations& ops, FigurePlotter& plotter);

    // After a change of either box: the closing count first, then the figure for it.
    void recount();
    // The "+" and "-" buttons: they only write the box, whose change does the rest.
    void increment(TextBox box);
    void decrement(TextBox box);

private:
    void write(TextBox box, double value);
    void refuse(const char* message);

    WindowOperations& m_ops;
    FigurePlotter& m_plotter;
    // The hint shown before an entry was refused, put back once the entry is valid again.
    std::string m_hintBeforeRefusal;
    const char* m_refusal = nullptr;
};

} // namespace korvelian
