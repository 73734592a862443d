#include "tests/formfixture.h"
#include "handlers/messages.h"

#include "tests/testregistry.h"

#include <QRegularExpression>
#include <QTest>

#include <cmath>

using namespace korvelian;

namespace {

QStringList strings(const std::vector<std::string>& log)
{
    QStringList list;
    for (const auto& s : log)
        list << QString::fromStdString(s);
    return list;
}

} // namespace

class TestFrequencyFactor : public QObject
{
    Q_OBJECT

private slots:
    void plusWritesThenCountsThenDraws();
    void buttons_data();
    void buttons();
    void closingCount_data();
    void closingCount();
    void entriesReadOtherwise_data();
    void entriesReadOtherwise();
    void refusedEntries_data();
    void refusedEntries();
    void validEntryPutsBackTheHint();
    void refusedEntryIsNeverUsed_data();
    void refusedEntryIsNeverUsed();
    void animationFrameUsesTheAcceptedRatio();
    void largestCountDrawsOnce();
};

void TestFrequencyFactor::plusWritesThenCountsThenDraws()
{
    FormFixture f;
    f.form.handle(Event::cmdplusZaehler_Click);
    const QStringList log = strings(f.fake.log());
    // clang-format off
    const QStringList expected = {"text txtZaehler",       "setText txtZaehler ' 2'", "text txtNenner",
                                  "text txtZaehler",       "setText txtkgV ' 2'",     "text txtkgV",
                                  "clear picBildschirm"};
    // clang-format on
    QCOMPARE(log.mid(0, expected.size()), expected);
    QCOMPARE(f.fake.count("clear"), 1);
    QCOMPARE(f.fake.figureSegmentCount(), 126);
    QVERIFY(std::abs(f.vars().t - 12.7) < 1e-9);
}

void TestFrequencyFactor::buttons_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<int>("event");
    QTest::addColumn<QString>("numeratorAfter");
    QTest::addColumn<QString>("denominatorAfter");
    QTest::addColumn<QString>("kgvAfter");
    QTest::addColumn<int>("redraws");

    // clang-format off
    QTest::newRow("numerator + from 1") << "1" << "1" << int(Event::cmdplusZaehler_Click) << " 2"
                                        << "1" << " 2" << 1;
    QTest::newRow("numerator - on 1 does nothing")
        << "1" << "1" << int(Event::Command9_Click) << "1" << "1" << "1" << 0;
    QTest::newRow("numerator - on 2")
        << "2" << "1" << int(Event::Command9_Click) << " 1" << "1" << " 1" << 1;
    QTest::newRow("denominator + from 1") << "1" << "1" << int(Event::cmdplusNenner_Click) << "1"
                                          << " 2" << " 2" << 1;
    QTest::newRow("denominator - on 1 does nothing")
        << "1" << "1" << int(Event::Command10_Click) << "1" << "1" << "1" << 0;
    QTest::newRow("denominator - on 0 does nothing")
        << "1" << "0" << int(Event::Command10_Click) << "1" << "0" << "1" << 0;
    QTest::newRow("denominator - on 3") << "1" << "3" << int(Event::Command10_Click) << "1"
                                        << " 2" << " 2" << 1;
    QTest::newRow("numerator + on 2.1 writes 3.1")
        << "2.1" << "1" << int(Event::cmdplusZaehler_Click) << " 3.1" << "1" << " 3" << 1;
    QTest::newRow("numerator + from 32767 is refused at the Change")
        << "32767" << "1" << int(Event::cmdplusZaehler_Click) << " 32768" << "1" << "1" << 0;
    // clang-format on
}

void TestFrequencyFactor::buttons()
{
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(int, event);
    QFETCH(QString, numeratorAfter);
    QFETCH(QString, denominatorAfter);
    QFETCH(QString, kgvAfter);
    QFETCH(int, redraws);
    FormFixture f;
    f.fake.putTexts({numerator.toStdString(), denominator.toStdString(), "1", "Hilfe"});
    const auto e = static_cast<Event>(event);
    f.form.handle(e);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Numerator)), numeratorAfter);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Denominator)), denominatorAfter);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::ClosingCount)), kgvAfter);
    QCOMPARE(f.fake.count("clear"), redraws);
}

void TestFrequencyFactor::closingCount_data()
{
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<int>("segments");

    // clang-format off
    QTest::newRow("4 and 6") << "4" << "6" << " 12" << 754;
    QTest::newRow("3 and 2") << "3" << "2" << " 6" << 377;
    QTest::newRow("7 and 7") << "7" << "7" << " 7" << 440;
    QTest::newRow("1 and 2") << "2" << "1" << " 2" << 126;
    QTest::newRow("typed numerator 2.5 enters kgV as 2") << "3" << "2.5" << " 6" << 377;
    QTest::newRow("leading blanks and trailing letters") << "  3x" << " 2 " << " 6" << 377;
    // clang-format on
}

