#include "filenames.h"

#include "drawing.h"
#include "screenpicture.h"

#include <cstdio>

namespace korvelian {

namespace {

// Up to ten significant digits, as "%g" writes them: 3, 2.5, 32767.
std::string shortNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

} // namespace

std::optional<FileRatio> figureRatio(const ScreenPicture& picture)
{
    const DrawOp* figure = lastFigure(picture.drawing);
    if (!figure || picture.numbersWithheld)
        return std::nullopt;
    return FileRatio(figure->parameters.numerator, figure->parameters.denominator);
}

std::string ratioFileName(std::string stem, const std::optional<FileRatio>& ratio,
                          const std::string& ending)
{
    if (ratio) {
        stem.append(1, '-').append(shortNumber(ratio->first));
        stem.append(1, '-').append(shortNumber(ratio->second));
    }
    return stem.append(1, '.').append(ending);
}

std::string plateFileName(bool phases, const FileRatio& ratio, const std::string& ending)
{
    if (!phases)
        return ratioFileName("korvelian-tafel-verhaeltnisse", std::nullopt, ending);
    return ratioFileName("korvelian-tafel-phasen", ratio, ending);
}

} // namespace korvelian
