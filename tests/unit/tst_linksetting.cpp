#include "tests/formfixture.h"
#include "lesson/lessonlink.h"

#include "tests/testregistry.h"

#include <QTest>

using namespace korvelian;

class TestLinkSetting : public QObject
{
    Q_OBJECT

private slots:
    void takenAsTheCommandLineTakesIt_data();
    void takenAsTheCommandLineTakesIt();
    void refusedAsTheCommandLineRefusesIt_data();
    void refusedAsTheCommandLineRefusesIt();
    void writtenAndReadBackToTheSameControls();
    void viewsFigureAndQuiz();
};

// The setting as one line: ratio, then bar=value in the order given, then y-up.
static QString described(const LinkSetting& s)
{
    QStringList parts;
    if (s.ratio)
        parts << QString::fromStdString(s.ratio->first + ":" + s.ratio->second);
    for (const auto& [bar, value] : s.values)
        parts << QStringLiteral("%1=%2").arg(static_cast<int>(bar)).arg(value);
    if (s.yUp)
        parts << "y-up";
    return parts.join(' ');
}

void TestLinkSetting::takenAsTheCommandLineTakesIt_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("setting");
    QTest::newRow("the issue's example") << "ratio=3:2&phase-y=45&y-up"
                                         << "3:2 3=79 y-up";
    QTest::newRow("encoded colon") << "ratio=3%3A2"
                                   << "3:2";
    QTest::newRow("amplitudes with comma and point") << "amplitude-x=1,5&amplitude-y=0.75"
                                                     << "0=150 2=75";
    QTest::newRow("amplitude at its largest") << "amplitude-x=2"
                                              << "0=200";
    QTest::newRow("a whole turn and a fraction of a degree") << "phase-x=360&phase-y=45.2637"
                                                             << "1=628 3=79";
    QTest::newRow("a refused ratio is typed, the form refuses it") << "ratio=40000:0"
                                                                   << "40000:0";
    QTest::newRow("empty parts between") << "&ratio=1:2&&"
                                         << "1:2";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestLinkSetting::takenAsTheCommandLineTakesIt()
{
    QFETCH(QString, fragment);
    QFETCH(QString, setting);
    const LinkReading reading = readLink(fragment.toStdString());
    QCOMPARE(QString::fromStdString(reading.fault), QString());
    QCOMPARE(described(reading.setting), setting);
}

void TestLinkSetting::refusedAsTheCommandLineRefusesIt_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("fault");
    QTest::newRow("letters in the ratio")
        << "ratio=abc"
        << "ratio erwartet Zähler:Nenner aus ganzen Zahlen, etwa 3:2, nicht 'abc'.";
    QTest::newRow("not a number")
        << "ratio=nan:1"
        << "ratio erwartet Zähler:Nenner aus ganzen Zahlen, etwa 3:2, nicht 'nan:1'.";
    QTest::newRow("script text, cut")
        << "ratio=%3Cscript%3Ealert(1)%3C/script%3E"
        << "ratio erwartet Zähler:Nenner aus ganzen Zahlen, etwa 3:2, nicht "
           "'<script>alert(1)</script…'.";
    QTest::newRow("amplitude beyond its bar")
        << "amplitude-y=2.01"
        << "amplitude-y erwartet eine Zahl von 0 bis 2 mit höchstens zwei Nachkommastellen, "
           "etwa 1,5, nicht '2.01'.";
    QTest::newRow("three decimals")
        << "amplitude-x=1.005"
        << "amplitude-x erwartet eine Zahl von 0 bis 2 mit höchstens zwei Nachkommastellen, "
           "etwa 1,5, nicht '1.005'.";
    QTest::newRow("phase beyond a turn")
        << "phase-x=361"
        << "phase-x erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '361'.";
    QTest::newRow("a huge phase")
        << "phase-y=1e308"
        << "phase-y erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '1e308'.";
    QTest::newRow("twice") << "ratio=1:2&ratio=3:2"
                           << "ratio darf nur einmal angegeben werden.";
    QTest::newRow("unknown") << "colour"
                             << "Unbekannte Angabe 'colour'.";
    QTest::newRow("y-up with a value") << "y-up=1"
                                       << "y-up erwartet ja oder nein, nicht „1“.";
    QTest::newRow("broken percent") << "ratio=3%3"
                                    << "Der Link ist nicht lesbar: ein % ohne zwei Ziffern danach.";
    QTest::newRow("ten thousand characters")
        << QString(10000, 'x') << "Der Link ist zu lang: höchstens 1000 Zeichen nach dem #.";
}

