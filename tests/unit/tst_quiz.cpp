#include "lesson/quiz.h"
#include "lesson/quizseries.h"

#include "handlers/messages.h"
#include "model/barvalues.h"
#include "model/seededpick.h"
#include "tests/lessonchecks.h"
#include "tests/testregistry.h"

#include <QTest>

#include <numeric>
#include <set>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::Verdict)

namespace {

// The quiz of a seed, moved on to the first figure of this ratio (and y phase, in degrees).
Quiz quizAt(int numerator, int denominator, int phaseDegrees = -1)
{
    Quiz quiz({4, phaseDegrees >= 0, false, 10}, 7);
    while (quiz.question().numerator != numerator || quiz.question().denominator != denominator ||
           (phaseDegrees >= 0 && quiz.question().phaseY != phaseBarValue(phaseDegrees)))
        quiz.next();
    return quiz;
}

} // namespace

class TestQuiz : public QObject
{
    Q_OBJECT

private slots:
    void sameSeriesEverywhere();
    void picksOnlyFromTheRange_data();
    void picksOnlyFromTheRange();
    void judged_data();
    void judged();
    void scoreCountsEachFigureOnce();
    void rangeChecked();
    void seriesPrintedForTheTeacher();
};

void TestQuiz::sameSeriesEverywhere()
{
    const std::string failure = checkQuizSeries();
    QVERIFY2(failure.empty(), failure.c_str());
    Quiz other({4, false, false, 10}, 8);
    Quiz seven({4, false, false, 10}, 7);
    int differing = 0;
    for (int i = 0; i < 8; ++i)
        differing += other.next() == seven.next() ? 0 : 1;
    QVERIFY(differing > 0);
}

void TestQuiz::picksOnlyFromTheRange_data()
{
    QTest::addColumn<int>("largest");
    QTest::addColumn<bool>("phases");
    QTest::addColumn<bool>("amplitudes");
    QTest::addColumn<int>("ratios");

    // The ratios in lowest terms: 11 up to 4 : 4, 23 up to 6 : 6.
    QTest::newRow("up to 4 : 4, nothing else varied") << 4 << false << false << 11;
    QTest::newRow("up to 6 : 6 with phases and amplitudes") << 6 << true << true << 23;
}

void TestQuiz::picksOnlyFromTheRange()
{
    QFETCH(int, largest);
    QFETCH(bool, phases);
    QFETCH(bool, amplitudes);
    QFETCH(int, ratios);
    Quiz quiz({largest, phases, amplitudes, 10}, 12345);
    std::set<std::pair<int, int>> seen;
    std::set<int> phasesSeen;
    QuizQuestion last = quiz.question();
    for (int i = 0; i < 2000; ++i) {
        const QuizQuestion q = i == 0 ? quiz.question() : quiz.next();
        QVERIFY(q.numerator >= 1 && q.numerator <= largest);
        QVERIFY(q.denominator >= 1 && q.denominator <= largest);
        QCOMPARE(std::gcd(q.numerator, q.denominator), 1);
        if (i > 0)
            QVERIFY(q.numerator != last.numerator || q.denominator != last.denominator);
        const double degrees = phaseDegrees(q.phaseY);
        QVERIFY(phases ? degrees >= 0 && degrees <= 180.1 : q.phaseY == 0);
        QVERIFY(phases || !q.asksPhase);
        QCOMPARE(q.asksPhase, phases && q.numerator == 1 && q.denominator == 1);
        for (const int amplitude : {q.amplitudeX, q.amplitudeY})
            QVERIFY(amplitudes ? amplitude >= 50 && amplitude <= 200 && amplitude % 25 == 0
                               : amplitude == 100);
        QCOMPARE(q.phaseX, 0);
        seen.insert({q.numerator, q.denominator});
        phasesSeen.insert(q.phaseY);
        last = q;
    }
    QCOMPARE(int(seen.size()), ratios);
    QCOMPARE(int(phasesSeen.size()), phases ? 13 : 1);
}

