#include "model/barvalues.h"
#include "model/constants.h"
#include "form/form1.h"
#include "widgets/helpwindow.h"
#include "form/layout.h"
#include "widgets/picturearea.h"
#include "widgets/presetmenus.h"
#include "picture/pictureexporter.h"
#include "widgets/scrollreadout.h"
#include "handlers/soundoutput.h"
#include "widgets/timesignalview.h"
#include "app/modulelibrary.h"
#include "app/toneloader.h"
#include "app/tonestream.h"
#include "app/viewactions.h"
#include "tests/windowfixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QLocale>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <numbers>

using namespace korvelian;

namespace {

QAction* entry(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no menu entry %s", qPrintable(text));
}

QAction* screenEntry(WindowFixture& f, const QString& text)
{
    for (QAction* action : f.control("picBildschirm")->actions()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no screen entry %s", qPrintable(text));
}

struct LastTone : SoundOutput
{
    ToneSettings settings;
    void play(const ToneSettings& played) override { settings = played; }
    void fadeOut() override {}
    void endNow() override {}
};

const Parameter& figureParameters(WindowFixture& f)
{
    return f.control<PictureArea>("picBildschirm")->drawing().back().parameters;
}

} // namespace

class TestViewControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readoutText_data();
    void readoutText();
    void readoutBesideTheBar();
    void readoutNeverOverTheScreen();
    void readoutGoesAfterAValueFromTheMenu();
    void barPresets_data();
    void barPresets();
    void ratioPresetActsAsTyped();
    void resetPutsTheSixControlsBack();
    void aboutNamesTheProgramAsTheDesktopEntry();
    void helpOpensWithF1AndGoesWithEscape();
    void helpStatesTheProgramsNumbers_data();
    void helpStatesTheProgramsNumbers();
    void soundEntryWithAndWithoutOutput();
    void failedStreamFadesNothing();
    void soundLibraryMissingSaysSo_data();
    void soundLibraryMissingSaysSo();
    void keysWorkInTheTimeSignalsWindow();
};

void TestViewControls::initTestCase()
{
    // No audio server answers here, whatever the machine runs.
    qputenv("PULSE_SERVER", "unix:/nonexistent/korvelian-test");
}

void TestViewControls::readoutText_data()
{
    QTest::addColumn<QString>("ratio"); // numerator and denominator as typed, in this order
    QTest::addColumn<QString>("bar");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("amplitude x 0") << "1:1" << "hscAmp1" << 0 << "Amplitude x: 0,00";
    QTest::newRow("amplitude y 150") << "1:1" << "hscAmp2" << 150 << "Amplitude y: 1,50";
    QTest::newRow("amplitude x 200") << "1:1" << "hscAmp1" << 200 << "Amplitude x: 2,00";
    QTest::newRow("phase x 0, exact") << "1:1" << "HScroll1" << 0 << "Phase x: 0,00 rad = 0,0°";
    QTest::newRow("phase x 1") << "1:1" << "HScroll1" << 1 << "Phase x: 0,01 rad ≈ 0,6°";
    QTest::newRow("phase y 157, a right angle") << "1:1" << "hscPhase" << 157 << "Phase y: 1,57 rad ≈ 90,0°";
    QTest::newRow("phase y 628, the end") << "1:1" << "hscPhase" << 628 << "Phase y: 6,28 rad ≈ 359,8°";
    QTest::newRow("phase y 79 at 2 : 1, the parabola") << "2:1" << "hscPhase" << 79 << "Phase y: 0,79 rad ≈ 45,3° (Phase der y-Schwingung: 90,5°)";
    QTest::newRow("phase y 79 at 3 : 2") << "3:2" << "hscPhase" << 79 << "Phase y: 0,79 rad ≈ 45,3° (Phase der y-Schwingung: 67,9°)";
    QTest::newRow("phase y 314 at 3 : 1, past a whole turn") << "3:1" << "hscPhase" << 314 << "Phase y: 3,14 rad ≈ 179,9° (Phase der y-Schwingung: 179,7°)";
    QTest::newRow("phase y 157 at 2 : 2, equal frequencies") << "2:2" << "hscPhase" << 157 << "Phase y: 1,57 rad ≈ 90,0°";
    QTest::newRow("phase x at 2 : 1, its own phase") << "2:1" << "HScroll1" << 157 << "Phase x: 1,57 rad ≈ 90,0°";
    QTest::newRow("refused denominator after 2 : 1, the ratio in use") << "2:0" << "hscPhase" << 79 << "Phase y: 0,79 rad ≈ 45,3° (Phase der y-Schwingung: 90,5°)";
    // clang-format on
}

