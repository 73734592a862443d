#include "picture/changedtiles.h"
#include "tests/testregistry.h"

#include <QImage>
#include <QTest>

using namespace korvelian;

class TestChangedTiles : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheTilesOfChangedPixels_data();
    void onlyTheTilesOfChangedPixels();
};

using Rects = std::vector<QRect>;

void TestChangedTiles::onlyTheTilesOfChangedPixels_data()
{
    QTest::addColumn<QSize>("size");
    // Pixels given another colour in the second image.
    QTest::addColumn<QList<QPoint>>("changed");
    QTest::addColumn<Rects>("tiles");
    const QSize odd(50, 37);
    QTest::newRow("equal images") << odd << QList<QPoint>{} << Rects{};
    QTest::newRow("the first pixel") << odd << QList<QPoint>{{0, 0}} << Rects{{0, 0, 16, 16}};
    QTest::newRow("the last pixel, in a tile cut by both edges")
        << odd << QList<QPoint>{{49, 36}} << Rects{{48, 32, 2, 5}};
    QTest::newRow("either side of a tile's edge: a run of two tiles")
        << odd << QList<QPoint>{{15, 20}, {16, 20}} << Rects{{0, 16, 32, 16}};
    QTest::newRow("a tile's last row and the next band's first")
        << odd << QList<QPoint>{{40, 15}, {40, 16}} << Rects{{32, 0, 16, 16}, {32, 16, 16, 16}};
    QTest::newRow("two tiles apart in one band: two runs")
        << odd << QList<QPoint>{{1, 33}, {40, 36}} << Rects{{0, 32, 16, 5}, {32, 32, 16, 5}};
}

// Every changed pixel lies in a tile given, and every tile given holds a changed pixel.
void TestChangedTiles::onlyTheTilesOfChangedPixels()
{
    QFETCH(QSize, size);
    QFETCH(QList<QPoint>, changed);
    QFETCH(Rects, tiles);
    QImage before(size, QImage::Format_RGB32);
    before.fill(qRgb(0, 0, 0));
    QImage after = before.copy();
    for (const QPoint& at : changed)
        after.setPixel(at, qRgb(0, 0, 1));
    QCOMPARE(changedTiles(before, after, 16), tiles);
}

KORVELIAN_GUI_TEST(changedtiles, TestChangedTiles)
#include "tst_changedtiles.moc"