void TestFrequencyFactor::closingCount()
{
    QFETCH(QString, denominator);
    QFETCH(QString, numerator);
    QFETCH(QString, kgv);
    QFETCH(int, segments);
    for (const bool denominatorLast : {false, true}) {
        FormFixture f;
        f.fake.putTexts({numerator.toStdString(), denominator.toStdString(), "1", "Hilfe"});
        const TextBox typed = denominatorLast ? TextBox::Denominator : TextBox::Numerator;
        const std::string entry =
            denominatorLast ? denominator.toStdString() : numerator.toStdString();
        f.fake.putText(typed, {});
        f.fake.type(typed, entry);
        QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::ClosingCount)), kgv);
        QCOMPARE(f.fake.figureSegmentCount(), segments);
        QCOMPARE(f.fake.count("clear"), 1);
    }
}

void TestFrequencyFactor::entriesReadOtherwise_data()
{
    QTest::addColumn<bool>("denominatorTyped");
    QTest::addColumn<QString>("entry"); // typed after a plain number in the other box
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<QString>("hint");

    // clang-format off
    QTest::newRow("numerator 1e1: an exponent is said") << false << "1e1" << "2" << " 10" << "„1e1“ wird als 10 gelesen.";
    QTest::newRow("numerator 3.2e1: read as 32") << false << "3.2e1" << "2" << " 32" << "„3.2e1“ wird als 32 gelesen.";
    QTest::newRow("numerator 3E2: read as 300") << false << "3E2" << "2" << " 300" << "„3E2“ wird als 300 gelesen.";
    QTest::newRow("denominator 1e1: read as 10") << true << "1e1" << "3" << " 30" << "„1e1“ wird als 10 gelesen.";
    QTest::newRow("numerator 25e-1: the decimal's note says it") << false << "25e-1" << "3" << " 6" << "„25e-1“ im Zähler: gerechnet wird mit 2,5 (wie 5 : 6); die Figur ist geschlossen.";
    QTest::newRow("numerator 3e: no exponent, the letter is left") << false << "3e" << "2" << " 6" << "„3e“ wird als 3 gelesen.";
    QTest::newRow("numerator 3: plain, no word") << false << "3" << "2" << " 6" << "Hilfe";
    // clang-format on
}

void TestFrequencyFactor::entriesReadOtherwise()
{
    QFETCH(bool, denominatorTyped);
    QFETCH(QString, entry);
    QFETCH(QString, other);
    QFETCH(QString, kgv);
    QFETCH(QString, hint);
    FormFixture f;
    const TextBox typed = denominatorTyped ? TextBox::Denominator : TextBox::Numerator;
    f.fake.putTexts({other.toStdString(), other.toStdString(), "1", "Hilfe"});
    f.fake.putText(typed, {});
    f.fake.type(typed, entry.toStdString());
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::ClosingCount)), kgv);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Hint)), hint);
}

void TestFrequencyFactor::refusedEntries_data()
{
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("hint");
    const QString domain = QString::fromUtf8(kRatioDomain);
    const QString tooLarge = QString::fromUtf8(kRatioTooLarge);

    // The whole domain stands in tst_kgv; here one entry for each way of refusing it.
    QTest::newRow("empty denominator") << ""
                                       << "1" << domain;
    QTest::newRow("numerator 0.4 rounds to 0") << "1"
                                               << "0.4" << domain;
    QTest::newRow("200 and 199: count 39800") << "200"
                                              << "199" << tooLarge;
}

void TestFrequencyFactor::refusedEntries()
{
    QFETCH(QString, denominator);
    QFETCH(QString, numerator);
    QFETCH(QString, hint);
    FormFixture f;
    f.fake.putTexts({"1", "1", " 1", "Hilfe"});
    f.fake.putText(TextBox::Numerator, numerator.toStdString());
    f.fake.type(TextBox::Denominator, denominator.toStdString());
    f.fake.type(TextBox::Denominator, denominator.toStdString() + " ");
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::ClosingCount)), " 1");
    QCOMPARE(f.fake.count("clear"), 0);
    QCOMPARE(f.fake.count("drawSegment"), 0);
    QCOMPARE(f.fake.count("drawFigure"), 0);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Hint)), hint);
}