// What the label beside the bar shows, the bar's accessible value and the print caption.
void TestViewControls::readoutText()
{
    QFETCH(QString, ratio);
    QFETCH(QString, bar);
    QFETCH(int, value);
    QFETCH(QString, text);
    WindowFixture f;
    f.control<QLineEdit>("txtZaehler")->setText(ratio.section(':', 0, 0));
    f.control<QLineEdit>("txtNenner")->setText(ratio.section(':', 1, 1));
    auto* scrollBar = f.control<QScrollBar>(bar.toUtf8().constData());
    // A change shows the readout, also of the value the bar starts with.
    scrollBar->setValue(value + 1);
    scrollBar->setValue(value);
    QCOMPARE(f.window.readout().label().text(), text);
    QCOMPARE(QAccessible::queryAccessibleInterface(scrollBar)->text(QAccessible::Value), text);
    const QString caption =
        PictureExporter::parameterLines(f.control<PictureArea>("picBildschirm")->picture())
            .join('\n');
    QVERIFY2(caption.contains(text), qPrintable(caption));
}

void TestViewControls::readoutBesideTheBar()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* bar = f.control<QScrollBar>("hscPhase");
    // A click on the bar's right arrow steps it by one.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 3, bar->height() / 2));
    const QLabel& label = f.window.readout().label();
    QVERIFY(label.isVisible());
    QCOMPARE(label.text(), "Phase y: 0,01 rad ≈ 0,6°");
    const QRect screen = f.control("picBildschirm")->geometry();
    QVERIFY(!label.geometry().intersects(screen));
    QVERIFY(label.geometry().bottom() <= bar->mapTo(&f.window, QPoint(0, 0)).y());
    QCOMPARE(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Value), label.text());
}

namespace {

// Every place and size a widget is given, as it is given.
struct PlacesSeen : QObject
{
    explicit PlacesSeen(QWidget& watched) : widget(watched) { watched.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
            seen << widget.geometry();
        return false;
    }
    QWidget& widget;
    QList<QRect> seen;
};

} // namespace

// A text wrapped to the room left of the screen, not even on its way to its size over the screen:
// the screen beneath would be painted again at every step of a drifting phase.
void TestViewControls::readoutNeverOverTheScreen()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.control<QLineEdit>("txtZaehler")->setText("3");
    f.control<QLineEdit>("txtNenner")->setText("2");
    auto* bar = f.control<QScrollBar>("hscPhase");
    auto& label = const_cast<QLabel&>(f.window.readout().label());
    const QRect screen = f.control("picBildschirm")->geometry();
    PlacesSeen places(label);
    for (int value = 100; value < 110; ++value)
        bar->setValue(value);
    QVERIFY(!places.seen.isEmpty());
    for (const QRect& place : places.seen)
        QVERIFY(!place.intersects(screen));
}

// The bar still believes the pointer is over it after its menu, which it never saw leave; the
// readout goes all the same once the pointer is elsewhere.
void TestViewControls::readoutGoesAfterAValueFromTheMenu()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* bar = f.control<QScrollBar>("hscPhase");
    bar->setAttribute(Qt::WA_UnderMouse, true);
    QCursor::setPos(f.control("picBildschirm")->mapToGlobal(QPoint(200, 200)));
    bar->setValue(157);
    const QLabel& label = f.window.readout().label();
    QVERIFY(label.isVisible());
    QTRY_VERIFY(!label.isVisible());
}

