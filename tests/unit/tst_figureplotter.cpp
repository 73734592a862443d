#include "tests/exactcompare.h"
#include "tests/fakewindow.h"
#include "handlers/figureplotter.h"
#include "handlers/formvariables.h"
#include "handlers/hintline.h"
#include "handlers/messages.h"
#include "model/constants.h"
#include "model/numbertext.h"

#include "tests/testregistry.h"

#include <QTest>

#include <cmath>

using namespace korvelian;

namespace {

struct Plotter
{
    FakeWindow fake;
    FormVariables vars;
    HintLine hint{fake};
    FigurePlotter plotter{fake, vars, hint};
};

} // namespace

class TestFigurePlotter : public QObject
{
    Q_OBJECT

private slots:
    void pointCount_data();
    void pointCount();
    void tAfterOneTurnIsTheAccumulatedDouble();
    void drawingSteps();
    void figureIsOneCallFromTheFirstPoint();
    void firstPointJoinedToNothing();
    void readingOrder();
    void yPhaseBeforeFrequencyFactor();
    void figureFailures_data();
    void figureFailures();
    void largestClosingCountDraws();
};

void TestFigurePlotter::pointCount_data()
{
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<int>("points");
    QTest::addColumn<double>("lastT");
    QTest::addColumn<double>("tAfter");

    QTest::newRow("K = 1") << "1" << 64 << 6.3 << 6.4;
    QTest::newRow("K = 2") << " 2" << 127 << 12.6 << 12.7;
    QTest::newRow("K = 3") << " 3" << 190 << 18.9 << 19.0;
    QTest::newRow("K = 6") << " 6" << 378 << 37.7 << 37.8;
    QTest::newRow("K = 10") << " 10" << 630 << 62.9 << 63.0;
    // With pi in place of 3.1415 this would be 6285.
    QTest::newRow("K = 100, not pi") << " 100" << 6284 << 628.3 << 628.4;
    QTest::newRow("empty count: two points") << "" << 2 << 0.1 << 0.2;
    QTest::newRow("fractional count") << "0.5" << 33 << 3.2 << 3.3;
}

void TestFigurePlotter::pointCount()
{
    QFETCH(QString, kgv);
    QFETCH(int, points);
    QFETCH(double, lastT);
    QFETCH(double, tAfter);
    Plotter p;
    p.fake.putText(TextBox::ClosingCount, kgv.toStdString());
    p.plotter.redraw();
    QCOMPARE(p.fake.figureSegmentCount(), points - 1);
    // t is accumulated by repeated addition, never counted as a multiple of 0.1.
    double t = 0;
    for (int i = 0; i < points; ++i)
        t += 0.1;
    COMPARE_EXACT(p.vars.t, t);
    QVERIFY(std::abs(t - tAfter) < 1e-9);
    QVERIFY(std::abs((t - 0.1) - lastT) < 1e-9);
}

void TestFigurePlotter::tAfterOneTurnIsTheAccumulatedDouble()
{
    Plotter p;
    p.plotter.redraw();
    COMPARE_EXACT(p.vars.t, 6.399999999999993);
    COMPARE_EXACT(p.vars.x, std::sin(6.299999999999994));
    COMPARE_EXACT(p.vars.y, std::sin(6.299999999999994));
}

void TestFigurePlotter::drawingSteps()
{
    Plotter p;
    p.plotter.redraw();
    const auto log = p.fake.log();
    const QStringList expected = {
        "text txtkgV",
        "clear picBildschirm",
        "setFrame picBildschirm -2 -2 2 2",
        "drawSegment picBildschirm -2 0 2 0 9869055",
        "drawSegment picBildschirm 0 -2 0 2 9869055",
        "text txtkgV",
    };
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(QString::fromStdString(log[i]), expected[i]);
    QCOMPARE(p.fake.count("clear"), 1);
}

void TestFigurePlotter::figureIsOneCallFromTheFirstPoint()
{
    Plotter p;
    p.plotter.redraw();
    // The figure is handed over whole, in white, up to the loop's end; its points are the
    // point code's, which every picture joins in order: the chain starts at t = 0 and its next
    // point is t = 0.1.
    const std::vector<DrawnFigure> figures = p.fake.figures();
    QCOMPARE(figures.size(), std::size_t(1));
    QCOMPARE(figures.front().colour, Colour(0xffffff));
    COMPARE_EXACT(figures.front().end, loopEnd(1));
    const std::vector<FloatPoint> points = figures.front().points();
    QCOMPARE(points.size(), std::size_t(64));
    const float first = float(std::sin(0.1));
    QVERIFY(points[0].x == 0 && points[0].y == 0);
    QVERIFY(points[1].x == first && points[1].y == first);
}