void TestFrequencyFactor::validEntryPutsBackTheHint()
{
    FormFixture f;
    f.form.handle(Event::Label4_MouseMove);
    const std::string shown = f.fake.shownText(TextBox::Hint);
    f.fake.type(TextBox::Denominator, "");
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Hint)),
             QString::fromUtf8(kRatioDomain));
    // A redraw meanwhile draws the accepted 1 : 1 and keeps saying why the entry is refused.
    f.form.handle(Event::hscAmp1_Change);
    QCOMPARE(f.fake.figureSegmentCount(), 63);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Hint)),
             QString::fromUtf8(kRatioDomain));
    f.fake.type(TextBox::Denominator, "0");
    f.fake.type(TextBox::Denominator, "3");
    QCOMPARE(f.fake.shownText(TextBox::Hint), shown);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::ClosingCount)), " 3");
    // The plotter's own refusal of a typed closing count goes once the count is valid again.
    f.fake.type(TextBox::ClosingCount, "99999");
    f.form.handle(Event::Command1_Click);
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::Hint)),
             QString::fromUtf8(kKgvTooLarge));
    f.fake.type(TextBox::Numerator, "2");
    QCOMPARE(f.fake.shownText(TextBox::Hint), shown);
}

void TestFrequencyFactor::refusedEntryIsNeverUsed_data()
{
    QTest::addColumn<bool>("onNumerator");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Event>("trigger");
    QTest::newRow("numerator 0, then Korvelianfigur") << true << "0" << Event::Command1_Click;
    QTest::newRow("numerator 1e309, then a y phase step")
        << true << "1e309" << Event::hscPhase_Change;
    QTest::newRow("denominator 0.5, then an x amplitude step")
        << false << "0.5" << Event::hscAmp1_Change;
    QTest::newRow("denominator 32768, then an x phase drag")
        << false << "32768" << Event::HScroll1_Scroll;
}

void TestFrequencyFactor::refusedEntryIsNeverUsed()
{
    QFETCH(bool, onNumerator);
    QFETCH(QString, entry);
    QFETCH(Event, trigger);
    const TextBox box = onNumerator ? TextBox::Numerator : TextBox::Denominator;
    const TextBox other = onNumerator ? TextBox::Denominator : TextBox::Numerator;
    FormFixture accepted;
    accepted.fake.setScroll(ScrollBar::PhaseY, 100);
    accepted.fake.type(TextBox::Numerator, "3");
    accepted.fake.type(TextBox::Denominator, "2");
    FormFixture f;
    f.fake.setScroll(ScrollBar::PhaseY, 100);
    f.fake.type(TextBox::Numerator, "3");
    f.fake.type(TextBox::Denominator, "2");

    f.fake.type(box, entry.toStdString());
    QVERIFY(!f.fake.inUse(box));
    QVERIFY(f.fake.inUse(other));
    accepted.form.handle(trigger);
    f.form.handle(trigger);
    const QRegularExpression screen("^draw(Segment|Figure) picBildschirm");
    QCOMPARE(strings(f.fake.log()).filter(screen), strings(accepted.fake.log()).filter(screen));
    QVERIFY(f.fake.figures() == accepted.fake.figures());
    QCOMPARE(f.fake.shownText(TextBox::ClosingCount), " 6");
    QVERIFY(f.vars().t == accepted.vars().t);
    QVERIFY(f.vars().y == accepted.vars().y);

    f.fake.type(box, "5");
    QVERIFY(f.fake.inUse(TextBox::Numerator) && f.fake.inUse(TextBox::Denominator));
    QCOMPARE(f.fake.shownText(TextBox::ClosingCount), onNumerator ? " 10" : " 15");
}

void TestFrequencyFactor::animationFrameUsesTheAcceptedRatio()
{
    FormFixture f;
    f.fake.setScroll(ScrollBar::PhaseY, 100);
    f.fake.type(TextBox::Numerator, "3");
    f.fake.type(TextBox::Denominator, "2");
    f.fake.type(TextBox::Denominator, "0.5");
    f.fake.onPump = [&f](int n) { f.fake.setCheck(n == 1 ? 1 : 0); };
    f.form.handle(Event::Command2_Click);
    // The first frame, at t = 0: y = sin((0 + 1) * 3 / 2), not sin(1 * 3 / 0.5).
    QVERIFY(f.vars().y == std::sin((0 + 1.0) * 3 / 2));
}

void TestFrequencyFactor::largestCountDrawsOnce()
{
    FormFixture f;
    f.fake.type(TextBox::Denominator, "32767");
    QCOMPARE(QString::fromStdString(f.fake.shownText(TextBox::ClosingCount)), " 32767");
    QCOMPARE(f.fake.count("clear"), 1);
    QCOMPARE(f.fake.count("drawFigure"), 1);
    QVERIFY(f.fake.figureSegmentCount() > 2'058'000);
}

KORVELIAN_PLAIN_TEST(frequencyfactor, TestFrequencyFactor)
#include "tst_frequencyfactor.moc"
