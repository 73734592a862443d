#include "viewsettings.h"

#include "soundcontrol.h"
#include "zoompolicy.h"

#include <QSettings>

#include <algorithm>

namespace korvelian {

namespace {

constexpr char kZoomKey[] = "ansicht/zoom";
constexpr char kReadingAidKey[] = "ansicht/ablesehilfe";
constexpr char kYUpKey[] = "ansicht/y-nach-oben";
constexpr char kBaseFrequencyKey[] = "ton/grundfrequenz";
constexpr int kDefaultBaseFrequency = static_cast<int>(SoundControl::kDefaultBaseFrequency);

QSettings settings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "korvelian", "korvelian");
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

bool ViewSettings::readingAid()
{
    return settings().value(kReadingAidKey, false).toBool();
}

void ViewSettings::setReadingAid(bool on)
{
    settings().setValue(kReadingAidKey, on);
}

bool ViewSettings::yUp()
{
    return settings().value(kYUpKey, false).toBool();
}

void ViewSettings::setYUp(bool on)
{
    settings().setValue(kYUpKey, on);
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
