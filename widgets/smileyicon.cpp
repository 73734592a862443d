#include "smileyicon.h"

#include <QDir>
#include <QImage>
#include <QPixmap>

namespace korvelian {

QIcon smileyIcon()
{
    // Read as PNG by name: left to find out each file's format, the toolkit loads every image
    // format library it has to ask, which took a tenth of the start.
    QIcon icon;
    const QDir icons(":/icons");
    for (const QString& file : icons.entryList(QDir::Files))
        icon.addPixmap(QPixmap::fromImage(QImage(icons.filePath(file), "PNG")));
    return icon;
}

} // namespace korvelian
