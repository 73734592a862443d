#include "styleimages.h"

#include <QDateTime>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>

#include <array>

namespace korvelian {

namespace {

// The style's images that the main window's first paint reads.
constexpr std::array kStyleImages = {
    ":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png",
};

// A number as the toolkit writes it into a cache key: its bytes in memory order, each as two
// hex digits, the low one first.
template <typename Number> QString cacheHex(Number value)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    const auto* bytes = reinterpret_cast<const unsigned char*>(&value);
    QString text;
    for (std::size_t i = 0; i < sizeof(Number); ++i) {
        text += QLatin1Char(kDigits[bytes[i] & 0xf]);
        text += QLatin1Char(kDigits[bytes[i] >> 4]);
    }
    return text;
}

// The key QPixmap's own loading looks for first: the file's path, age and size, and the kind of
// pixmap (0, a plain one).
QString pixmapKey(const QFileInfo& file)
{
    return QStringLiteral("qt_pixmap") + file.absoluteFilePath() +
           cacheHex(static_cast<unsigned>(file.lastModified().toSecsSinceEpoch())) +
           cacheHex(static_cast<quint64>(file.size())) + cacheHex(0U);
}

} // namespace

void preloadStyleImages()
{
    for (const char* name : kStyleImages) {
        const QFileInfo file(QString::fromLatin1(name));
        QImageReader reader(file.filePath(), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull())
            QPixmapCache::insert(pixmapKey(file), QPixmap::fromImage(image));
    }
}

} // namespace korvelian
