#include "model/barvalues.h"
#include "model/constants.h"
#include "picture/pictureexporter.h"
#include "picture/scenepainter.h"
#include "scene/geometry.h"
#include "scene/screenpicture.h"
#include "tests/testregistry.h"

#include <QImage>
#include <QRectF>
#include <QTest>

#include <random>

using namespace korvelian;

class TestScene : public QObject
{
    Q_OBJECT

private slots:
    void rectanglesAsThePainterHasThem();
    void describedPictureAsItWasPainted();
};

// A description places its texts and shapes with its own rectangles; where they differ from
// the painter's by a rounding, a picture moves by a pixel.
void TestScene::rectanglesAsThePainterHasThem()
{
    std::mt19937 random(11);
    // Whole and half pixels, negative sizes and rectangles without extent among them.
    std::uniform_int_distribution<int> halves(-40, 40);
    const auto value = [&] { return halves(random) / 2.0; };
    for (int i = 0; i < 20000; ++i) {
        const RectF a{value(), value(), value(), value()};
        const RectF b{value(), value(), value(), value()};
        const QRectF qa = toQt(a);
        const QRectF qb = toQt(b);
        const QString which = QString("(%1 %2 %3 %4) and (%5 %6 %7 %8)")
                                  .arg(a.x)
                                  .arg(a.y)
                                  .arg(a.width)
                                  .arg(a.height)
                                  .arg(b.x)
                                  .arg(b.y)
                                  .arg(b.width)
                                  .arg(b.height);
        QVERIFY2(toQt(a.normalized()) == qa.normalized(), qPrintable(which));
        QVERIFY2(toQt(a.intersected(b)) == qa.intersected(qb), qPrintable(which));
        QVERIFY2(a.intersects(b) == qa.intersects(qb), qPrintable(which));
        QVERIFY2(toQt(a.toWhole()).toRect() == qa.toRect(), qPrintable(which));
        QVERIFY2(toQt(a.adjusted(1, -2, 3, -4)) == qa.adjusted(1, -2, 3, -4), qPrintable(which));
    }
}

// The screen at amplitudes 2, φy = 60° with the graticule, the reading aid and the values, as
// --export wrote it before its pictures were described apart from their painting: every pixel
// as it was.
void TestScene::describedPictureAsItWasPainted()
{
    const QImage before(QStringLiteral(KORVELIAN_TEST_DATA "/described-amplitudes-2.png"));
    QVERIFY(!before.isNull());
    const Parameter p{2, 0, 2, barUnits(phaseBarValue(60)), 1, 1};
    ScreenPicture picture;
    picture.size = {441, 441};
    picture.frame = kExampleFrame;
    picture.drawing = screenDrawing(p, loopEnd(1));
    picture.graticule = picture.readingAid = picture.values = true;
    const QImage now = PictureExporter::image(picture, 441, false);
    QCOMPARE(now.size(), before.size());
    QCOMPARE(now, before.convertToFormat(now.format()));
}

KORVELIAN_GUI_TEST(scene, TestScene)
#include "tst_scene.moc"
