#include "formfixture.h"

#include <QTest>

using namespace korvelian;

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void startUpOrder();
    void startUpLeavesStepZeroAndEmptyBar();
    void quitTicksStopBeforeEnding_data();
    void quitTicksStopBeforeEnding();
    void hints_data();
    void hints();
    void informationBox();
};

void TestForm::startUpOrder()
{
    FormFixture f;
    f.form.handle(Event::Form_Load);
    const auto log = f.fake.log();
    QCOMPARE(QString::fromStdString(log[0]), "scale Bildschirm -2 -2 2 2");
    QCOMPARE(QString::fromStdString(log[1]), "scale Velo 0 0 0.200000003 1");
    // Then the figure, from its clearing to its last segment, then the speed bar.
    QCOMPARE(QString::fromStdString(log[3]), "cls Bildschirm");
    QCOMPARE(int(f.fake.figureSegments().size()), 63);
    const std::size_t n = log.size();
    QCOMPARE(QString::fromStdString(log[n - 2]), "cls Velo");
    QCOMPARE(QString::fromStdString(log[n - 1]), "box Velo 0 0 0 1");
    QCOMPARE(f.fake.count("scale"), 3);
}

void TestForm::startUpLeavesStepZeroAndEmptyBar()
{
    FormFixture f;
    f.form.handle(Event::Form_Load);
    QCOMPARE(f.vars().dt, 0.0);
    QCOMPARE(f.vars().t, 6.399999999999993);
    QCOMPARE(QString::fromStdString(f.fake.texts[2]), "1");
    QCOMPARE(QString::fromStdString(f.fake.texts[3]), "Hilfe");
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

void TestForm::hints_data()
{
    QTest::addColumn<int>("event");
    QTest::addColumn<QString>("hint");
    QTest::newRow("Korvelianfigur") << int(Event::Command1_MouseMove) << "Korvelian-Figur zeigen";
    QTest::newRow("Schwingung") << int(Event::Command2_MouseMove) << "Schwingung zeigen";
    QTest::newRow("frame x") << int(Event::Frame1_MouseMove)
                             << "Schwingung auf der x-Achse einstellen";
    QTest::newRow("frame y") << int(Event::Frame2_MouseMove)
                             << "Schwingung auf der y-Achse einstellen";
    QTest::newRow("Frequenzfaktor")
        << int(Event::Label4_MouseMove)
        << "Frequenz der y-Schwingung = Frequenzfaktor * Frequenz der x-Schwingung (als Bruch)";
}

void TestForm::hints()
{
    QFETCH(int, event);
    QFETCH(QString, hint);
    FormFixture f;
    f.form.handle(static_cast<Event>(event));
    f.form.handle(static_cast<Event>(event));
    // Set on every move, also when it is already shown; nothing else happens.
    QCOMPARE(f.fake.count("setText"), 2);
    QCOMPARE(int(f.fake.calls.size()), 2);
    QCOMPARE(QString::fromStdString(f.fake.texts[3]), hint);
}

void TestForm::informationBox()
{
    FormFixture f;
    f.form.handle(Event::Command6_Click);
    QCOMPARE(int(f.fake.calls.size()), 1);
    QCOMPARE(QString::fromStdString(f.fake.calls[0].str()),
             "msgBox 'Ansgor Kelmtorp, TU Oldenvast|Feeware, programmiert von'");
}

QTEST_APPLESS_MAIN(TestForm)
#include "tst_form.moc"
