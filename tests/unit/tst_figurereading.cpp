#include "model/figurereading.h"

#include "tests/testregistry.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>
#include <vector>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::Parameter)

namespace {

constexpr double kPi = std::numbers::pi;

// Numerator z, denominator n, phases p1 (x) and p2 (y), amplitudes a1 (x) and a2 (y).
Parameter figure(double z, double n, double p1, double p2, double a1 = 1.0, double a2 = 1.0)
{
    return Parameter{a1, p1, a2, p2, z, n};
}

// A whole closed figure, sampled densely.
std::vector<Point> samples(const Parameter& p)
{
    std::vector<Point> points(20000);
    for (std::size_t i = 0; i < points.size(); ++i)
        points[i] = deflection(2 * kPi * p.denominator * double(i) / double(points.size()), p);
    return points;
}

bool sampledNear(const std::vector<Point>& points, Point mark)
{
    return std::any_of(points.begin(), points.end(),
                       [mark](Point q) { return std::hypot(q.x - mark.x, q.y - mark.y) < 0.01; });
}

// Share of the samples that a part of the run far away in t passes within 0.01, about a pixel:
// nearly all when the beam goes its path back and forth, only the crossings otherwise.
double retracedShare(const std::vector<Point>& points)
{
    const int size = int(points.size());
    std::vector<int> order(size);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return points[a].x < points[b].x; });
    std::vector<bool> retraced(size);
    for (int a = 0; a < size; ++a) {
        const Point pa = points[order[a]];
        for (int b = a + 1; b < size && points[order[b]].x - pa.x < 0.01; ++b) {
            const int gap = std::abs(order[a] - order[b]);
            if (std::min(gap, size - gap) > size / 50 &&
                std::hypot(points[order[b]].x - pa.x, points[order[b]].y - pa.y) < 0.01)
                retraced[order[a]] = retraced[order[b]] = true;
        }
    }
    return double(std::count(retraced.begin(), retraced.end(), true)) / size;
}

// What the legend line shows: the reading, or why there is none.
template <typename Reading> QString shown(const Reading& reading)
{
    return QString::fromStdString(reading.refusal.empty() ? reading.legend : reading.refusal);
}

} // namespace

class TestFigureReading : public QObject
{
    Q_OBJECT

private slots:
    void touchPoints_data();
    void touchPoints();
    void touchPointsInOrder();
    void phase_data();
    void phase();
};

// Rows at an exact phase check the analysis against the sampled beam. Of the bar positions
// near such a phase only the nearest counts as open, though its neighbours look as open.
void TestFigureReading::touchPoints_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("retraced");

    // clang-format off
    QTest::newRow("1 : 1 ellipse") << figure(1, 1, 0, 1) << "1 Berührpunkt oben, 1 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 1 : 1" << false << false;
    QTest::newRow("1 : 2") << figure(1, 2, 0, 0.5) << "1 Berührpunkt oben, 2 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 1 : 2" << false << false;
    QTest::newRow("2 : 3") << figure(2, 3, 0, 0.5) << "2 Berührpunkte oben, 3 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 2 : 3" << false << false;
    QTest::newRow("3 : 2") << figure(3, 2, 0, 0.3) << "3 Berührpunkte oben, 2 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 3 : 2" << false << false;
    QTest::newRow("3 : 4") << figure(3, 4, 0, 0.3) << "3 Berührpunkte oben, 4 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 3 : 4" << false << false;
    QTest::newRow("5 : 4") << figure(5, 4, 0, 0.2) << "5 Berührpunkte oben, 4 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 5 : 4" << false << false;
    QTest::newRow("2 : 1 at bar 0.79: open, ends in the top corners") << figure(2, 1, 0, 0.79) << "1 Berührpunkt oben, ½ rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 2 : 1" << true << true;
    QTest::newRow("2 : 1 at bar 0.78: closed, though its runs lie within 0.01") << figure(2, 1, 0, 0.78) << "2 Berührpunkte oben, 1 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 2 : 1" << false << true;
    QTest::newRow("1 : 1 at bar 3.14: a line") << figure(1, 1, 0, 3.14) << "½ Berührpunkt oben, ½ rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 1 : 1" << true << true;
    QTest::newRow("2 : 1 at pi/4: a parabola") << figure(2, 1, 0, kPi / 4) << "1 Berührpunkt oben, ½ rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 2 : 1" << true << true;
    QTest::newRow("2 : 1 in phase: a figure eight") << figure(2, 1, 0, 0) << "2 Berührpunkte oben, 1 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 2 : 1" << false << false;
    QTest::newRow("1 : 2 at pi/2: a parabola on its side") << figure(1, 2, 0, kPi / 2) << "½ Berührpunkt oben, 1 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 1 : 2" << true << true;
    QTest::newRow("3 : 2 at pi/6") << figure(3, 2, 0, kPi / 6) << "1½ Berührpunkte oben, 1 rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 3 : 2" << true << true;
    QTest::newRow("2 : 3 at pi/4 past an x phase of 1") << figure(2, 3, 1, 1.0 + kPi / 4) << "1 Berührpunkt oben, 1½ rechts: <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 2 : 3" << true << true;
    QTest::newRow("numerator 2.5") << figure(2.5, 1, 0, 0.5) << "Zähler und Nenner müssen ganze Zahlen von 1 bis 32767 sein, sonst ist nichts abzulesen." << false << false;
    QTest::newRow("denominator 0") << figure(1, 0, 0, 0.5) << "Zähler und Nenner müssen ganze Zahlen von 1 bis 32767 sein, sonst ist nichts abzulesen." << false << false;
    QTest::newRow("numerator 40000") << figure(40000, 1, 0, 0.5) << "Zähler und Nenner müssen ganze Zahlen von 1 bis 32767 sein, sonst ist nichts abzulesen." << false << false;
    QTest::newRow("x amplitude 0: a vertical line") << figure(1, 1, 0, 0.5, 0) << "Eine Amplitude ist 0: die Figur liegt auf einer Achse, es ist nichts abzulesen." << false << false;
    // clang-format on
}

