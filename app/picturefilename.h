#pragma once

#include "scene/overviewplate.h"

#include <QString>

#include <optional>
#include <utility>

namespace korvelian {

struct RatioInUse;
struct ScreenPicture;

// The names proposed for what is saved or printed, made in one place so that the pictures of
// one ratio sort side by side in a folder: "korvelian-3-2.png", "zeitverlaeufe-3-2.png",
// "korvelian-tafel-phasen-3-2.png".
class PictureFileName
{
public:
    // The screen's picture by the ratio of its last figure; "korvelian.png" before any.
    static QString screen(const ScreenPicture& picture, const QString& ending);
    // The time signals of the screen's figure.
    static QString timeSignals(const ScreenPicture& picture, const QString& ending);
    // The plate of ratios has one name; the plate of phases names its ratio.
    static QString plate(OverviewPlate::Form form, const RatioInUse& ratio, const QString& ending);

private:
    // numerator and denominator
    using Ratio = std::pair<double, double>;
    static std::optional<Ratio> figureRatio(const ScreenPicture& picture);
    static QString named(QString stem, const std::optional<Ratio>& ratio, const QString& ending);
};

} // namespace korvelian
