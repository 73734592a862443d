#include "tests/modelchecks.h"

#include "tests/testregistry.h"

#include <QTest>

using namespace korvelian;

class TestFastSine : public QObject
{
    Q_OBJECT

private slots:
    void closeToTheStandardSine_data();
    void closeToTheStandardSine();
    void inPlaceHugeArgumentsFallBackToStdSin();
    void emulatedMultiplyAddRoundsOnce();
    void everyKernelRoundsAlike();
};

void TestFastSine::closeToTheStandardSine_data()
{
    QTest::addColumn<double>("x");
    for (const double x : sineArguments())
        QTest::newRow(qPrintable(QString::number(x, 'g', 17))) << x;
}

void TestFastSine::closeToTheStandardSine()
{
    QFETCH(double, x);
    const std::string failure = checkSine(x);
    QVERIFY2(failure.empty(), failure.c_str());
}

void TestFastSine::inPlaceHugeArgumentsFallBackToStdSin()
{
    const std::string failure = checkSinesInPlace();
    QVERIFY2(failure.empty(), failure.c_str());
}

void TestFastSine::emulatedMultiplyAddRoundsOnce()
{
    const std::string failure = checkEmulatedFma(1000000);
    QVERIFY2(failure.empty(), failure.c_str());
}

void TestFastSine::everyKernelRoundsAlike()
{
    const std::string failure = checkKernelsAlike(1000000);
    QVERIFY2(failure.empty(), failure.c_str());
}

KORVELIAN_PLAIN_TEST(fastsine, TestFastSine)
#include "tst_fastsine.moc"