void TestViewControls::barPresets_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("preset");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("parameter"); // 0 a1, 1 p1, 2 a2, 3 p2
    // clang-format off
    QTest::newRow("phase y 90°") << "hscPhase" << "90°" << 157 << 3;
    QTest::newRow("phase x 270°") << "HScroll1" << "270°" << 471 << 1;
    QTest::newRow("phase x 45°") << "HScroll1" << "45°" << 79 << 1;
    QTest::newRow("phase y 30°") << "hscPhase" << "30°" << 52 << 3;
    QTest::newRow("phase x 60°") << "HScroll1" << "60°" << 105 << 1;
    QTest::newRow("phase y 120°") << "hscPhase" << "120°" << 209 << 3;
    QTest::newRow("phase y 150°") << "hscPhase" << "150°" << 262 << 3;
    QTest::newRow("amplitude x 0,5") << "hscAmp1" << "0,5" << 50 << 0;
    QTest::newRow("amplitude y 2,0, the bar without a handler of its own") << "hscAmp2" << "2,0" << 200 << 2;
    // clang-format on
}

// A preset sets the bar as a click would, and the figure is drawn anew with the value.
void TestViewControls::barPresets()
{
    QFETCH(QString, bar);
    QFETCH(QString, preset);
    QFETCH(int, value);
    QFETCH(int, parameter);
    WindowFixture f;
    auto* scrollBar = f.control<QScrollBar>(bar.toUtf8().constData());
    entry(f.window.presetMenus().menuFor(scrollBar), preset)->trigger();
    QCOMPARE(scrollBar->value(), value);
    const Parameter& p = figureParameters(f);
    const double drawn[] = {p.amplitudeX, p.phaseX, p.amplitudeY, p.phaseY};
    QCOMPARE(drawn[parameter], value / 100.0);
}

