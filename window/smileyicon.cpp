#include "smileyicon.h"

namespace korvelian {

QIcon smileyIcon()
{
    QIcon icon;
    icon.addFile(":/icons/org.korvelian.Korvelian-16.png", QSize(16, 16));
    icon.addFile(":/icons/org.korvelian.Korvelian-32.png", QSize(32, 32));
    return icon;
}

} // namespace korvelian
