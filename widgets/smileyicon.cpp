#include "smileyicon.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

namespace korvelian {

QIcon smileyIcon()
{
    // Read as PNG and nothing else: a reader allowed to guess the format loads every image
    // format library the toolkit has, to ask each, even when told the format; that took a
    // tenth of the start.
    QIcon icon;
    const QDir icons(":/icons");
    for (const QString& file : icons.entryList(QDir::Files)) {
        QImageReader reader(icons.filePath(file), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace korvelian
