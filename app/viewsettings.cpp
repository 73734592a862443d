#include "viewsettings.h"

#include "zoompolicy.h"

#include <QSettings>

namespace korvelian {

namespace {

constexpr char kZoomKey[] = "ansicht/zoom";
constexpr char kReadingAidKey[] = "ansicht/ablesehilfe";
constexpr char kYUpKey[] = "ansicht/y-nach-oben";

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

} // namespace korvelian
