#include "tests/modelchecks.h"

#include "tests/testregistry.h"

#include <QTest>

using namespace korvelian;

class TestFigurePoints : public QObject
{
    Q_OBJECT

private slots:
    void runAndPointsFollowTheLoop_data();
    void runAndPointsFollowTheLoop();
    void loopValuesFollowTheChainOfAdditions();
};

void TestFigurePoints::runAndPointsFollowTheLoop_data()
{
    QTest::addColumn<int>("index");
    const std::vector<FigureCase> cases = figureCases();
    for (std::size_t i = 0; i < cases.size(); ++i)
        QTest::newRow(cases[i].name.c_str()) << int(i);
}

void TestFigurePoints::runAndPointsFollowTheLoop()
{
    QFETCH(int, index);
    const std::string failure = checkFigure(figureCases()[index]);
    QVERIFY2(failure.empty(), failure.c_str());
}

void TestFigurePoints::loopValuesFollowTheChainOfAdditions()
{
    const std::string failure = checkLoopValues(32767);
    QVERIFY2(failure.empty(), failure.c_str());
}

KORVELIAN_PLAIN_TEST(figurepoints, TestFigurePoints)
#include "tst_figurepoints.moc"
