#include "tests/exactcompare.h"
#include "tests/formfixture.h"
#include "form/controlstate.h"

#include "tests/testregistry.h"

#include <QTest>

#include <functional>
#include <vector>

using namespace korvelian;

namespace {

using StateAction = std::function<void(ControlState&)>;

} // namespace

Q_DECLARE_METATYPE(StateAction)

class TestForm : public QObject
{
    Q_OBJECT

private slots:
    void startUpOrder();
    void quitTicksStopBeforeEnding_data();
    void quitTicksStopBeforeEnding();
    void controlState_data();
    void controlState();
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
    QCOMPARE(f.fake.figureSegmentCount(), 63);
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
    f.fake.setCheck(checkBefore);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, f.form.handle(static_cast<Event>(event)));
    const QStringList log = [&] {
        QStringList l;
        for (const auto& s : f.fake.log())
            l << QString::fromStdString(s);
        return l;
    }();
    QCOMPARE(log, QStringList({"setCheck 1", "endProgram"}));
}

void TestForm::controlState_data()
{
    QTest::addColumn<StateAction>("action");
    QTest::addColumn<std::vector<Event>>("delivered");
    // clang-format off
    QTest::newRow("numerator typed anew: its Change")
        << StateAction([](ControlState& s) { s.setText(TextBox::Numerator, "2"); })
        << std::vector<Event>{Event::txtZaehler_Change};
    QTest::newRow("denominator set to what it holds: nothing")
        << StateAction([](ControlState& s) { s.setText(TextBox::Denominator, "1"); })
        << std::vector<Event>{};
    QTest::newRow("closing count written: it has no Change")
        << StateAction([](ControlState& s) { s.setText(TextBox::ClosingCount, " 2"); })
        << std::vector<Event>{};
    QTest::newRow("y phase moved: its Change")
        << StateAction([](ControlState& s) { s.setScrollValue(ScrollBar::PhaseY, 157); })
        << std::vector<Event>{Event::hscPhase_Change};
    QTest::newRow("x amplitude set to what it holds: nothing")
        << StateAction([](ControlState& s) { s.setScrollValue(ScrollBar::AmplitudeX, 100); })
        << std::vector<Event>{};
    QTest::newRow("put in place: no Change")
        << StateAction([](ControlState& s) {
               s.putText(TextBox::Numerator, "3");
               s.putValue(ScrollBar::PhaseX, 5);
           })
        << std::vector<Event>{};
    QTest::newRow("after the end: set, but nothing runs")
        << StateAction([](ControlState& s) {
               s.endProgram();
               s.setText(TextBox::Numerator, "2");
               s.setScrollValue(ScrollBar::AmplitudeY, 3);
               QCOMPARE(s.shownText(TextBox::Numerator), "2");
           })
        << std::vector<Event>{};
    // clang-format on
}

// The state the export, the fake and the browser edition share: the window's start values,
// and a Change only for a value that differs, with the new value already in place.
void TestForm::controlState()
{
    QFETCH(StateAction, action);
    QFETCH(std::vector<Event>, delivered);
    ControlState state;
    QCOMPARE(state.text(TextBox::Numerator), "1");
    QCOMPARE(state.text(TextBox::Denominator), "1");
    QCOMPARE(state.text(TextBox::ClosingCount), "1");
    QCOMPARE(state.text(TextBox::Hint), "Hilfe");
    QCOMPARE(state.scrollValue(ScrollBar::AmplitudeX), std::int16_t(100));
    QCOMPARE(state.scrollValue(ScrollBar::PhaseX), std::int16_t(0));
    QCOMPARE(state.scrollValue(ScrollBar::AmplitudeY), std::int16_t(100));
    QCOMPARE(state.scrollValue(ScrollBar::PhaseY), std::int16_t(0));
    QCOMPARE(state.checkValue(), 0);
    QVERIFY(state.allInUse());
    std::vector<Event> received;
    std::vector<std::string> numeratorThen;
    state.deliverTo([&](Event event) {
        received.push_back(event);
        numeratorThen.push_back(state.text(TextBox::Numerator));
    });
    action(state);
    QVERIFY(received == delivered);
    if (!received.empty() && received.front() == Event::txtZaehler_Change)
        QCOMPARE(numeratorThen.front(), "2");
}

KORVELIAN_PLAIN_TEST(form, TestForm)
#include "tst_form.moc"
