#include "picturefilename.h"

#include "handlers/ratioinuse.h"
#include "scene/drawing.h"
#include "scene/screenpicture.h"

namespace korvelian {

QString PictureFileName::screen(const ScreenPicture& picture, const QString& ending)
{
    return named(QStringLiteral("korvelian"), figureRatio(picture), ending);
}

QString PictureFileName::timeSignals(const ScreenPicture& picture, const QString& ending)
{
    return named(QStringLiteral("zeitverlaeufe"), figureRatio(picture), ending);
}

QString PictureFileName::plate(OverviewPlate::Form form, const RatioInUse& ratio,
                               const QString& ending)
{
    if (form == OverviewPlate::Form::Ratios)
        return named(QStringLiteral("korvelian-tafel-verhaeltnisse"), std::nullopt, ending);
    return named(QStringLiteral("korvelian-tafel-phasen"),
                 Ratio(ratio.numerator, ratio.denominator), ending);
}

std::optional<PictureFileName::Ratio> PictureFileName::figureRatio(const ScreenPicture& picture)
{
    const DrawOp* figure = lastFigure(picture.drawing);
    if (!figure)
        return std::nullopt;
    return Ratio(figure->parameters.numerator, figure->parameters.denominator);
}

QString PictureFileName::named(QString stem, const std::optional<Ratio>& ratio,
                               const QString& ending)
{
    if (ratio) {
        stem += QStringLiteral("-%1-%2").arg(QString::number(ratio->first, 'g', 10),
                                             QString::number(ratio->second, 'g', 10));
    }
    return stem + '.' + ending;
}

} // namespace korvelian
