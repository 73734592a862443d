#include "tests/exactcompare.h"
#include "tests/formfixture.h"

#include "tests/testregistry.h"

#include <QTest>

using namespace korvelian;

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void startUpOrder();
    void quitTicksStopBeforeEnding_data();
    void quitTicksStopBeforeEnding();
};

void TestForm::startUpOrder()
{
    FormFixture f;
    f.form.handle(Event::Form_Load);
    const auto log = f.fake.log();
    QCOMPARE(QString::fromStdString(log[0]), "setFrame picBildschirm -2 -2 2 2");
    QCOMPARE(QString::fromStdString(log[1]), "setFrame picVelo 0 0 0.200000003 1");
    // Then the figure, from its clearing to its last segment, then the speed bar.
    QCOMPARE(QString::fromStdString(log[3]), "clear picBildschirm");
    QCOMPARE(int(f.fake.figureSegments().size()), 63);
    const std::size_t n = log.size();
    QCOMPARE(QString::fromStdString(log[n - 2]), "clear picVelo");
    QCOMPARE(QString::fromStdString(log[n - 1]), "drawBox picVelo 0 0 0 1");
    QCOMPARE(f.fake.count("setFrame"), 3);
    // The faster command ran on a step of 0: it stays 0 until the animation first starts.
    COMPARE_EXACT(f.vars().dt, 0.0);
    COMPARE_EXACT(f.vars().t, 6.399999999999993);
}

void TestForm::quitTicksStopBeforeEnding_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<int>("checkBefore");
    QTest::newRow("Programm beenden") << int(Event::Command5_Click) << 0;
    QTest::newRow("Programm beenden, Stop already ticked") << int(Event::Command5_Click) << 1;
    QTest::newRow("closing the window") << int(Event::Form_Unload) << 0;
}

void TestForm::quitTicksStopBeforeEnding()
{
    QFETCH(int, event);
    QFETCH(int, checkBefore);
    FormFixture f;
    f.fake.check = checkBefore;
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.form.handle(static_cast<Event>(event)));
    const QStringList log = [&] {
        QStringList l;
        for (const auto& s : f.fake.log())
            l << QString::fromStdString(s);
        return l;
    }();
    QCOMPARE(log, QStringList({"setCheck 1", "endProgram"}));
}

KORVELIAN_PLAIN_TEST(form, TestForm)
#include "tst_form.moc"
