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

    // Both boxes' Change handlers: the closing count first, then the figure for it.
    void txtZaehler_Change() { change(); }
    void txtNenner_Change() { change(); }

    void cmdplusZaehler_Click() { plus(TextBox::Zaehler); }
    void Command9_Click() { minus(TextBox::Zaehler); }
    void cmdplusNenner_Click() { plus(TextBox::Nenner); }
    void Command10_Click() { minus(TextBox::Nenner); }

private:
    void change();
    void plus(TextBox box);
    void minus(TextBox box);
    void write(TextBox box, double value);
    void refuse(const char* message);

    WindowOperations& m_ops;
    FigurePlotter& m_plotter;
    // The hint shown before an entry was refused, put back once the entry is valid again.
    std::string m_hintBeforeRefusal;
    const char* m_refusal = nullptr;
};

} // namespace korvelian
