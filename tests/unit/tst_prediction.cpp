#include "lesson/prediction.h"

#include "model/constants.h"
#include "tests/testregistry.h"

#include <QTest>

#include <cmath>

using namespace korvelian;

class TestPrediction : public QObject
{
    Q_OBJECT

private slots:
    void beamDrawsTheFigureFromNothing();
    void timeSignalsUntilResolved();
};

void TestPrediction::beamDrawsTheFigureFromNothing()
{
    const Parameter p{1, 0, 1, 1.57, 3, 2}; // closing count 6
    Prediction prediction;
    prediction.beamAt(0.5, p);
    QVERIFY(prediction.path().empty());
    prediction.setMode(Prediction::Mode::Beam);
    QVERIFY(!prediction.figureShown());
    QVERIFY(prediction.drawsPath());
    prediction.beamAt(1.0, p);
    prediction.beamAt(1.25, p);
    QCOMPARE(prediction.path().size(), std::size_t(1));
    // From 1.0 at the figure's own step, and the beam's own t last.
    QCOMPARE(prediction.path()[0].size(), std::size_t(4));
    QCOMPARE(prediction.path()[0].back().x, deflection(1.25, p).x);
    QCOMPARE(prediction.path()[0][1].y, deflection(1.1, p).y);
    // A redraw put t at the figure's end: a new piece, not a line across the screen.
    prediction.beamAt(loopEnd(6), p);
    QCOMPARE(prediction.path().size(), std::size_t(2));
    // The beam ran through all of it, 0,25 before the jump and the rest after: the figure is
    // there.
    double t = loopEnd(6);
    while (!prediction.figureShown() && t < 3 * loopEnd(6)) {
        t += 0.5;
        prediction.beamAt(t, p);
    }
    QVERIFY(std::abs(t - (2 * loopEnd(6) - 0.25)) <= 0.5);
    QVERIFY(prediction.path().empty());
    // The next setting is the next prediction.
    prediction.settingChanged();
    QVERIFY(!prediction.figureShown());
    prediction.resolve();
    QVERIFY(prediction.figureShown());
    QVERIFY(!prediction.drawsPath());
}

void TestPrediction::timeSignalsUntilResolved()
{
    Prediction prediction;
    prediction.setMode(Prediction::Mode::TimeSignals);
    prediction.setValuesHidden(true);
    QVERIFY(!prediction.figureShown());
    QVERIFY(!prediction.drawsPath());
    prediction.beamAt(1.0, {1, 0, 1, 0, 1, 1});
    QVERIFY(prediction.path().empty());
    prediction.resolve();
    QVERIFY(prediction.figureShown());
    QVERIFY(prediction.valuesHidden());
    prediction.setMode(Prediction::Mode::Off);
    QVERIFY(prediction.figureShown());
}

KORVELIAN_PLAIN_TEST(prediction, TestPrediction)
#include "tst_prediction.moc"
