#include "model/constants.h"
#include "picture/changedtiles.h"
#include "picture/drawingrenderer.h"
#include "picture/scenepainter.h"
#include "scene/screenpicture.h"
#include "tests/testregistry.h"

#include <QImage>
#include <QTest>

#include <random>

using namespace korvelian;

class TestChangedTiles : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheTilesOfChangedPixels_data();
    void onlyTheTilesOfChangedPixels();
    void theTilesOfTwoPicturesHoldEveryChangedOne();
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

// Every changed pixel lies in a tile given, and every tile given holds a changed pixel; the
// same tiles hold the pixels of a layer on a transparent ground, however faint.
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
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    for (const QPoint& at : changed)
        layer.setPixel(at, qRgba(0, 0, 0, 1));
    QCOMPARE(occupiedTiles(layer, 16).runs(), tiles);
}

// A step of a drifting phase, or of any entry, compares only the tiles where the two pictures
// can differ: it must find every tile a whole comparison finds, at any size, zoom and ratio, line
// width, orientation, ground and fineness, and after a preview.
void TestChangedTiles::theTilesOfTwoPicturesHoldEveryChangedOne()
{
    std::mt19937 random(1211);
    auto between = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    auto chance = [&] { return std::bernoulli_distribution(0.5)(random); };
    DrawingRenderer renderer;
    ScenePainter scenePainter;
    for (int round = 0; round < 60; ++round) {
        ScreenPicture earlier;
        earlier.size = {std::round(between(120, 400)), std::round(between(120, 400))};
        earlier.frame = kExampleFrame;
        earlier.zoom = std::vector{1.0, 1.5, 2.21, 3.0}[round % 4];
        earlier.yUp = chance();
        earlier.fine = round % 5 == 0;
        earlier.graticule = chance();
        earlier.afterglow = round % 7 == 0;
        const qreal ratio = round / 3 % 2 == 0 ? 1 : 2;
        Parameter p{between(0.1, 2),   between(0, kTurn),         between(0.1, 2),
                    between(0, kTurn), std::floor(between(1, 6)), std::floor(between(1, 6))};
        // Too many points to follow one by one now and then: bounded by the amplitudes.
        const double end = loopEnd(round % 13 == 6 ? 1200 : 30);
        earlier.drawing = screenDrawing(p, end);
        ScreenPicture later = earlier;
        // The phase drifts a step, or an amplitude or the ratio is entered anew.
        switch (round % 3) {
        case 0:
            p.phaseY += between(0.005, 0.1);
            break;
        case 1:
            p.amplitudeX = between(0.1, 2);
            break;
        default:
            p.numerator = std::fmod(p.numerator, 5) + 1;
        }
        later.drawing = screenDrawing(p, end);
        if (round % 11 == 0)
            later.drawing.push_back(
                {DrawOp::Kind::Box, kExampleFrame, -0.3, 0.2, 0.1, 0.9, palette::kFigure, {}, 0});
        const QSize device = (QSizeF(earlier.size.width, earlier.size.height) * ratio).toSize();
        const bool preview = round % 4 == 3;
        QImage before(device, QImage::Format_RGB32);
        QImage after(device, QImage::Format_RGB32);
        before.setDevicePixelRatio(ratio);
        after.setDevicePixelRatio(ratio);
        DrawLimits limits;
        limits.blocks = preview ? 1 : limits.blocks;
        renderAreaImage(before, earlier, renderer, scenePainter, limits);
        renderAreaImage(after, later, renderer, scenePainter);
        // Single pixels too: the tiles must not lean on a tile's slack.
        for (const int tile : {16, 1}) {
            const std::optional<TileMask> within =
                differingTiles(earlier, !preview, later, true, device, ratio, tile);
            QVERIFY(within);
            const Rects whole = changedTiles(before, after, tile);
            QVERIFY2(!whole.empty(), qPrintable(QString::number(round)));
            QCOMPARE(changedTiles(before, after, *within), whole);
        }
    }
}

KORVELIAN_GUI_TEST(changedtiles, TestChangedTiles)
#include "tst_changedtiles.moc"
