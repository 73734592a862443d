#include "lesson/lessonfile.h"
#include "lesson/lessonlink.h"

#include "tests/testregistry.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace korvelian;

namespace {

// A lesson in which every value differs from the start values, and a second step that differs
// again.
Lesson twoSteps()
{
    LessonSettings first;
    first.title = "Einstieg: 3 : 2, schräg";
    first.numerator = 3;
    first.denominator = 2;
    first.amplitudeX = 150;
    first.phaseX = 52;
    first.amplitudeY = 75;
    first.phaseY = 157;
    first.speed = 0.1 * 1.1 * 1.1 * 0.9;
    first.beam = true;
    first.views.fill(true);
    first.driftSecondsPerTurn = 5;
    LessonSettings second = first;
    second.title = "";
    second.numerator = 32767;
    second.denominator = 1;
    second.phaseY = 628;
    second.amplitudeX = 0;
    second.setView(LessonView::Graticule, false);
    second.speed = kLargestSpeed;
    return {{first, second}};
}

// A file's text from its lines.
QByteArray file(const QStringList& lines)
{
    return (lines.join('\n') + '\n').toUtf8();
}

} // namespace

class TestLessonFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip();
    void everyBarPositionComesBack();
    void stepsStartFromTheOneBefore();
    void refused_data();
    void refused();
    void link();
};

void TestLessonFile::roundTrip()
{
    const Lesson lesson = twoSteps();
    const std::string text = writeLesson(lesson);
    const LessonReading read = readLesson(text);
    QVERIFY2(read.lesson, read.refusal.c_str());
    QCOMPARE(read.lesson->steps.size(), std::size_t(2));
    QVERIFY(read.lesson->steps[0] == lesson.steps[0]);
    QVERIFY(read.lesson->steps[1] == lesson.steps[1]);
    // One setting without a title has no step line; the window's start is the default.
    const std::string one = writeLesson({{LessonSettings{}}});
    QCOMPARE(QString::fromStdString(one),
             "Korvelian-Einstellungen 1\n"
             "# Korvelian-Figuren: Einstellungen, mit Bild auf/Bild ab Schritt für Schritt.\n"
             "ratio = 1:1\namplitude-x = 1\nphase-x = 0\namplitude-y = 1\nphase-y = 0\n"
             "speed = 0,1\nbeam = nein\nreading-aid = nein\nvalues = nein\ngraticule = nein\n"
             "y-up = nein\ntime-signals = nein\nafterglow = nein\ndrift = nein\n"
             "drift-seconds = 20\nEnde\n");
    QVERIFY(readLesson(one).lesson->steps.front() == LessonSettings{});
    // Windows line ends and a byte order mark, as an editor there may write them.
    std::string windows = "\xEF\xBB\xBF" + text;
    for (std::size_t at = windows.find('\n'); at != std::string::npos;
         at = windows.find('\n', at + 2))
        windows.insert(at, 1, '\r');
    QVERIFY(readLesson(windows).lesson->steps[1] == lesson.steps[1]);
}

// Phases are written in degrees, amplitudes in units, and the speed as a decimal: each must
// read back as the position it was written from.
void TestLessonFile::everyBarPositionComesBack()
{
    for (int first = 0; first <= 628; first += int(kMostLessonSteps)) {
        Lesson lesson;
        for (int position = first; position <= std::min(628, first + 199); ++position) {
            LessonSettings s;
            s.phaseX = position;
            s.phaseY = 628 - position;
            s.amplitudeX = position % 201;
            s.amplitudeY = 200 - position % 201;
            s.speed = 0.1 * std::pow(1.1, position % 25) * std::pow(0.9, position % 7);
            lesson.steps.push_back(s);
        }
        const LessonReading read = readLesson(writeLesson(lesson));
        QVERIFY2(read.lesson, read.refusal.c_str());
        for (std::size_t i = 0; i < lesson.steps.size(); ++i)
            QVERIFY2(read.lesson->steps[i] == lesson.steps[i], std::to_string(first + i).c_str());
    }
}

