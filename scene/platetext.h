#pragma once

#include "model/deflection.h"
#include "model/numbertext.h"
#include "model/palette.h"
#include "texts.h"

#include <string>
#include <vector>

// The words the plate and its worksheets share, so that a sheet names a setting exactly as the
// plate beside it does.
namespace korvelian::platetext {

inline const std::string kSeparator = " &nbsp;·&nbsp; ";

inline Colour textColour(bool worksheet)
{
    return worksheet ? palette::kBlack : palette::kPlateText;
}

inline std::string ratioText(double z, double n)
{
    return germanNumber(z) + " : " + germanNumber(n);
}

inline std::string frequencies()
{
    return indexed("f", "y") + " : " + indexed("f", "x");
}

inline std::string amplitudes(const Parameter& p)
{
    return indexed("A", "x") + " = " + germanNumber(p.amplitudeX, 'f', 2) + kSeparator +
           indexed("A", "y") + " = " + germanNumber(p.amplitudeY, 'f', 2);
}

inline std::string joined(const std::vector<std::string>& lines, const std::string& separator)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i > 0 ? separator : "") + lines[i];
    return text;
}

} // namespace korvelian::platetext