void TestViewControls::ratioPresetActsAsTyped()
{
    WindowFixture typed;
    QTest::keyClick(typed.control("txtZaehler"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(typed.control("txtZaehler"), "2");
    QTest::keyClick(typed.control("txtNenner"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(typed.control("txtNenner"), "3");

    WindowFixture chosen;
    entry(chosen.window.presetMenus().menuFor(chosen.control("txtNenner")), "2:3")->trigger();
    QCOMPARE(chosen.text("txtZaehler"), "2");
    QCOMPARE(chosen.text("txtNenner"), "3");
    QCOMPARE(chosen.text("txtkgV"), " 6");
    QCOMPARE(figureParameters(chosen).numerator, 2.0);
    QCOMPARE(figureParameters(chosen).denominator, 3.0);
    QVERIFY(chosen.control<PictureArea>("picBildschirm")->image() ==
            typed.control<PictureArea>("picBildschirm")->image());
}

// Through the screen's menu, and through the controls' own handlers: the figure drawn is the
// start-up one again, and a refused entry goes with its message.
void TestViewControls::resetPutsTheSixControlsBack()
{
    WindowFixture f;
    const QImage startUp = f.control<PictureArea>("picBildschirm")->image().copy();
    for (const char* bar : {"hscAmp1", "HScroll1", "hscAmp2", "hscPhase"})
        f.control<QScrollBar>(bar)->setValue(37);
    f.control<QLineEdit>("txtZaehler")->setText("3");
    f.control<QLineEdit>("txtNenner")->setText("0");
    QVERIFY(f.text("txtHilfe") != "Hilfe");
    screenEntry(f, "Zurücksetzen")->trigger();
    for (const ControlLayout& row : kControls) {
        if (row.kind == ControlKind::ScrollBar)
            QCOMPARE(f.control<QScrollBar>(row.name)->value(), row.value);
    }
    QCOMPARE(f.text("txtZaehler"), "1");
    QCOMPARE(f.text("txtNenner"), "1");
    QCOMPARE(f.text("txtkgV"), " 1");
    QCOMPARE(f.text("txtHilfe"), "Hilfe");
    QVERIFY(f.control<PictureArea>("picBildschirm")->image() == startUp);
}

void TestViewControls::aboutNamesTheProgramAsTheDesktopEntry()
{
    const QString name = QSettings(KORVELIAN_DESKTOP_FILE, QSettings::IniFormat)
                             .value("Desktop Entry/Name")
                             .toString();
    QCOMPARE(name, "Korvelian-Figuren");
    WindowFixture f;
    QString title;
    QTimer::singleShot(0, [&title] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->accept();
        }
    });
    screenEntry(f, "Über " + name)->trigger();
    QCOMPARE(title, "Über " + name);
}

void TestViewControls::helpOpensWithF1AndGoesWithEscape()
{
    WindowFixture f;
    QVERIFY(f.show());
    QTest::keyClick(&f.window, Qt::Key_F1);
    auto* help = f.window.findChild<QWidget*>("help");
    QVERIFY(help);
    QTRY_VERIFY(help->isVisible());
    QTest::keyClick(help, Qt::Key_Escape);
    QTRY_VERIFY(!help->isVisible());
    QVERIFY(f.window.isVisible());
}

void TestViewControls::soundEntryWithAndWithoutOutput()
{
    WindowFixture f;
    QVERIFY(f.show());
    QAction* sound = screenEntry(f, "Ton");
    QAction* base = screenEntry(f, "Grundfrequenz");
    QTRY_COMPARE(sound->toolTip(), "Kein Ton: Es gibt keinen Audioausgang (kein Gerät, oder der "
                                   "Audioserver antwortet nicht).");
    QVERIFY(!sound->isEnabled());
    QVERIFY(!base->isEnabled());
    QTest::keyClick(&f.window, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(!f.window.form().sound().on());
    auto* mark = f.window.findChild<QLabel*>("soundMark");
    QVERIFY(mark);
    QVERIFY(!mark->isVisible());

    // Where there is an output, Ctrl+T ticks the sound and the submenu sets its pitch.
    LastTone output;
    f.window.form().sound().setOutput(&output);
    f.window.viewActions().setSoundAvailable(true, {});
    QVERIFY(sound->toolTip().startsWith("x links, y rechts"));
    QTest::keyClick(&f.window, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(sound->isChecked());
    QCOMPARE(output.settings.frequencyX, 220.0);
    // While it plays the window says so, beside "Korvelianfigur", never on the screen.
    QVERIFY(mark->isVisible());
    QCOMPARE(mark->text(), "♪ Ton");
    QVERIFY(!mark->geometry().intersects(f.control("picBildschirm")->geometry()));
    QVERIFY(!mark->geometry().intersects(f.control("Command1")->geometry()));
    QVERIFY(!mark->geometry().intersects(f.control("Check1")->geometry()));
    entry(base->menu(), "440 Hz")->trigger();
    QCOMPARE(output.settings.frequencyX, 440.0);
    // An output that goes unticks the sound.
    f.window.viewActions().setSoundAvailable(false, "weg");
    QVERIFY(!sound->isChecked());
    QVERIFY(!mark->isVisible());
    QVERIFY(!f.window.form().sound().on());
    QCOMPARE(base->toolTip(), "weg");
}

// Unticking after the output failed opens no sink for a fade, which would fail again and say
// something else than why the sound went.
void TestViewControls::failedStreamFadesNothing()
{
    ToneStream stream;
    QSignalSpy said(&stream, &ToneStream::availabilityChanged);
    stream.play({220, 330, 0.25, 0.25, 0, 0});
    QTRY_COMPARE(said.count(), 1);
    QCOMPARE(said.at(0).at(0).toBool(), false);
    stream.fadeOut();
    stream.endNow();
    QVERIFY(!QTest::qWaitFor([&said] { return said.count() > 1; }, 500));
}

// The sound's library is loaded on first use: one that is not there, or is no library, leaves
// the program without sound and says so as for a missing output, whatever was played meanwhile.
void TestViewControls::soundLibraryMissingSaysSo_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("no such file") << QByteArray();
    QTest::newRow("a file that is no library") << QByteArray("not a library");
}

void TestViewControls::soundLibraryMissingSaysSo()
{
    QFETCH(QByteArray, content);
    static QTemporaryDir folder;
    static const bool added = (ModuleLibrary::addFolder(folder.path()), true);
    QVERIFY(added);
    const QString name = QStringLiteral("korvelian-test-%1").arg(QTest::currentDataTag()[0]);
    if (!content.isEmpty()) {
        QFile file(folder.filePath(name + ".so"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ToneLoader loader(nullptr, name);
    QSignalSpy said(&loader, &ToneLoader::availabilityChanged);
    loader.play({220, 330, 0.25, 0.25, 0, 0});
    QTRY_COMPARE(said.count(), 1);
    QCOMPARE(said.at(0).at(0).toBool(), false);
    QCOMPARE(said.at(0).at(1).toString(), "Kein Ton: Es gibt keinen Audioausgang (kein Gerät, "
                                          "oder der Audioserver antwortet nicht).");
    loader.play({220, 330, 0.25, 0.25, 0, 0});
    loader.probe();
    loader.endNow();
    QVERIFY(!QTest::qWaitFor([&said] { return said.count() > 1; }, 300));
}

void TestViewControls::helpStatesTheProgramsNumbers_data()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    const int phaseEnd = control("hscPhase").maximum;
    QTest::addColumn<QString>("stated");
    QTest::newRow("amplitude up to the bar's end")
        << QString("von 0 bis %1").arg(barUnits(control("hscAmp1").maximum));
    QTest::newRow("the frame's edges") << QString("von −%1 bis %1").arg(kScreenEdge);
    QTest::newRow("phase up to the bar's end, in degrees as the readout")
        << QString("0 bis %1 rad (0° bis %2°)")
               .arg(german.toString(barUnits(phaseEnd), 'f', 2),
                    german.toString(phaseDegrees(phaseEnd), 'f', 1));
    QTest::newRow("largest numerator") << QString("ganze Zahlen von 1 bis %1").arg(kLargestWhole);
    QTest::newRow("3 : 2 drawn three times") << QString("das kgV 6 zeichnet sie 3-mal");
    QTest::newRow("the parabola's own phase at 2 : 1")
        << QString("ist sie %1°")
               .arg(
                   german.toString(yOscillationPhase(0.79, 2, 1) * 180 / std::numbers::pi, 'f', 1));
    QTest::newRow("zoom as far as the window fits") << QString("hier bis 216 %");
}

// Each number the help states is the program's own: changing a constant changes the help.
void TestViewControls::helpStatesTheProgramsNumbers()
{
    QFETCH(QString, stated);
    HelpWindow help;
    help.showAt(1, 216);
    const QString text = help.toPlainText().simplified();
    QVERIFY(!text.contains("{{"));
    QVERIFY2(text.contains(stated), qPrintable(stated));
}

// While "Zeitverläufe" has the focus the program's keys still work, and its own Ctrl+C copies
// its picture, not the screen's.
void TestViewControls::keysWorkInTheTimeSignalsWindow()
{
    struct Press
    {
        const char* what;
        QKeyCombination key;
        std::function<bool(WindowFixture&)> done;
    };
    const Press presses[] = {
        {"time signals off", Qt::CTRL | Qt::SHIFT | Qt::Key_T,
         [](WindowFixture& f) { return !f.window.timeSignals().isVisible(); }},
        {"sound", Qt::CTRL | Qt::Key_T,
         [](WindowFixture& f) { return f.window.form().sound().on(); }},
        {"help", QKeyCombination(Qt::Key_F1),
         [](WindowFixture& f) {
             const auto* help = f.window.findChild<QWidget*>("help");
             return help && help->isVisible();
         }},
        {"full screen", QKeyCombination(Qt::Key_F11),
         [](WindowFixture& f) { return f.window.isFullScreen(); }},
        {"quit", Qt::CTRL | Qt::Key_Q, [](WindowFixture& f) { return f.ended; }},
        {"copy", Qt::CTRL | Qt::Key_C,
         [](WindowFixture& f) {
             const TimeSignalView& view = f.window.timeSignals();
             return QGuiApplication::clipboard()->image() == view.picture(view.width(), false);
         }},
    };
    for (const Press& press : presses) {
        WindowFixture f;
        QVERIFY(f.show());
        QTRY_VERIFY(!screenEntry(f, "Ton")->toolTip().endsWith("gesucht …"));
        LastTone output;
        f.window.form().sound().setOutput(&output);
        f.window.viewActions().setSoundAvailable(true, {});
        QGuiApplication::clipboard()->clear();
        f.window.viewActions().setOption(ViewOption::TimeSignals, true);
        TimeSignalView& view = f.window.timeSignals();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTest::keyClick(&view, press.key.key(), press.key.keyboardModifiers());
        QTRY_VERIFY2(press.done(f), press.what);
    }
}

KORVELIAN_WIDGET_TEST(viewcontrols, TestViewControls)

#include "tst_viewcontrols.moc"
