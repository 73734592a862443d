#include "picture/scenepainter.h"
#include "tests/testregistry.h"

#include <QImage>
#include <QPainter>
#include <QTest>

#include <limits>
#include <random>

using namespace korvelian;

class TestEllipseStamps : public QObject
{
    Q_OBJECT

private slots:
    void stampedAsPaintedOneByOne_data();
    void stampedAsPaintedOneByOne();
    void aKeptPainterStampsAsAFreshOne();
    void tinyNumbersStayAfterStamping();
};

namespace {

// Rings as the reading aid marks a figure's touch points: one pen, no brush, set once, and
// count of them along a line with a random spread across it, or taking turns on two lines far
// apart, as along a figure's top and bottom edges.
Scene rings(int count, double radius, double lineWidth, unsigned seed, bool twoLines = false)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> along(20, 280);
    std::uniform_real_distribution<double> across(-3, 3);
    Scene scene;
    scene.antialias(true);
    scene.pen(Pen{{rgb(0, 230, 118)}, lineWidth});
    scene.noBrush();
    for (int i = 0; i < count; ++i) {
        const double line = twoLines ? (i % 2 == 0 ? 15 : 65) : 40;
        const PointF at{along(random), line + across(random)};
        scene.add(item::Ellipse{{at.x - radius, at.y - radius, 2 * radius, 2 * radius}});
    }
    return scene;
}

QImage painted(const Scene& scene, ScenePainter& scenePainter, double ratio = 1)
{
    QImage image((QSizeF(300, 80) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    scenePainter.paint(painter, scene);
    return image;
}

QImage painted(const Scene& scene, ScenePainter::Repeats repeats, double ratio = 1)
{
    ScenePainter scenePainter(repeats);
    return painted(scene, scenePainter, ratio);
}

} // namespace

void TestEllipseStamps::stampedAsPaintedOneByOne_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("radius");
    QTest::addColumn<double>("lineWidth");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<bool>("twoLines");
    QTest::addColumn<int>("largestShadeApart");
    // Too few to pay: drawn one by one, to the bit.
    QTest::newRow("127 rings, 100 %") << 127 << 4.0 << 1.0 << 1.0 << false << 0;
    QTest::newRow("400 rings, 100 %") << 400 << 4.0 << 1.0 << 1.0 << false << 24;
    QTest::newRow("3000 rings, full screen") << 3000 << 8.84 << 2.0 << 1.0 << false << 24;
    QTest::newRow("3000 rings on two lines far apart") << 3000 << 8.84 << 2.0 << 1.0 << true << 24;
    QTest::newRow("400 rings, device pixel ratio 2") << 400 << 4.0 << 1.0 << 2.0 << false << 24;
    QTest::newRow("400 rings, device pixel ratio 1.5") << 400 << 4.0 << 1.0 << 1.5 << false << 24;
}

// Where QPainter lights a pixel, the stamps light it too, within a few shades of a blend's
// rounding and a thirty-second of a pixel's place.
void TestEllipseStamps::stampedAsPaintedOneByOne()
{
    QFETCH(int, count);
    QFETCH(double, radius);
    QFETCH(double, lineWidth);
    QFETCH(double, ratio);
    QFETCH(bool, twoLines);
    QFETCH(int, largestShadeApart);
    const Scene scene = rings(count, radius, lineWidth, 5, twoLines);
    const QImage each = painted(scene, ScenePainter::Repeats::PaintEach, ratio);
    const QImage stamped = painted(scene, ScenePainter::Repeats::Stamp, ratio);
    QCOMPARE(stamped.size(), each.size());
    int apart = 0;
    int lit = 0;
    for (int y = 0; y < each.height(); ++y) {
        for (int x = 0; x < each.width(); ++x) {
            const QRgb a = each.pixel(x, y);
            const QRgb b = stamped.pixel(x, y);
            lit += qAlpha(a) > 0 ? 1 : 0;
            for (const int shift : {0, 8, 16, 24})
                apart =
                    std::max(apart, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
        }
    }
    QVERIFY(lit > 1000);
    QVERIFY2(apart <= largestShadeApart, qPrintable(QString::number(apart)));
}

// The painter of the screen is kept from one step of a drifting phase to the next: each batch
// of rings is stamped as a fresh painter stamps it.
void TestEllipseStamps::aKeptPainterStampsAsAFreshOne()
{
    const Scene along = rings(3000, 8.84, 2.0, 5);
    const Scene edges = rings(3000, 8.84, 2.0, 6, true);
    ScenePainter kept(ScenePainter::Repeats::Stamp);
    for (const Scene* scene : {&along, &along, &edges, &edges})
        QVERIFY(painted(*scene, kept) == painted(*scene, ScenePainter::Repeats::Stamp));
}

// Rings stamped hundreds deep flush what they let through to zero once it sinks below the
// smallest normal float, and only there: the thread's arithmetic afterwards keeps such numbers.
void TestEllipseStamps::tinyNumbersStayAfterStamping()
{
    QVERIFY(!painted(rings(3000, 8.84, 2.0, 5), ScenePainter::Repeats::Stamp).isNull());
    volatile float smallest = std::numeric_limits<float>::min();
    QVERIFY(smallest / 4 > 0);
}

KORVELIAN_GUI_TEST(ellipsestamps, TestEllipseStamps)
#include "tst_ellipsestamps.moc"
