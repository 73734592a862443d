#include "auslenkung.h"
#include "constants.h"
#include "fastsine.h"
#include "figurepoints.h"

#include <QTest>

#include <cmath>
#include <limits>
#include <vector>

using namespace korvelian;

class TestFastSine : public QObject
{
    Q_OBJECT

private slots:
    void closeToTheStandardSine_data();
    void closeToTheStandardSine();
    void inPlaceHugeArgumentsFallBackToStdSin();
    void hugeNumeratorStopsWhereTheFormulaOverflows();
    void figureMatchesTheLoop_data();
    void figureMatchesTheLoop();
};

void TestFastSine::closeToTheStandardSine_data()
{
    QTest::addColumn<double>("x");
    const double inf = std::numeric_limits<double>::infinity();
    for (const double x : {0.0,
                           -0.0,
                           0.1,
                           0.7853981633974483,
                           1.5707963267948966,
                           3.0,
                           -3.0,
                           6.299999999999994,
                           628.3,
                           205876.5,
                           1e6,
                           6.75e9,
                           -6.75e9,
                           1e11,
                           9.99e11,
                           1e12,
                           1.0000001e12,
                           1e15,
                           1e300,
                           inf,
                           -inf})
        QTest::newRow(qPrintable(QString::number(x, 'g', 17))) << x;
}

void TestFastSine::closeToTheStandardSine()
{
    QFETCH(double, x);
    double out = 0;
    fastSines(&x, &out, 1);
    const double expected = std::sin(x);
    if (std::isnan(expected)) {
        QVERIFY(std::isnan(out));
        return;
    }
    // Far below a pixel: the screen is 4 units across and the amplitude at most 2.
    QVERIFY2(std::abs(out - expected) < 1e-12,
             qPrintable(QString("%1 against %2").arg(out, 0, 'g', 17).arg(expected, 0, 'g', 17)));
}

void TestFastSine::inPlaceHugeArgumentsFallBackToStdSin()
{
    std::vector<double> values = {0.5, 1e300, 2.0, 1.7e308, 3e13, -1e200, 4.0};
    // More than one block, so that every block keeps its own arguments aside.
    for (std::size_t i = 0; i < 600; ++i)
        values.push_back(i % 3 == 0 ? 1e250 * (i + 1) : 0.01 * i);
    const std::vector<double> arguments = values;
    fastSines(values.data(), values.data(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        QVERIFY(std::abs(values[i] - std::sin(arguments[i])) < 1e-12);
}

void TestFastSine::hugeNumeratorStopsWhereTheFormulaOverflows()
{
    // (t + 0.5) * 1e308 overflows at t = 1.3: the figure ends there, not at its first point.
    const Parameter p{1, 0, 1, 0.5, 1e308, 1};
    std::vector<FloatPoint> points;
    const FigureRun run = figurePoints(p, loopEnd(1000.0), points);
    double t = 0;
    while (std::isfinite(Auslenkung(t, p).y))
        t += kLoopStep;
    QVERIFY(run.stoppedAtNonFinite);
    QCOMPARE(run.t, t);
    QCOMPARE(run.count, std::size_t(std::lround(t / kLoopStep)));
}

void TestFastSine::figureMatchesTheLoop_data()
{
    QTest::addColumn<double>("k");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("n");
    QTest::newRow("K = 1") << 1.0 << 1.0 << 1.0;
    QTest::newRow("K = 100, 100:1") << 100.0 << 100.0 << 1.0;
    QTest::newRow("K = 6000, 1:6000, both cores") << 6000.0 << 1.0 << 6000.0;
    QTest::newRow("K = 32767, 32767:1, both cores") << 32767.0 << 32767.0 << 1.0;
}

void TestFastSine::figureMatchesTheLoop()
{
    QFETCH(double, k);
    QFETCH(double, z);
    QFETCH(double, n);
    const Parameter p{1.5, 0.3, 0.75, 1.0, z, n};
    const double end = loopEnd(k);
    std::vector<FloatPoint> points;
    const FigureRun run = figurePoints(p, end, points);
    std::size_t i = 0;
    double t = 0;
    double last = 0;
    for (; t <= end; t += kLoopStep, ++i) {
        const Point exact = Auslenkung(t, p);
        // Single precision is all the drawing gets; the fast sine may move the last bit.
        if (std::abs(points[i].x - exact.x) > 1e-6 || std::abs(points[i].y - exact.y) > 1e-6)
            QFAIL(qPrintable(QString("point %1 differs").arg(i)));
        last = t;
    }
    QCOMPARE(run.count, i);
    QCOMPARE(run.t, t);
    QCOMPARE(run.lastT, last);
    QVERIFY(!run.stoppedAtNonFinite);
}

QTEST_APPLESS_MAIN(TestFastSine)
#include "tst_fastsine.moc"
