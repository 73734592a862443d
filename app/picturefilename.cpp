#include "picturefilename.h"

#include "handlers/ratioinuse.h"
#include "scene/drawing.h"
#include "scene/filenames.h"
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
    return QString::fromStdString(plateFileName(form == OverviewPlate::Form::Phases,
                                                {ratio.numerator, ratio.denominator},
                                                ending.toStdString()));
}

std::optional<PictureFileName::Ratio> PictureFileName::figureRatio(const ScreenPicture& picture)
{
    return korvelian::figureRatio(picture);
}

QString PictureFileName::named(QString stem, const std::optional<Ratio>& ratio,
                               const QString& ending)
{
    return QString::fromStdString(ratioFileName(stem.toStdString(), ratio, ending.toStdString()));
}

} // namespace korvelian