void TestQuiz::judged_data()
{
    QTest::addColumn<int>("numerator");
    QTest::addColumn<int>("denominator");
    QTest::addColumn<int>("phase"); // degrees of the y bar, -1: no phases in the range
    QTest::addColumn<QString>("ratioAnswer");
    QTest::addColumn<QString>("phaseAnswer");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<QString>("explanation");

    const QString threeTwo = "3 Berührpunkte oben, 2 rechts: <i>f</i><sub>y</sub> : "
                             "<i>f</i><sub>x</sub> = 3 : 2.";
    // clang-format off
    QTest::newRow("3 : 2 right") << 3 << 2 << -1 << "3 : 2" << "" << Verdict::Right << "Richtig! " + threeTwo;
    QTest::newRow("3:2 without blanks") << 3 << 2 << -1 << " 3:2 " << "" << Verdict::Right << "Richtig! " + threeTwo;
    QTest::newRow("3/2 with a slash") << 3 << 2 << -1 << "3/2" << "" << Verdict::Right << "Richtig! " + threeTwo;
    QTest::newRow("6 : 4 unreduced") << 3 << 2 << -1 << "6 : 4" << "" << Verdict::Unreduced << "Richtig, nur noch kürzen: 6 : 4 = 3 : 2. " + threeTwo;
    QTest::newRow("2 : 4 for 1 : 2, unreduced") << 1 << 2 << -1 << "2 : 4" << "" << Verdict::Unreduced << "Richtig, nur noch kürzen: 2 : 4 = 1 : 2. ";
    QTest::newRow("2 : 3 swapped") << 3 << 2 << -1 << "2 : 3" << "" << Verdict::Wrong << "Falsch: Zähler und Nenner sind vertauscht. Die Berührpunkte oben zählen für <i>f</i><sub>y</sub>, die rechts für <i>f</i><sub>x</sub>: " + threeTwo;
    QTest::newRow("4 : 6 swapped and unreduced is wrong") << 3 << 2 << -1 << "4 : 6" << "" << Verdict::Wrong << "Falsch, gesucht war 3 : 2. " + threeTwo;
    QTest::newRow("1 : 3 wrong") << 3 << 2 << -1 << "1 : 3" << "" << Verdict::Wrong << "Falsch, gesucht war 3 : 2. " + threeTwo;
    QTest::newRow("words") << 3 << 2 << -1 << "drei zu zwei" << "" << Verdict::Refused << "Bitte das Verhältnis als Zähler : Nenner eingeben, etwa 3 : 2.";
    QTest::newRow("one number") << 3 << 2 << -1 << "3" << "" << Verdict::Refused << "Bitte das Verhältnis als Zähler : Nenner eingeben, etwa 3 : 2.";
    QTest::newRow("negative") << 3 << 2 << -1 << "-3 : 2" << "" << Verdict::Refused << "Bitte das Verhältnis als Zähler : Nenner eingeben, etwa 3 : 2.";
    QTest::newRow("a decimal") << 3 << 2 << -1 << "1,5 : 1" << "" << Verdict::Refused << "Bitte das Verhältnis als Zähler : Nenner eingeben, etwa 3 : 2.";
    QTest::newRow("0 : 2, as the boxes refuse it") << 3 << 2 << -1 << "0 : 2" << "" << Verdict::Refused << kRatioDomain;
    QTest::newRow("32768 : 1, as the boxes refuse it") << 3 << 2 << -1 << "32768 : 1" << "" << Verdict::Refused << kRatioDomain;
    QTest::newRow("200 : 199, kgV too large") << 3 << 2 << -1 << "200 : 199" << "" << Verdict::Refused << kRatioTooLarge;
    QTest::newRow("1 : 1 at 45°, 45 right") << 1 << 1 << 45 << "1 : 1" << "45" << Verdict::Right << "Richtig! sin <i>φ</i> = <i>y</i><sub>0</sub> / <i>y</i><sub>max</sub> = 0,710 → <i>φ</i> = 45,3° (eingestellt: 45,3°).";
    QTest::newRow("1 : 1 at 45°, 54,5° within 10°") << 1 << 1 << 45 << "1:1" << "54,5°" << Verdict::Right << "Richtig! sin";
    QTest::newRow("1 : 1 at 45°, 56° beyond 10°") << 1 << 1 << 45 << "1 : 1" << "56" << Verdict::Wrong << "Das Verhältnis <i>f</i><sub>y</sub> : <i>f</i><sub>x</sub> = 1 : 1 stimmt, die Phase nicht: 56° liegt mehr als 10° daneben. sin";
    QTest::newRow("1 : 1 at 135°, 45 has the wrong tilt") << 1 << 1 << 135 << "1 : 1" << "45" << Verdict::Wrong << "Das Verhältnis";
    QTest::newRow("2 : 2 at 45°, unreduced with the phase") << 1 << 1 << 45 << "2 : 2" << "45" << Verdict::Unreduced << "Richtig, nur noch kürzen: 2 : 2 = 1 : 1. sin";
    QTest::newRow("1 : 1 without the phase") << 1 << 1 << 45 << "1 : 1" << " " << Verdict::Refused << "Bei 1 : 1 gehört die Phase dazu: bitte auch sie in Grad eingeben.";
    QTest::newRow("phase 181") << 1 << 1 << 45 << "1 : 1" << "181" << Verdict::Refused << "Die Phase bitte in Grad von 0 bis 180 eingeben, etwa 45.";
    QTest::newRow("phase as a word") << 1 << 1 << 45 << "1 : 1" << "flach" << Verdict::Refused << "Die Phase bitte in Grad von 0 bis 180 eingeben, etwa 45.";
    QTest::newRow("wrong ratio, no phase needed") << 1 << 1 << 45 << "1 : 2" << "" << Verdict::Wrong << "Falsch, gesucht war 1 : 1. ";
    // clang-format on
}

