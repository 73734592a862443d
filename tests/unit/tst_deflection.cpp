#include "model/deflection.h"
#include "tests/exactcompare.h"

#include "tests/testregistry.h"

#include <QTest>

#include <cmath>

using namespace korvelian;

class TestDeflection : public QObject
{
    Q_OBJECT

private slots:
    void formulas_data();
    void formulas();
    void factorIsMultiplicationThenDivision();
};

void TestDeflection::formulas_data()
{
    QTest::addColumn<double>("t");
    QTest::addColumn<double>("a1");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("a2");
    QTest::addColumn<double>("p2");
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");

    QTest::newRow("diagonal: x = y = sin t")
        << 0.7 << 1.0 << 0.0 << 1.0 << 0.0 << 1.0 << 1.0 << std::sin(0.7) << std::sin(0.7);
    QTest::newRow("zero x amplitude: on the y axis")
        << 0.7 << 0.0 << 0.0 << 1.0 << 0.0 << 1.0 << 1.0 << 0.0 << std::sin(0.7);
    QTest::newRow("1:2 with y phase 1: the phase is halved")
        << 0.4 << 1.0 << 0.0 << 1.0 << 1.0 << 1.0 << 2.0 << std::sin(0.4)
        << std::sin((0.4 + 1.0) * 1.0 / 2.0);
    QTest::newRow("2:1 with y phase 1: the phase is doubled")
        << 0.4 << 1.0 << 0.0 << 1.0 << 1.0 << 2.0 << 1.0 << std::sin(0.4)
        << std::sin(2 * 0.4 + 2.0);
    QTest::newRow("phase 1.57: nearly a circle")
        << 0.3 << 1.5 << 0.0 << 1.5 << 1.57 << 1.0 << 1.0 << 1.5 * std::sin(0.3)
        << 1.5 * std::sin(0.3 + 1.57);
    QTest::newRow("t = 0, no x phase: x exactly 0")
        << 0.0 << 2.0 << 0.0 << 1.0 << 0.0 << 1.0 << 1.0 << 0.0 << 0.0;
    QTest::newRow("x phase and amplitude")
        << 1.0 << 0.5 << 2.0 << 1.0 << 0.0 << 1.0 << 1.0 << 0.5 * std::sin(3.0) << std::sin(1.0);
    QTest::newRow("fractional numerator enters as it reads")
        << 1.0 << 1.0 << 0.0 << 1.0 << 0.0 << 2.5 << 1.0 << std::sin(1.0) << std::sin(2.5);
}

void TestDeflection::formulas()
{
    QFETCH(double, t);
    QFETCH(double, a1);
    QFETCH(double, p1);
    QFETCH(double, a2);
    QFETCH(double, p2);
    QFETCH(double, z);
    QFETCH(double, n);
    QFETCH(double, x);
    QFETCH(double, y);
    const Point point = deflection(t, {a1, p1, a2, p2, z, n});
    COMPARE_EXACT(point.x, x);
    COMPARE_EXACT(point.y, y);
}

void TestDeflection::factorIsMultiplicationThenDivision()
{
    // For these values (s * Z) / N and s * (Z / N) differ in the last bit; only the first
    // is the formula.
    const double t = 0.1 + 0.1 + 0.1;
    const double z = 2;
    const double n = 3;
    const double exact = std::sin(((t + 0) * z) / n);
    const double quotient = std::sin((t + 0) * (z / n));
    QVERIFY(exact != quotient);
    COMPARE_EXACT(deflection(t, {1, 0, 1, 0, z, n}).y, exact);
}

KORVELIAN_PLAIN_TEST(deflection, TestDeflection)
#include "tst_deflection.moc"
