#include "viewsettings.h"

#include "model/driftstep.h"
#include "handlers/soundcontrol.h"
#include "widgets/zoompolicy.h"

#include <QSettings>

#include <algorithm>
#include <array>

namespace korvelian {

namespace {

constexpr char kZoomKey[] = "ansicht/zoom";
// In the order of ViewOption.
constexpr std::array<const char*, kViewOptions.size()> kOptionKeys{
    {"ansicht/ablesehilfe", "ansicht/y-nach-oben", "ansicht/zeitverlaeufe", "ansicht/nachleuchten",
     "ansicht/phasewandern", "ansicht/werte", "ansicht/raster", "ansicht/feine-kurve",
     "ansicht/lehrbuch"}};
constexpr char kDriftKey[] = "ansicht/wanderdauer";
constexpr char kBaseFrequencyKey[] = "ton/grundfrequenz";
constexpr int kDefaultBaseFrequency = static_cast<int>(SoundControl::kDefaultBaseFrequency);

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "korvelian", "korvelian");
}

const char* key(ViewOption option)
{
    return kOptionKeys[static_cast<std::size_t>(option)];
}

} // namespace

int ViewSettings::zoomPercent()
{
    bool ok = false;
    const int percent = settings().value(kZoomKey, ZoomPolicy::kSmallest).toInt(&ok);
    return ok ? ZoomPolicy::clamped(percent) : ZoomPolicy::kSmallest;
}

void ViewSettings::setZoomPercent(int percent)
{
    settings().setValue(kZoomKey, ZoomPolicy::clamped(percent));
}

bool ViewSettings::option(ViewOption option)
{
    return settings().value(key(option), false).toBool();
}

void ViewSettings::setOption(ViewOption option, bool on)
{
    settings().setValue(key(option), on);
}

double ViewSettings::driftSecondsPerTurn()
{
    const double seconds = settings().value(kDriftKey, kDriftSecondsPerTurn).toDouble();
    // A value from an edited file is never used unless the menu offers it.
    const bool offered =
        std::find(kDriftChoices.begin(), kDriftChoices.end(), seconds) != kDriftChoices.end();
    return offered ? seconds : kDriftSecondsPerTurn;
}

void ViewSettings::setDriftSecondsPerTurn(double seconds)
{
    settings().setValue(kDriftKey, seconds);
}

int ViewSettings::baseFrequency()
{
    const int hertz = settings().value(kBaseFrequencyKey, kDefaultBaseFrequency).toInt();
    return std::ranges::find(kBaseFrequencies, hertz) != kBaseFrequencies.end()
               ? hertz
               : kDefaultBaseFrequency;
}

void ViewSettings::setBaseFrequency(int hertz)
{
    settings().setValue(kBaseFrequencyKey, hertz);
}

} // namespace korvelian
