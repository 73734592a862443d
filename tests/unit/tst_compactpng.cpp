#include "picture/compactimage.h"
#include "picture/pngencoder.h"
#include "tests/testregistry.h"

#include <QTest>

#include <cstring>
#include <functional>

using namespace korvelian;

namespace {

// An image of 32-bit pixels painted by paint(x, y); its rows are wider than the stride Qt
// would give a narrower format, so that a wrong in-place stride shows.
QImage picture(int width, int height, const std::function<QRgb(int, int)>& paint)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, paint(x, y));
    }
    return image;
}

} // namespace

class TestCompactPng : public QObject
{
    Q_OBJECT

private slots:
    void decodesToTheSamePixels_data();
    void decodesToTheSamePixels();
};

void TestCompactPng::decodesToTheSamePixels_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QImage::Format>("compact");
    auto ramp = [](int colours, bool grey) {
        return picture(37, 29, [=](int x, int y) {
            const int i = (x + 37 * y) % colours;
            return grey ? qRgb(i, i, i) : qRgb(i % 256, i / 256 * 40, 7);
        });
    };
    // clang-format off
    QTest::newRow("a worksheet's black and white") << picture(33, 17, [](int x, int y) { return (x * y) % 5 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }) << QImage::Format_Grayscale8;
    QTest::newRow("all 256 greys") << ramp(256, true) << QImage::Format_Grayscale8;
    QTest::newRow("one pixel of colour among greys") << picture(20, 20, [](int x, int y) { return x == 19 && y == 19 ? qRgb(5, 5, 9) : qRgb(x, x, x); }) << QImage::Format_Indexed8;
    QTest::newRow("256 colours") << ramp(256, false) << QImage::Format_Indexed8;
    QTest::newRow("257 colours: kept at 32 bits") << ramp(257, false) << QImage::Format_RGB32;
    QTest::newRow("one colour") << picture(1, 1, [](int, int) { return qRgb(200, 10, 10); }) << QImage::Format_Indexed8;
    // clang-format on
}

void TestCompactPng::decodesToTheSamePixels()
{
    QFETCH(QImage, image);
    QFETCH(QImage::Format, compact);
    const QImage original = image.copy();
    QImage work = image.copy();
    const QImage made = compactImage(work);
    QCOMPARE(made.format(), compact);
    QCOMPARE(made.convertToFormat(QImage::Format_RGB32), original);
    QImage decoded;
    QVERIFY(decoded.loadFromData(encodePng(made), "PNG"));
    QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), original);
    // Painted in bands of four rows, the file is the same, byte for byte: the colour after
    // greys and the 257th colour both come only after the first band.
    const QByteArray banded = encodePngBands(original.size(), 4, [&](QImage& band, int top) {
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(band.scanLine(y), original.constScanLine(top + y), band.bytesPerLine());
    });
    QCOMPARE(banded, encodePng(made));
}

KORVELIAN_PLAIN_TEST(compactpng, TestCompactPng)
#include "tst_compactpng.moc"