void TestLessonFile::stepsStartFromTheOneBefore()
{
    const QByteArray text = file({"Korvelian-Einstellungen 1", "ratio = 3:2", "reading-aid = ja",
                                  "[Phase 90°]", "phase-y = 90", "[]", "ratio=1:1", "Ende"});
    const LessonReading read = readLesson(text.toStdString());
    QVERIFY2(read.lesson, read.refusal.c_str());
    const auto& steps = read.lesson->steps;
    QCOMPARE(steps.size(), std::size_t(3));
    QCOMPARE(steps[0].title, "");
    QCOMPARE(steps[1].title, "Phase 90°");
    QCOMPARE(steps[1].numerator, 3);
    QCOMPARE(steps[1].phaseY, 157);
    QVERIFY(steps[1].view(LessonView::ReadingAid));
    QCOMPARE(steps[2].numerator, 1);
    QCOMPARE(steps[2].phaseY, 157);
    QCOMPARE(steps[0].amplitudeX, 100);
    QVERIFY(!steps[0].view(LessonView::Values));
}

void TestLessonFile::refused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("refusal");

    const QString v = "Korvelian-Einstellungen 1";
    // clang-format off
    QTest::newRow("bad line") << file({v, "ratio 3:2", "Ende"}) << "Zeile 2: „ratio 3:2“ ist keine Einstellung; erwartet wird Name = Wert.";
    QTest::newRow("unknown key") << file({v, "# Farbe", "", "farbe = grün", "Ende"}) << "Zeile 4: unbekannte Einstellung „farbe“.";
    QTest::newRow("amplitude 2,01") << file({v, "amplitude-x = 2,01", "Ende"}) << "Zeile 2: amplitude-x erwartet eine Zahl von 0 bis 2 mit höchstens zwei Nachkommastellen, etwa 1,5, nicht '2,01'.";
    QTest::newRow("amplitude with three decimals") << file({v, "amplitude-y = 1,255", "Ende"}) << "Zeile 2: amplitude-y erwartet eine Zahl von 0 bis 2 mit höchstens zwei Nachkommastellen, etwa 1,5, nicht '1,255'.";
    QTest::newRow("phase 400") << file({v, "phase-y = 400", "Ende"}) << "Zeile 2: phase-y erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '400'.";
    QTest::newRow("negative phase") << file({v, "phase-x = -10", "Ende"}) << "Zeile 2: phase-x erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '-10'.";
    QTest::newRow("ratio 0:1, as the boxes refuse it") << file({v, "ratio = 0:1", "Ende"}) << "Zeile 2: ratio 0:1: Zähler und Nenner: ganze Zahlen von 1 bis 32767 eingeben.";
    QTest::newRow("negative ratio, passed as typed by the link, refused as the boxes do") << file({v, "ratio = -3 : 2", "Ende"}) << "Zeile 2: ratio -3:2: Zähler und Nenner: ganze Zahlen von 1 bis 32767 eingeben.";
    QTest::newRow("ratio 200:199, kgV too large") << file({v, "ratio = 200:199", "Ende"}) << "Zeile 2: ratio 200:199: Das kgV von Zähler und Nenner darf höchstens 32767 sein.";
    QTest::newRow("ratio with a slash") << file({v, "ratio = 3/2", "Ende"}) << "Zeile 2: ratio erwartet Zähler:Nenner aus ganzen Zahlen, etwa 3:2, nicht '3/2'.";
    QTest::newRow("speed 0") << file({v, "speed = 0", "Ende"}) << "Zeile 2: speed erwartet den Schritt des Strahls je Bild von 0,001 bis 1, etwa 0,1, nicht „0“.";
    QTest::newRow("speed 1,01") << file({v, "speed = 1,01", "Ende"}) << "Zeile 2: speed erwartet den Schritt des Strahls je Bild von 0,001 bis 1, etwa 0,1, nicht „1,01“.";
    QTest::newRow("drift of 30 s, not offered") << file({v, "drift-seconds = 30", "Ende"}) << "Zeile 2: drift-seconds erwartet die Sekunden einer Umdrehung, 80, 40, 20, 10 oder 5, nicht „30“.";
    QTest::newRow("view neither yes nor no") << file({v, "graticule = vielleicht", "Ende"}) << "Zeile 2: graticule erwartet ja oder nein, nicht „vielleicht“.";
    QTest::newRow("twice in one step") << file({v, "[A]", "ratio = 3:2", "ratio = 2:3", "Ende"}) << "Zeile 4: ratio steht in diesem Schritt schon (Zeile 3).";
    QTest::newRow("truncated: no last line") << file({v, "ratio = 3:2", "phase-y = 9"}) << "Die Datei hört nach Zeile 3 ohne die Schlusszeile „Ende“ auf: sie ist unvollständig.";
    QTest::newRow("truncated in a step line") << QByteArray("Korvelian-Einstellungen 1\n[Ellip") << "Zeile 2: der Titel eines Schritts steht in eckigen Klammern, etwa [Ellipse].";
    QTest::newRow("future version") << file({"Korvelian-Einstellungen 2", "ratio = 3:2", "Ende"}) << "Zeile 1: Die Einstellungen haben die Version 2; dieses Programm liest nur Version 1. Bitte ein neueres Korvelian-Figuren verwenden.";
    QTest::newRow("another file") << file({"<html>", "Ende"}) << "Zeile 1: Das sind keine Einstellungen von Korvelian-Figuren: am Anfang muss „Korvelian-Einstellungen 1“ stehen.";
    QTest::newRow("something after the end") << file({v, "ratio = 3:2", "Ende", "phase-y = 90"}) << "Zeile 4: nach „Ende“ darf nichts mehr stehen.";
    QTest::newRow("no setting at all") << file({v, "Ende"}) << "Zeile 2: die Datei enthält keine Einstellung.";
    QTest::newRow("empty") << QByteArray("\n \n") << "Die Datei ist leer.";
    QTest::newRow("a zero byte") << QByteArray("Korvelian-Einstellungen 1\nratio = 3:2\0\nEnde\n", 42) << "Zeile 2: enthält Steuerzeichen: das ist keine Textdatei.";
    QTest::newRow("not UTF-8") << QByteArray("Korvelian-Einstellungen 1\n[Gr\xfc\xdf" "e]\nEnde\n") << "Zeile 2: ist kein gültiger UTF-8-Text.";
    QTest::newRow("a very long line") << file({v, "# " + QString(300, 'x'), "Ende"}) << "Zeile 2: ist länger als 200 Zeichen: das sind keine Einstellungen.";
    QTest::newRow("too many steps") << file(QStringList{v} + QStringList(201, "[]") + QStringList{"Ende"}) << "Zeile 202: mehr als 200 Schritte sind zu viel für eine Stunde.";
    QTest::newRow("larger than 256 KB") << QByteArray(v.toUtf8() + QByteArray(300 * 1024, '\n')) << "Die Datei ist größer als 256 KB: das sind keine Einstellungen.";
    // clang-format on
}

void TestLessonFile::refused()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, refusal);
    const LessonReading read = readLesson(std::string_view(text.constData(), text.size()));
    QVERIFY(!read.lesson);
    QCOMPARE(QString::fromStdString(read.refusal), refusal);
}

void TestLessonFile::link()
{
    const LessonSettings settings = twoSteps().steps[1];
    const std::string link = lessonLink(settings);
    QVERIFY(QString::fromStdString(link).startsWith("korvelian=1&ratio=32767:1&amplitude-x=0&"));
    LinkReading read = readLink(link);
    QVERIFY2(read.fault.empty(), read.fault.c_str());
    QVERIFY(read.step == settings);
    read = readLink("korvelian=1&ratio=3:2&phase-y=400");
    QCOMPARE(QString::fromStdString(read.fault),
             "phase-y erwartet einen Winkel in Grad von 0 bis 360, etwa 90, nicht '400'.");
    read = readLink("korvelian=2&ratio=3:2");
    QVERIFY(QString::fromStdString(read.fault).startsWith("Die Einstellungen haben die Version 2"));
}

KORVELIAN_PLAIN_TEST(lessonfile, TestLessonFile)
#include "tst_lessonfile.moc"