void TestFigureReading::touchPoints()
{
    QFETCH(Parameter, p);
    QFETCH(QString, line);
    QFETCH(bool, open);
    QFETCH(bool, retraced);
    const std::vector<Point> points = samples(p);
    // Mirrored, the top edge the user sees is y = +A2; the counts stay.
    for (const bool yUp : {false, true}) {
        const TouchReading reading = readTouchPoints(p, true, yUp);
        QCOMPARE(shown(reading), line);
        QCOMPARE(reading.open, open);
        QCOMPARE(reading.note.empty(), !open);
        if (!reading.refusal.empty())
            return;
        for (const TouchPoint& mark : reading.top)
            QVERIFY(sampledNear(points, {mark.position, yUp ? p.amplitudeY : -p.amplitudeY}));
        for (const TouchPoint& mark : reading.right)
            QVERIFY(sampledNear(points, {p.amplitudeX, mark.position}));
    }
    QCOMPARE(retracedShare(points) > 0.5, retraced);
}

// The touch points of a closed figure at every key of an edge, sorted whole: the order that the
// runs of rising and falling sines must give, for drift steps of random figures.
std::vector<double> sortedEdge(std::int64_t count, std::int64_t stride, std::int64_t offset,
                               double shift, double amplitude)
{
    std::vector<double> positions;
    for (std::int64_t j = 0; j < count; ++j) {
        const std::int64_t key =
            ((stride * (4 * j + offset)) % (4 * count) + 4 * count) % (4 * count);
        positions.push_back(amplitude * std::sin(kPi / 2 * double(key) / double(count) + shift));
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

void TestFigureReading::touchPointsInOrder()
{
    std::mt19937 random(20261211);
    std::uniform_int_distribution<int> whole(1, 32767);
    std::uniform_int_distribution<int> small(1, 40);
    std::uniform_int_distribution<int> bar(0, 628);
    for (int i = 0; i < 300; ++i) {
        const bool large = i % 3 == 0;
        std::int64_t z = i == 0 ? 32767 : large ? whole(random) : small(random);
        std::int64_t n = i == 0 ? 1 : large ? whole(random) : small(random);
        const std::int64_t g = std::gcd(z, n);
        z /= g;
        n /= g;
        const Parameter p =
            figure(double(z), double(n), bar(random) / 100.0, bar(random) / 100.0, 1.25, 0.75);
        const TouchReading reading = readTouchPoints(p, true);
        if (reading.open)
            continue; // the table's rows read the open ones
        double delta = std::remainder(p.phaseY - p.phaseX, 2 * kPi);
        delta = delta == -kPi ? kPi : delta;
        const auto positions = [](const std::vector<TouchPoint>& points) {
            std::vector<double> values;
            for (const TouchPoint& point : points)
                values.push_back(point.position);
            return values;
        };
        QCOMPARE(positions(reading.top), sortedEdge(z, n, -1, -delta, 1.25));
        QCOMPARE(positions(reading.right),
                 sortedEdge(n, z, 1, delta * double(z) / double(n), 0.75));
    }
}

void TestFigureReading::phase_data()
{
    QTest::addColumn<Parameter>("p");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("yUp");

    // clang-format off
    QTest::newRow("0 rad: a line") << figure(1, 1, 0, 0, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,000 → <i>φ</i> = 0,0° (eingestellt: 0,0°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 0,0°, nicht 180,0°." << false;
    QTest::newRow("0.52 rad") << figure(1, 1, 0, 0.52, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,497 → <i>φ</i> = 29,8° (eingestellt: 29,8°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 29,8°, nicht 150,2°." << false;
    QTest::newRow("0.79 rad") << figure(1, 1, 0, 0.79, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,710 → <i>φ</i> = 45,3° (eingestellt: 45,3°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 45,3°, nicht 134,7°." << false;
    QTest::newRow("1.57 rad: upright, nothing to tell apart") << figure(1, 1, 0, 1.57, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 1,000 → <i>φ</i> = 90,0° (eingestellt: 90,0°)" << "" << false;
    QTest::newRow("2.36 rad: 135° told from 45°") << figure(1, 1, 0, 2.36, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,704 → <i>φ</i> = 135,2° (eingestellt: 135,2°)" << "Die Figur steigt nach rechts an (/): also <i>φ</i> = 135,2°, nicht 44,8°." << false;
    QTest::newRow("3.14 rad") << figure(1, 1, 0, 3.14, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,002 → <i>φ</i> = 179,9° (eingestellt: 179,9°)" << "Die Figur steigt nach rechts an (/): also <i>φ</i> = 179,9°, nicht 0,1°." << false;
    QTest::newRow("0.79 rad past an x phase of 1, ratio 3 : 3") << figure(3, 3, 1, 1.79, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,710 → <i>φ</i> = 45,3° (eingestellt: 45,3°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 45,3°, nicht 134,7°." << false;
    QTest::newRow("set 5.5 rad, as the bar shows it") << figure(1, 1, 0, 5.5, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,706 → <i>φ</i> = 44,9° (eingestellt: 315,1°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 44,9°, nicht 135,1°. 360° − 315,1° = 44,9°: dieselbe Figur, nur läuft der Strahl andersherum." << false;
    QTest::newRow("set 3.67 rad, above 180°: 210.3°, not −149.7°") << figure(1, 1, 0, 3.67, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,504 → <i>φ</i> = 149,7° (eingestellt: 210,3°)" << "Die Figur steigt nach rechts an (/): also <i>φ</i> = 149,7°, nicht 30,3°. 360° − 210,3° = 149,7°: dieselbe Figur, nur läuft der Strahl andersherum." << false;
    QTest::newRow("x phase 1.57 above y phase 0.79: −0.78 rad set as 315.3°") << figure(1, 1, 1.57, 0.79, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,703 → <i>φ</i> = 44,7° (eingestellt: 315,3°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 44,7°, nicht 135,3°. 360° − 315,3° = 44,7°: dieselbe Figur, nur läuft der Strahl andersherum." << false;
    QTest::newRow("entry not accepted") << figure(1, 1, 0, 0.79, 1.5, 0.8) << false << "Eingabe nicht übernommen: abgelesen wird erst wieder nach einer gültigen Eingabe." << "" << false;
    QTest::newRow("y amplitude 0") << figure(1, 1, 0, 0.79, 1.5, 0) << true << "Eine Amplitude ist 0: die Figur liegt auf einer Achse, es ist nichts abzulesen." << "" << false;
    QTest::newRow("6 : 4 has no phase to read") << figure(6, 4, 0, 0.79, 1.5, 0.8) << true << "Die Phase lässt sich nur bei 1 : 1 ablesen (hier 3 : 2)." << "" << false;
    QTest::newRow("0.79 rad, y up: the acute angle rises") << figure(1, 1, 0, 0.79, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,710 → <i>φ</i> = 45,3° (eingestellt: 45,3°)" << "Die Figur steigt nach rechts an (/): also <i>φ</i> = 45,3°, nicht 134,7°." << true;
    QTest::newRow("2.36 rad, y up: the obtuse angle falls") << figure(1, 1, 0, 2.36, 1.5, 0.8) << true << "sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,704 → <i>φ</i> = 135,2° (eingestellt: 135,2°)" << "Die Figur fällt nach rechts ab (\\): also <i>φ</i> = 135,2°, nicht 44,8°." << true;
    // clang-format on
}

void TestFigureReading::phase()
{
    QFETCH(Parameter, p);
    QFETCH(bool, accepted);
    QFETCH(QString, line);
    QFETCH(QString, note);
    QFETCH(bool, yUp);
    const PhaseReading reading = readPhase(p, accepted, yUp);
    QCOMPARE(shown(reading), line);
    QCOMPARE(QString::fromStdString(reading.note), note);
    if (!reading.refusal.empty())
        return;

    // The marks sit on the drawn figure: the y axis crossings and the visible top.
    const std::vector<Point> points = samples(p);
    QVERIFY(sampledNear(points, reading.crossings[0]) && sampledNear(points, reading.crossings[1]));
    QVERIFY(sampledNear(points, reading.highest) &&
            reading.highest.y == (yUp ? p.amplitudeY : -p.amplitudeY));
}

KORVELIAN_PLAIN_TEST(figurereading, TestFigureReading)
#include "tst_figurereading.moc"
