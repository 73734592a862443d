#include "smileyicon.h"

#include <QDir>

namespace korvelian {

QIcon smileyIcon()
{
    // Each image's size is read from the image itself.
    QIcon icon;
    const QDir icons(":/icons");
    for (const QString& file : icons.entryList(QDir::Files))
        icon.addFile(icons.filePath(file));
    return icon;
}

} // namespace korvelian