void TestFigurePlotter::firstPointJoinedToNothing()
{
    Plotter p;
    p.fake.setScroll(ScrollBar::AmplitudeX, 200); // the drawing before ends elsewhere
    p.plotter.redraw();
    const float lastX = float(p.vars.x);
    const float lastY = float(p.vars.y);
    p.fake.setScroll(ScrollBar::AmplitudeX, 100);
    p.plotter.redraw();
    // A figure of its own after the clearing: none of its points is where the one before ended.
    const std::vector<DrawnFigure> figures = p.fake.figures();
    QCOMPARE(figures.size(), std::size_t(1));
    for (const FloatPoint& point : figures.front().points())
        QVERIFY(point.x != lastX || point.y != lastY);
}

void TestFigurePlotter::readingOrder()
{
    Plotter p;
    p.plotter.redraw();
    QStringList reads;
    for (const Call& call : p.fake.calls) {
        if (call.op == "scroll" || (call.op == "text" && call.target != "txtkgV"))
            reads << QString::fromStdString(call.str());
    }
    const QStringList expected = {"scroll HScroll1", "scroll hscAmp1", "scroll hscPhase",
                                  "text txtZaehler", "text txtNenner", "scroll hscAmp2"};
    QCOMPARE(reads, expected);
}

void TestFigurePlotter::yPhaseBeforeFrequencyFactor()
{
    Plotter p;
    p.fake.putTexts({"2", "1", " 2", "Hilfe"});
    p.fake.setScroll(ScrollBar::PhaseY, 100); // y phase 1.0
    p.plotter.redraw();
    const FloatPoint first = p.fake.figures().front().points().front();
    // y at t = 0 is sin((0 + 1) * 2 / 1) = sin 2, not sin(0 * 2 + 1).
    QCOMPARE(double(first.y), double(float(std::sin(2.0))));
}

void TestFigurePlotter::figureFailures_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<int>("segments");
    QTest::addColumn<QString>("hint");

    QTest::newRow("denominator 0: axes and a hint")
        << "1"
        << "0"
        << "1" << true << 0 << QString::fromUtf8(kDenominatorZero);
    QTest::newRow("denominator empty") << "1"
                                       << ""
                                       << "1" << true << 0 << QString::fromUtf8(kDenominatorZero);
    QTest::newRow("infinite numerator") << "1e309"
                                        << "1"
                                        << "1" << true << 0 << QString::fromUtf8(kNotDrawable);
    QTest::newRow("negative count: screen left alone")
        << "1"
        << "1"
        << "-5" << false << 0 << QString::fromUtf8(kKgvNegative);
    QTest::newRow("minus sign read as -0: screen left alone")
        << "1"
        << "1"
        << "-0,5" << false << 0 << QString::fromUtf8(kKgvNegative);
    QTest::newRow("typed count above 32767: screen left alone")
        << "1"
        << "1"
        << "40000" << false << 0 << QString::fromUtf8(kKgvTooLarge);
    QTest::newRow("typed count 1e309: screen left alone")
        << "1"
        << "1"
        << "1e309" << false << 0 << QString::fromUtf8(kKgvTooLarge);
}

void TestFigurePlotter::figureFailures()
{
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QString, kgv);
    QFETCH(bool, cleared);
    QFETCH(int, segments);
    QFETCH(QString, hint);
    Plotter p;
    p.fake.putTexts(
        {numerator.toStdString(), denominator.toStdString(), kgv.toStdString(), "Hilfe"});
    p.vars.x = 0.25;
    p.plotter.redraw();
    QCOMPARE(p.fake.count("clear") == 1, cleared);
    QCOMPARE(p.fake.figureSegmentCount(), segments);
    QCOMPARE(QString::fromStdString(p.fake.shownText(TextBox::Hint)), hint);
    for (const Call& call : p.fake.callsOf("drawSegment")) {
        for (double n : call.numbers)
            QVERIFY(std::isfinite(n));
    }
    for (const DrawnFigure& figure : p.fake.figures()) {
        for (const FloatPoint& point : figure.points())
            QVERIFY(std::isfinite(point.x) && std::isfinite(point.y));
    }
    COMPARE_EXACT(p.vars.x, 0.25);
}

void TestFigurePlotter::largestClosingCountDraws()
{
    Plotter p;
    p.fake.putText(TextBox::ClosingCount, " 32767");
    p.plotter.redraw();
    const double end = (32767.0 + 32767.0) * 3.1415 + 0.1;
    long points = 0;
    for (double t = 0; t <= end; t += 0.1)
        ++points;
    QCOMPARE(long(p.fake.count("drawSegment") + p.fake.figureSegmentCount()), points - 1 + 2);
    QVERIFY(points > 2'050'000);
}

KORVELIAN_PLAIN_TEST(figureplotter, TestFigurePlotter)
#include "tst_figureplotter.moc"
