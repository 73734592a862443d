#include "model/barvalues.h"
#include "model/constants.h"
#include "model/kgv.h"
#include "picture/picturebands.h"
#include "picture/pictureexporter.h"
#include "scene/screenpicture.h"
#include "tests/testregistry.h"

#include <QImage>
#include <QTest>

#include <algorithm>
#include <cstring>

using namespace korvelian;

class TestPictureBands : public QObject
{
    Q_OBJECT

private slots:
    void bandsMakeTheWholePicture_data();
    void bandsMakeTheWholePicture();
};

void TestPictureBands::bandsMakeTheWholePicture_data()
{
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<double>("amplitude");
    QTest::addColumn<bool>("annotated");
    QTest::addColumn<bool>("worksheet");
    QTest::addColumn<bool>("yUp");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("rows");
    // Bands a few rows high: the axes, the figure's thick line, every text of the values and
    // the reading aid and the legend beneath cross band edges.
    QTest::newRow("start, 3-pixel line, bands of 7")
        << 1 << 1 << 1.0 << false << false << false << 1100 << 7;
    QTest::newRow("3 : 2, graticule, reading aid, values, bands of 5")
        << 3 << 2 << 1.0 << true << false << false << 900 << 5;
    QTest::newRow("amplitudes 2, legend beneath, worksheet, mirrored, bands of 3")
        << 1 << 1 << 2.0 << true << true << true << 700 << 3;
    QTest::newRow("179 : 183, 1-pixel line, bands of 1")
        << 179 << 183 << 2.0 << false << false << false << 441 << 1;
}

// A file's bands are the copy's image row for row, whatever crosses their edges.
void TestPictureBands::bandsMakeTheWholePicture()
{
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(double, amplitude);
    QFETCH(bool, annotated);
    QFETCH(bool, worksheet);
    QFETCH(bool, yUp);
    QFETCH(int, width);
    QFETCH(int, rows);
    const Parameter p{amplitude,         0,
                      amplitude,         barUnits(phaseBarValue(60)),
                      double(numerator), double(denominator)};
    ScreenPicture picture;
    picture.size = {441, 441};
    picture.frame = kExampleFrame;
    picture.drawing = screenDrawing(p, loopEnd(*kgV(denominator, std::int16_t(numerator))));
    picture.graticule = picture.readingAid = picture.values = annotated;
    picture.yUp = yUp;
    const QImage whole = PictureExporter::image(picture, width, worksheet);
    QImage banded(whole.size(), QImage::Format_RGB32);
    banded.fill(Qt::magenta);
    PictureBands bands(picture, width, worksheet);
    QCOMPARE(bands.size(), whole.size());
    for (int top = 0; top < whole.height(); top += rows) {
        QImage band(width, std::min(rows, whole.height() - top), QImage::Format_RGB32);
        bands.paint(band, top);
        for (int y = 0; y < band.height(); ++y)
            std::memcpy(banded.scanLine(top + y), band.constScanLine(y), band.bytesPerLine());
    }
    QCOMPARE(banded, whole);
}

KORVELIAN_GUI_TEST(picturebands, TestPictureBands)
#include "tst_picturebands.moc"