void TestLinkSetting::refusedAsTheCommandLineRefusesIt()
{
    QFETCH(QString, fragment);
    QFETCH(QString, fault);
    const LinkReading reading = readLink(fragment.toStdString());
    QCOMPARE(QString::fromStdString(reading.fault), fault);
    // Nothing of a refused link is taken.
    QCOMPARE(described(reading.setting), QString());
}

void TestLinkSetting::writtenAndReadBackToTheSameControls()
{
    FormFixture written;
    written.form.handle(Event::Form_Load);
    applyLink(readLink("ratio=7:5&amplitude-x=1.25&phase-x=33&amplitude-y=0.5&phase-y=270").setting,
              written.fake);
    const std::string fragment = linkFragment(written.fake, true);
    QCOMPARE(QString::fromStdString(fragment),
             "ratio=7:5&amplitude-x=1.25&phase-x=33.2316&amplitude-y=0.5&phase-y=269.8631&y-up");
    FormFixture read;
    read.form.handle(Event::Form_Load);
    const LinkReading reading = readLink(fragment);
    applyLink(reading.setting, read.fake);
    QVERIFY(reading.setting.yUp);
    for (const TextBox box : {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount})
        QCOMPARE(read.fake.text(box), written.fake.text(box));
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY})
        QCOMPARE(read.fake.scrollValue(bar), written.fake.scrollValue(bar));
    // At the start nothing differs: an empty fragment.
    FormFixture start;
    start.form.handle(Event::Form_Load);
    QCOMPARE(QString::fromStdString(linkFragment(start.fake, false)), QString());
}

// A link names what a lesson file's step names, in the same words, and the quiz's options as
// the command line does.
void TestLinkSetting::viewsFigureAndQuiz()
{
    LinkReading reading =
        readLink("ratio=3:2&graticule&values=nein&drift-seconds=5&textbook&fine&quiz&"
                 "seed=4294967295&quiz-range=6&quiz-phases&quiz-tolerance=45");
    QCOMPARE(QString::fromStdString(reading.fault), QString());
    QVERIFY(reading.step.view(LessonView::Graticule) && !reading.step.view(LessonView::Values));
    QVERIFY(reading.names("values") && !reading.names("reading-aid"));
    QCOMPARE(reading.step.driftSecondsPerTurn, 5.0);
    QCOMPARE(reading.step.numerator * 10 + reading.step.denominator, 32);
    QVERIFY(reading.textbook && reading.fine && reading.quiz);
    QCOMPARE(reading.quiz->seed.value_or(0), 4294967295u);
    QCOMPARE(reading.quiz->range.largest, 6);
    QVERIFY(reading.quiz->range.phases && !reading.quiz->range.amplitudes);
    QCOMPARE(reading.quiz->range.toleranceDegrees, 45);
    // Written back as read, the start's range left out.
    QCOMPARE(QString::fromStdString(quizLink(*reading.quiz)),
             QString("quiz&seed=4294967295&quiz-range=6&quiz-phases&quiz-tolerance=45"));
    QCOMPARE(QString::fromStdString(quizLink({QuizRange{4, false, true, 10}, 3})),
             QString("quiz&seed=3&quiz-amplitudes"));
    // Refused with the command line's words; nothing of it kept.
    for (const auto& [fragment, fault] :
         {std::pair("quiz&seed=4294967296",
                    "seed erwartet eine ganze Zahl von 0 bis 4294967295, nicht '4294967296'."),
          std::pair("quiz&quiz-range=5",
                    "quiz-range erwartet 4 oder 6 (Verhältnisse bis 4 : 4 oder 6 : 6), nicht '5'."),
          std::pair("textbook=ja", "textbook steht ohne Wert."),
          std::pair("speed",
                    "speed erwartet den Schritt des Strahls je Bild von 0,001 bis 1, etwa 0,1, "
                    "nicht „“.")}) {
        reading = readLink(fragment);
        QCOMPARE(QString::fromUtf8(reading.fault.c_str()), QString::fromUtf8(fault));
        QVERIFY(!reading.quiz && !reading.textbook);
    }
}

KORVELIAN_PLAIN_TEST(linksetting, TestLinkSetting)
#include "tst_linksetting.moc"
