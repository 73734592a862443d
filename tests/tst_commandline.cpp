#include "application.h"
#include "commandline.h"
#include "form1.h"
#include "layout.h"
#include "messages.h"
#include "windowfixture.h"

#include <QFile>
#include <QMenu>
#include <QSettings>

using namespace korvelian;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void applied_data();
    void applied();
    void toolkitTextsAreGerman();
    void windowClassMatchesDesktopEntry();
};

void TestCommandLine::values_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("beforeToolkit");
    QTest::addColumn<QString>("control"); // "" when the line is refused
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("fault"); // start of the one line, "" when accepted

    // clang-format off
    QTest::newRow("amplitude with comma") << QStringList{"--amplitude-x", "1,5"} << false << "hscAmp1" << 150 << "";
    QTest::newRow("amplitude with point") << QStringList{"--amplitude-y", "0.75"} << false << "hscAmp2" << 75 << "";
    QTest::newRow("amplitude 2, the bar's end") << QStringList{"--amplitude-x", "2"} << false << "hscAmp1" << 200 << "";
    QTest::newRow("amplitude 0") << QStringList{"--amplitude-y", "0"} << false << "hscAmp2" << 0 << "";
    QTest::newRow("phase 90 degrees") << QStringList{"--phase-y", "90"} << false << "hscPhase" << 157 << "";
    QTest::newRow("phase 45,5 degrees") << QStringList{"--phase-x", "45,5"} << false << "HScroll1" << 79 << "";
    QTest::newRow("phase 360 degrees, the bar's end") << QStringList{"--phase-x", "360"} << false << "HScroll1" << 628 << "";
    QTest::newRow("toolkit options set aside") << QStringList{"-platform", "offscreen", "-reverse", "--phase-y", "180", "-style=fusion"} << true << "hscPhase" << 314 << "";
    QTest::newRow("amplitude 2,01") << QStringList{"--amplitude-x", "2,01"} << false << "" << 0 << "korvelian: --amplitude-x erwartet eine Zahl von 0 bis 2";
    QTest::newRow("amplitude with three decimals") << QStringList{"--amplitude-y", "1.255"} << false << "" << 0 << "korvelian: --amplitude-y erwartet";
    QTest::newRow("negative amplitude") << QStringList{"--amplitude-x", "-1"} << false << "" << 0 << "korvelian: --amplitude-x erwartet";
    QTest::newRow("phase 360.5 degrees") << QStringList{"--phase-y", "360.5"} << false << "" << 0 << "korvelian: --phase-y erwartet einen Winkel in Grad von 0 bis 360";
    QTest::newRow("phase as text") << QStringList{"--phase-x", "neunzig"} << false << "" << 0 << "korvelian: --phase-x erwartet";
    QTest::newRow("ratio with a slash") << QStringList{"--ratio", "3/2"} << false << "" << 0 << "korvelian: --ratio erwartet Zähler:Nenner aus ganzen Zahlen";
    QTest::newRow("ratio with a decimal") << QStringList{"--ratio", "2.5:1"} << false << "" << 0 << "korvelian: --ratio erwartet";
    QTest::newRow("ratio without value") << QStringList{"--ratio"} << false << "" << 0 << "korvelian: Nach '--ratio' fehlt der Wert.";
    QTest::newRow("unknown single-dash word after the toolkit") << QStringList{"-platfrom"} << false << "" << 0 << "korvelian: Unbekannte Option 'platfrom'.";
    QTest::newRow("stray argument") << QStringList{"--phase-x", "10", "20"} << false << "" << 0 << "korvelian: Unerwartetes Argument '20'.";
    // clang-format on
}

void TestCommandLine::values()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, beforeToolkit);
    QFETCH(QString, control);
    QFETCH(int, value);
    QFETCH(QString, fault);
    CommandLine line;
    const auto answer = line.read(QStringList{"korvelian"} + arguments,
                                  beforeToolkit ? CommandLine::Stage::BeforeToolkit
                                                : CommandLine::Stage::AfterToolkit);
    if (!fault.isEmpty()) {
        QVERIFY(answer);
        QCOMPARE(answer->status, 2);
        QVERIFY2(answer->text.startsWith(fault), qPrintable(answer->text));
        QCOMPARE(answer->text.count('\n'), 1);
        return;
    }
    QVERIFY2(!answer, answer ? qPrintable(answer->text) : "");
    QCOMPARE(line.settings().scrollValues.size(), 1u);
    QCOMPARE(controlName(line.settings().scrollValues[0].first), control);
    QCOMPARE(line.settings().scrollValues[0].second, value);
}

void TestCommandLine::applied_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<bool>("redrawn");

    const QString domain = QString::fromUtf8(kRatioDomain);
    const QString tooLarge = QString::fromUtf8(kRatioTooLarge);
    // clang-format off
    QTest::newRow("ratio 3:2") << QStringList{"--ratio", "3:2"} << " 6" << "Hilfe" << true;
    QTest::newRow("ratio 199:200, kgV too large") << QStringList{"--ratio", "199:200"} << " 199" << tooLarge << true;
    QTest::newRow("ratio 0:1") << QStringList{"--ratio", "0:1"} << "1" << domain << false;
    QTest::newRow("amplitude x and phase y") << QStringList{"--amplitude-x", "0,5", "--phase-y", "90"} << "1" << "Hilfe" << true;
    // clang-format on
}

// The options reach the window through the handlers a user's entries run.
void TestCommandLine::applied()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, kgv);
    QFETCH(QString, hint);
    QFETCH(bool, redrawn);
    CommandLine line;
    QVERIFY(!line.read(QStringList{"korvelian"} + arguments, CommandLine::Stage::AfterToolkit));
    WindowFixture f;
    f.window.form().variables().t = -1;
    line.applyTo(f.window);
    QCOMPARE(f.text("txtkgV"), kgv);
    QCOMPARE(f.text("txtHilfe"), hint);
    QCOMPARE(f.window.form().variables().t != -1, redrawn);
}

void TestCommandLine::toolkitTextsAreGerman()
{
    WindowFixture f;
    const std::unique_ptr<QMenu> menu(
        f.control<QLineEdit>("txtZaehler")->createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << action->text().section('\t', 0, 0);
    QVERIFY2(texts.contains("&Rückgängig"), qPrintable(texts.join(", ")));
    QVERIFY2(texts.contains("Alles auswählen"), qPrintable(texts.join(", ")));
}

// Qt names the window's class after the application on X11, and the desktop finds the window
// by it.
void TestCommandLine::windowClassMatchesDesktopEntry()
{
    const QSettings entry(KORVELIAN_DESKTOP_FILE, QSettings::IniFormat);
    QCOMPARE(entry.value("Desktop Entry/StartupWMClass").toString(),
             QApplication::applicationName());
}

// Started as the program starts, so the test sees the translation it loads.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    const auto app = startApplication(argc, argv);
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_commandline.moc"
