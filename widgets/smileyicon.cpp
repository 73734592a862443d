#include "smileyicon.h"

#include <QDir>
#include <QImageReader>
#include <QPixmap>

namespace korvelian {

QList<QImage> smileyImages()
{
    // Read as PNG and nothing else: a reader allowed to guess the format loads every image
    // format library the toolkit has, to ask each, even when told the format; that took a
    // tenth of the start.
    QList<QImage> images;
    const QDir icons(":/icons");
    for (const QString& file : icons.entryList(QDir::Files)) {
        QImageReader reader(icons.filePath(file), "png");
        reader.setAutoDetectImageFormat(false);
        images << reader.read();
    }
    return images;
}

QIcon smileyIcon(const QList<QImage>& images)
{
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

} // namespace korvelian
