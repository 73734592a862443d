#include "model/kgv.h"

#include "tests/testregistry.h"

#include <QTest>

#include <limits>

using namespace korvelian;

class TestKgv : public QObject
{
    Q_OBJECT

private slots:
    void workedPasses_data();
    void workedPasses();
    void overflowGivesNothing();
    void closingCount_data();
    void closingCount();
};

void TestKgv::workedPasses_data()
{
    QTest::addColumn<double>("denominator");
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("expected");

    QTest::newRow("1 and 1: one pass") << 1.0 << 1 << 1;
    QTest::newRow("4 and 6") << 4.0 << 6 << 12;
    QTest::newRow("3 and 2: both subtract in one pass") << 3.0 << 2 << 6;
    QTest::newRow("2 and 1") << 2.0 << 1 << 2;
    QTest::newRow("equal 7 and 7") << 7.0 << 7 << 7;
    QTest::newRow("denominator 32767, numerator 1") << 32767.0 << 1 << 32767;
    QTest::newRow("numerator 32767, denominator 1") << 1.0 << 32767 << 32767;
    QTest::newRow("coprime neighbours") << 181.0 << 180 << 32580;
}

void TestKgv::workedPasses()
{
    QFETCH(double, denominator);
    QFETCH(int, numerator);
    QFETCH(int, expected);
    const auto result = kgV(denominator, static_cast<std::int16_t>(numerator));
    QVERIFY(result.has_value());
    QCOMPARE(int(*result), expected);
}

void TestKgv::overflowGivesNothing()
{
    QVERIFY(!kgV(200.0, 199).has_value());
    QVERIFY(!kgV(32767.0, 2).has_value());
}

void TestKgv::closingCount_data()
{
    QTest::addColumn<double>("denominator");
    QTest::addColumn<double>("numerator");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("expected");
    const int none = int(RatioFault::None);
    const int denominator = int(RatioFault::Denominator);
    const int numerator = int(RatioFault::Numerator);
    const int tooLarge = int(RatioFault::TooLarge);

    QTest::newRow("typed numerator 2.5 enters as 2") << 3.0 << 2.5 << none << 6;
    QTest::newRow("numerator 3.5 enters as 4") << 3.0 << 3.5 << none << 12;
    QTest::newRow("numerator 1.5 enters as 2") << 1.0 << 1.5 << none << 2;
    QTest::newRow("200 and 199 overflow") << 200.0 << 199.0 << tooLarge << 0;
    QTest::newRow("denominator 0") << 0.0 << 1.0 << denominator << 0;
    QTest::newRow("denominator -0") << -0.0 << 1.0 << denominator << 0;
    QTest::newRow("negative denominator") << -3.0 << 1.0 << denominator << 0;
    QTest::newRow("infinite denominator")
        << std::numeric_limits<double>::infinity() << 1.0 << denominator << 0;
    QTest::newRow("fractional denominator") << 2.5 << 1.0 << denominator << 0;
    QTest::newRow("denominator 10^12") << 1e12 << 1.0 << denominator << 0;
    QTest::newRow("denominator 32768") << 32768.0 << 1.0 << denominator << 0;
    QTest::newRow("numerator 0") << 1.0 << 0.0 << numerator << 0;
    QTest::newRow("numerator 0.5 rounds to 0") << 1.0 << 0.5 << numerator << 0;
    QTest::newRow("negative numerator") << 1.0 << -4.0 << numerator << 0;
    QTest::newRow("numerator beyond 16 bits") << 1.0 << 32768.0 << numerator << 0;
    QTest::newRow("numerator below 16 bits") << 1.0 << -32769.0 << numerator << 0;
    QTest::newRow("32767 and 2 overflow") << 32767.0 << 2.0 << tooLarge << 0;
    QTest::newRow("infinite numerator")
        << 1.0 << std::numeric_limits<double>::infinity() << numerator << 0;
    QTest::newRow("largest in the domain") << 32767.0 << 32767.0 << none << 32767;
}

void TestKgv::closingCount()
{
    QFETCH(double, denominator);
    QFETCH(double, numerator);
    QFETCH(int, fault);
    QFETCH(int, expected);
    const ClosingCount count = korvelian::closingCount(numerator, denominator);
    QCOMPARE(int(count.fault), fault);
    QCOMPARE(int(count.value), expected);
}

KORVELIAN_PLAIN_TEST(kgv, TestKgv)
#include "tst_kgv.moc"
