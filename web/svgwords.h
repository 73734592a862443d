#pragma once

#include "model/palette.h"
#include "scene/scene.h"

#include <string>
#include <vector>

// The words an SVG file is written in: numbers, escaped text, colours, fonts and the runs of
// the core's rich text.
namespace korvelian::svg {

// Six significant digits, as the desktop's files write their numbers.
std::string num(double value);
std::string escaped(const std::string& text);
std::string colour(Colour rgb);
// A fill or stroke attribute with its opacity where the colour lets anything through.
std::string paint(const char* what, Rgba c);
std::string fontAttributes(const Font& font, double size);

// Rich text as the core writes it (i, sub, br, div, a few entities) in lines of runs, their
// text escaped for the file.
struct Run
{
    std::string text;
    bool italic = false;
    bool sub = false;
};
std::vector<std::vector<Run>> richLines(const std::string& html);

} // namespace korvelian::svg