void TestQuiz::judged()
{
    QFETCH(int, numerator);
    QFETCH(int, denominator);
    QFETCH(int, phase);
    QFETCH(QString, ratioAnswer);
    QFETCH(QString, phaseAnswer);
    QFETCH(Verdict, verdict);
    QFETCH(QString, explanation);
    Quiz quiz = quizAt(numerator, denominator, phase);
    const Judgement j = quiz.judge(ratioAnswer.toStdString(), phaseAnswer.toStdString());
    QCOMPARE(j.verdict, verdict);
    QVERIFY2(QString::fromStdString(j.explanation).startsWith(explanation), j.explanation.c_str());
    QCOMPARE(quiz.judged(), verdict != Verdict::Refused);
}

void TestQuiz::scoreCountsEachFigureOnce()
{
    Quiz quiz({4, false, false, 10}, 7);
    QCOMPARE(quiz.scoreText(), "0 von 0 richtig");
    // 1 : 4 first (see the series): right, then again, then a refusal, then wrong.
    QCOMPARE(quiz.judge("1 : 4", "").verdict, Verdict::Right);
    const Judgement again = quiz.judge("1 : 4", "");
    QCOMPARE(again.verdict, Verdict::Refused);
    QCOMPARE(again.explanation, "Diese Figur ist schon beurteilt: weiter mit „Nächste Figur“.");
    quiz.next();
    QCOMPARE(quiz.judge("x", "").verdict, Verdict::Refused);
    QCOMPARE(quiz.judge("1 : 3", "").verdict, Verdict::Wrong);
    quiz.next();
    QCOMPARE(quiz.judge("8 : 2", "").verdict, Verdict::Unreduced);
    QCOMPARE(quiz.number(), 3);
    QCOMPARE(quiz.answered(), 3);
    QCOMPARE(quiz.right(), 2);
    QCOMPARE(quiz.scoreText(), "2 von 3 richtig");
}

void TestQuiz::rangeChecked()
{
    QVERIFY(checkQuizRange({4, true, true, 10}).empty());
    QVERIFY(checkQuizRange({6, false, false, 1}).empty());
    QVERIFY(checkQuizRange({6, false, false, 45}).empty());
    QCOMPARE(checkQuizRange({5, false, false, 10}),
             "Die Verhältnisse reichen bis 4 : 4 oder bis 6 : 6.");
    QCOMPARE(checkQuizRange({4, true, false, 0}),
             "Die Toleranz der Phase liegt zwischen 1° und 45°.");
    QCOMPARE(checkQuizRange({4, true, false, 46}),
             "Die Toleranz der Phase liegt zwischen 1° und 45°.");
}

// The line --quiz-series prints, and the page's test compares: what the class should answer.
void TestQuiz::seriesPrintedForTheTeacher()
{
    const QuizQuestion q{3, 2, 150, 0, 100, 157, false};
    QCOMPARE(QString::fromStdString(quizFigureLine(2, q)),
             QString::fromUtf8(
                 "Figur 2: 3 : 2, Amplitude x 1,5, Phase x 0°, Amplitude y 1, Phase y 90°"));
    QuizRange range;
    range.phases = true;
    const QStringList lines = QString::fromStdString(quizSeries(range, 7, 3)).split('\n');
    Quiz quiz(range, 7);
    quiz.next();
    quiz.next();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[2], QString::fromStdString(quizFigureLine(3, quiz.question())));
}

KORVELIAN_PLAIN_TEST(quiz, TestQuiz)
#include "tst_quiz.moc"
