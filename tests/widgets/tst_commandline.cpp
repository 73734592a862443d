#include "app/application.h"
#include "app/commandline.h"
#include "form/form1.h"
#include "form/layout.h"
#include "handlers/messages.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"
#include "widgets/picturearea.h"
#include "app/viewoptions.h"
#include "tests/windowfixture.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>

using namespace korvelian;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void helpNamesTheLimits();
    void applied_data();
    void applied();
    void exported_data();
    void exported();
    void toolkitTextsAreGerman();
    void windowClassMatchesDesktopEntry();
    void sessionBus_data();
    void sessionBus();
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
    // 1.745 and 626.57 hundredths of a radian: rounding and truncation part here.
    QTest::newRow("phase 1 degree, rounded up") << QStringList{"--phase-y", "1"} << false << "hscPhase" << 2 << "";
    QTest::newRow("phase 359 degrees, rounded up") << QStringList{"--phase-x", "359"} << false << "HScroll1" << 627 << "";
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
    QTest::newRow("unknown single-dash word before the toolkit") << QStringList{"-bogus"} << true << "" << 0 << "korvelian: Unbekannte Option 'bogus'.";
    QTest::newRow("toolkit option without its value") << QStringList{"--phase-y", "180", "-platform"} << true << "" << 0 << "korvelian: Nach '-platform' fehlt der Wert.";
    QTest::newRow("style the toolkit does not have") << QStringList{"-style", "nosuchstyle"} << true << "" << 0 << "korvelian: -style erwartet einen der Stile";
    QTest::newRow("style the toolkit does not have, after =") << QStringList{"-style=nosuchstyle"} << true << "" << 0 << "korvelian: -style erwartet einen der Stile";
    QTest::newRow("unknown single-dash word after the toolkit") << QStringList{"-platfrom"} << false << "" << 0 << "korvelian: Unbekannte Option 'platfrom'.";
    QTest::newRow("export to another format") << QStringList{"--export", "bild.jpg"} << false << "" << 0 << "korvelian: --export erwartet einen Dateinamen auf .png oder .svg";
    QTest::newRow("picture width 0") << QStringList{"--export", "a.png", "--size", "0"} << false << "" << 0 << "korvelian: --size erwartet eine Bildbreite in Pixeln von 1 bis 8192";
    QTest::newRow("picture width 8193") << QStringList{"--export", "a.png", "--size", "8193"} << false << "" << 0 << "korvelian: --size erwartet";
    QTest::newRow("worksheet without export") << QStringList{"--worksheet"} << false << "" << 0 << "korvelian: --size und --worksheet gelten nur mit --export oder --export-table.";
    QTest::newRow("stray argument") << QStringList{"--phase-x", "10", "20"} << false << "" << 0 << "korvelian: Unerwartetes Argument '20'.";
    QTest::newRow("values without export") << QStringList{"--values"} << false << "" << 0 << "korvelian: --reading-aid, --values und --graticule gelten nur mit --export.";
    QTest::newRow("graticule on a plate") << QStringList{"--export-table", "t.png", "--graticule"} << false << "" << 0 << "korvelian: --reading-aid, --values und --graticule gelten nur mit --export.";
    QTest::newRow("plate in another format") << QStringList{"--export-table", "t.jpg"} << false << "" << 0 << "korvelian: --export-table erwartet einen Dateinamen auf .png, .svg oder .pdf";
    QTest::newRow("unknown plate") << QStringList{"--export-table", "t.png", "--table", "grid"} << false << "" << 0 << "korvelian: --table erwartet ratios (Verhältnisse) oder phases (Phasen), nicht 'grid'.";
    QTest::newRow("plate form without a plate") << QStringList{"--table", "phases"} << false << "" << 0 << "korvelian: --table gilt nur mit --export-table.";
    QTest::newRow("picture and plate at once") << QStringList{"--export", "a.png", "--export-table", "t.png"} << false << "" << 0 << "korvelian: --export und --export-table schließen einander aus";
    QTest::newRow("width of a PDF plate") << QStringList{"--export-table", "t.pdf", "--size", "500"} << false << "" << 0 << "korvelian: --size gilt nicht für PDF";
    QTest::newRow("seed without quiz or sheet") << QStringList{"--seed", "7"} << false << "" << 0 << "korvelian: --seed gilt nur mit --quiz oder einem Arbeitsblatt";
    QTest::newRow("seed beyond 32 bits") << QStringList{"--quiz", "--seed", "4294967296"} << false << "" << 0 << "korvelian: --seed erwartet eine ganze Zahl von 0 bis 4294967295, nicht '4294967296'.";
    QTest::newRow("negative seed") << QStringList{"--quiz", "--seed", "-1"} << true << "" << 0 << "korvelian: --seed erwartet";
    QTest::newRow("quiz range 5") << QStringList{"--quiz", "--quiz-range", "5"} << false << "" << 0 << "korvelian: --quiz-range erwartet 4 oder 6";
    QTest::newRow("quiz series 0") << QStringList{"--quiz", "--quiz-series", "0"} << false << "" << 0 << "korvelian: --quiz-series erwartet eine Anzahl von 1 bis 100, nicht '0'.";
    QTest::newRow("quiz tolerance 0") << QStringList{"--quiz", "--quiz-tolerance", "0"} << false << "" << 0 << "korvelian: --quiz-tolerance erwartet Grad von 1 bis 45, nicht '0'.";
    QTest::newRow("quiz option without the quiz") << QStringList{"--quiz-phases"} << false << "" << 0 << "korvelian: --quiz-range, --quiz-phases, --quiz-amplitudes, --quiz-tolerance und --quiz-series gelten nur mit --quiz.";
    QTest::newRow("quiz without a window") << QStringList{"--quiz", "--export", "a.png"} << false << "" << 0 << "korvelian: --quiz gilt nicht mit --export";
    QTest::newRow("two sheets") << QStringList{"--export-table", "t.pdf", "--blank", "--solutions"} << false << "" << 0 << "korvelian: --blank, --name-figures und --solutions schließen einander aus";
    QTest::newRow("sheet without a plate") << QStringList{"--name-figures"} << false << "" << 0 << "korvelian: --blank, --name-figures und --solutions gelten nur mit --export-table.";
    QTest::newRow("page without a sheet") << QStringList{"--export-table", "t.pdf", "--page", "portrait"} << false << "" << 0 << "korvelian: --page gilt nur mit einem Arbeitsblatt";
    QTest::newRow("page A5") << QStringList{"--export-table", "t.pdf", "--blank", "--page", "A5"} << false << "" << 0 << "korvelian: --page erwartet portrait (hoch) oder landscape (quer), nicht 'A5'.";
    QTest::newRow("screen colours without a plate") << QStringList{"--export", "a.png", "--screen-colours"} << false << "" << 0 << "korvelian: --screen-colours gilt nur mit --export-table.";
    QTest::newRow("screen colours on a worksheet") << QStringList{"--export-table", "t.pdf", "--screen-colours", "--worksheet"} << false << "" << 0 << "korvelian: --worksheet und --screen-colours schließen einander aus";
    QTest::newRow("two lesson files") << QStringList{"a.korvelian", "b.korvelian"} << false << "" << 0 << "korvelian: Unerwartetes Argument 'b.korvelian'.";
    QTest::newRow("lesson file and a ratio") << QStringList{"a.korvelian", "--ratio", "3:2"} << false << "" << 0 << "korvelian: Eine Datei mit Einstellungen und --ratio";
    QTest::newRow("missing lesson file for an export") << QStringList{"fehlt.korvelian", "--export", "a.png"} << false << "" << 0 << "korvelian: „fehlt.korvelian“: Die Datei lässt sich nicht öffnen: ";
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

// The numbers in the help are the ones the options hold to.
void TestCommandLine::helpNamesTheLimits()
{
    CommandLine line;
    const auto answer = line.read({"korvelian", "--help"}, CommandLine::Stage::AfterToolkit);
    QVERIFY(answer);
    const QString help = answer->text.simplified();
    for (const char* sentence : {"Amplitude der x-Schwingung, 0 bis 2, etwa 1,5.",
                                 "Amplitude der y-Schwingung, 0 bis 2, etwa 0,75.",
                                 "Phase der x-Schwingung in Grad, 0 bis 360.",
                                 "Phase der y-Schwingung in Grad, 0 bis 360.",
                                 "Bildbreite in Pixeln, 1 bis 8192; ohne die Option 441, die "
                                 "Breite des Schirms bei 100 %, "
                                 "und 960 für die Tafel."})
        QVERIFY2(help.contains(QString::fromUtf8(sentence)), sentence);
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

void TestCommandLine::exported_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("written"); // what the file holds, "" when none is left

    // clang-format off
    QTest::newRow("PNG as the window shows it") << QStringList{"--ratio", "3:2", "--phase-x", "90", "--export", "bild.png"} << 0 << "window";
    QTest::newRow("PNG on a worksheet") << QStringList{"--ratio", "3:2", "--export", "bild.png", "--size", "200", "--worksheet"} << 0 << "white";
    QTest::newRow("PNG with the reading aid") << QStringList{"--export", "bild.png", "--reading-aid"} << 0 << "aid";
    QTest::newRow("PNG with values and graticule, 7:5") << QStringList{"--ratio", "7:5", "--amplitude-y", "0,75", "--phase-y", "30", "--export", "bild.png", "--values", "--graticule", "--size", "700"} << 0 << "values";
    QTest::newRow("PNG with all, y up, on a worksheet") << QStringList{"--ratio", "3:4", "--export", "bild.png", "--reading-aid", "--values", "--graticule", "--y-up", "--worksheet"} << 0 << "aid";
    QTest::newRow("PNG with y up: the 1 : 1 line rises") << QStringList{"--export", "bild.png", "--y-up"} << 0 << "up";
    QTest::newRow("PNG of the fine curve as the window shows it") << QStringList{"--ratio", "10:1", "--export", "bild.png", "--fine"} << 0 << "window";
    QTest::newRow("PNG as the textbook reads it, as the window shows it") << QStringList{"--ratio", "2:1", "--phase-y", "90", "--export", "bild.png", "--textbook"} << 0 << "window";
    QTest::newRow("plate of phases, fine and as the textbook reads it") << QStringList{"--ratio", "3:2", "--export-table", "tafel.png", "--table", "phases", "--size", "700", "--fine", "--textbook"} << 0 << "phases";
    QTest::newRow("SVG with its parameters") << QStringList{"--ratio", "3:2", "--export", "bild.svg"} << 0 << "Frequenzfaktor: 3 / 2    kgV: 6";
    QTest::newRow("SVG: 32767 without a thousands point") << QStringList{"--ratio", "32767:1", "--export", "bild.svg"} << 0 << "Frequenzfaktor: 32767 / 1    kgV: 32767";
    QTest::newRow("refused ratio") << QStringList{"--ratio", "32768:1", "--export", "bild.png"} << 2 << "";
    QTest::newRow("missing folder") << QStringList{"--export", "fehlt/bild.png"} << 1 << "";
    QTest::newRow("plate of ratios as PNG") << QStringList{"--ratio", "3:2", "--export-table", "tafel.png", "--size", "700"} << 0 << "ratios";
    QTest::newRow("plate of phases as PNG") << QStringList{"--ratio", "3:2", "--export-table", "tafel.png", "--table", "phases", "--size", "700"} << 0 << "phases";
    QTest::newRow("plate as PDF") << QStringList{"--export-table", "tafel.pdf"} << 0 << "%PDF";
    QTest::newRow("plate with a refused ratio") << QStringList{"--ratio", "32768:1", "--export-table", "tafel.png"} << 2 << "";
    QTest::newRow("plate into a missing folder") << QStringList{"--export-table", "fehlt/tafel.svg"} << 1 << "";
    QTest::newRow("PNG under an upper-case ending") << QStringList{"--export", "bild.PNG"} << 0 << "window";
    QTest::newRow("SVG under a mixed-case ending") << QStringList{"--ratio", "3:2", "--export", "bild.Svg"} << 0 << "Frequenzfaktor: 3 / 2    kgV: 6";
    QTest::newRow("plate of ratios too narrow for its texts, 74 px") << QStringList{"--export-table", "tafel.png", "--size", "74"} << 2 << "";
    QTest::newRow("plate of ratios at its narrowest, 75 px") << QStringList{"--export-table", "tafel.png", "--size", "75"} << 0 << "narrowest";
    QTest::newRow("plate of phases too narrow for its texts, 103 px") << QStringList{"--export-table", "tafel.svg", "--table", "phases", "--size", "103"} << 2 << "";
    QTest::newRow("reading aid too narrow for its texts, 55 px") << QStringList{"--export", "bild.png", "--reading-aid", "--size", "55"} << 2 << "";
    QTest::newRow("reading aid at its narrowest, 56 px") << QStringList{"--export", "bild.png", "--reading-aid", "--size", "56"} << 0 << "narrowest";
    QTest::newRow("plate as PDF under a mixed-case ending") << QStringList{"--export-table", "tafel.Pdf"} << 0 << "%PDF";
    QTest::newRow("plate as PDF: worksheet colours") << QStringList{"--export-table", "tafel.pdf"} << 0 << "page light portrait";
    QTest::newRow("plate as PDF in the screen's colours") << QStringList{"--export-table", "tafel.pdf", "--screen-colours"} << 0 << "page dark portrait";
    QTest::newRow("phases plate as PDF: a portrait page, in rows") << QStringList{"--export-table", "tafel.pdf", "--table", "phases"} << 0 << "page light portrait";
    QTest::newRow("blank sheet on a landscape page") << QStringList{"--export-table", "blatt.pdf", "--blank", "--page", "landscape"} << 0 << "page light landscape";
    QTest::newRow("phases to name: a portrait page") << QStringList{"--export-table", "blatt.pdf", "--table", "phases", "--name-figures"} << 0 << "page light portrait";
    QTest::newRow("solutions as PNG") << QStringList{"--export-table", "blatt.png", "--solutions", "--seed", "3", "--size", "600"} << 0 << "sheet";
    QTest::newRow("from a lesson file: its first step and views") << QStringList{"stunde.korvelian", "--export", "bild.png"} << 0 << "values";
    // clang-format on
}

// The picture written without any window is the one the window's screen shows after the same
// start options.
void TestCommandLine::exported()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, written);
    QTemporaryDir folder;
    const qsizetype option =
        std::max(arguments.indexOf("--export"), arguments.indexOf("--export-table"));
    const QString path = folder.filePath(arguments[option + 1]);
    arguments[option + 1] = path;
    if (arguments.front().endsWith(".korvelian")) {
        arguments.front() = folder.filePath(arguments.front());
        QFile lesson(arguments.front());
        QVERIFY(lesson.open(QIODevice::WriteOnly));
        lesson.write("Korvelian-Einstellungen 1\n[Eins]\nratio = 3:2\nphase-y = 90\n"
                     "values = ja\n[Zwei]\nratio = 1:1\nEnde\n");
    }
    CommandLine line;
    QVERIFY(!line.read(QStringList{"korvelian"} + arguments, CommandLine::Stage::AfterToolkit));
    const CommandLine::Answer answer = line.exportFile();
    WindowFixture f;
    line.applyTo(f.window);
    const CommandLine::Settings& settings = line.settings();
    f.window.viewOptions().setOption(ViewOption::YUp, settings.yUp);
    f.window.viewOptions().setOption(ViewOption::ReadingAid, settings.readingAid);
    const bool lessonValues =
        settings.lesson && settings.lesson->steps.front().view(LessonView::Values);
    f.window.viewOptions().setOption(ViewOption::Values, settings.values || lessonValues);
    f.window.viewOptions().setOption(ViewOption::Graticule, settings.graticule);
    f.window.viewOptions().setOption(ViewOption::Fine, settings.fine);
    f.window.viewOptions().setOption(ViewOption::Textbook, settings.textbook);
    QCOMPARE(answer.status, status);
    QCOMPARE(answer.text.count('\n'), status == 0 ? 0 : 1);
    QCOMPARE(QFile::exists(path), !written.isEmpty());
    if (written.isEmpty())
        return;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The format the file really has, whatever the case of its ending.
    const QString ending = QFileInfo(path).suffix().toLower();
    const QByteArray head = ending == "png" ? "\x89PNG\r\n" : ending == "pdf" ? "%PDF-" : "<?xml";
    QVERIFY2(bytes.startsWith(head), bytes.left(8).toHex().constData());
    if (written.startsWith("page")) {
        // The page made into pixels: how much of it is dark, and its shape.
        const QString png = folder.filePath("seite.png");
        QProcess gs;
        gs.start("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r20",
                        "-sOutputFile=" + png, path});
        QVERIFY2(gs.waitForFinished(60000) && gs.exitCode() == 0, "Ghostscript (make deps)");
        const QImage page(png);
        int dark = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x)
                dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        }
        const double share = double(dark) / (page.width() * page.height());
        QVERIFY2(written.contains("light") ? share < 0.1 : share > 0.3,
                 qPrintable(QString::number(share)));
        QCOMPARE(page.width() > page.height(), written.contains("landscape"));
        return;
    }
    if (ending != "png") {
        QVERIFY(bytes.contains(written.toUtf8()));
        return;
    }
    const QImage picture = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
    // The screen's drawing without the animation's overlays, which stay out of every
    // exported picture.
    auto* screen = f.control<PictureArea>("picBildschirm");
    const QImage shown = screen->image().convertToFormat(QImage::Format_RGB32);
    // Written without a window, as the window's own copy has it, annotations and all.
    if (settings.exportPath) {
        QCOMPARE(picture,
                 PictureExporter::image(screen->picture(), picture.width(), settings.worksheet));
    }
    if (written == "window") {
        QCOMPARE(picture, shown);
    } else if (written == "ratios" || written == "phases") {
        const auto form =
            written == "ratios" ? OverviewPlate::Form::Ratios : OverviewPlate::Form::Phases;
        QCOMPARE(picture, PlateExporter::image(f.window.plate(form), 700, false));
    } else if (written == "sheet") {
        QCOMPARE(picture, PlateExporter::sheetImage(f.window.plate(OverviewPlate::Form::Ratios),
                                                    600, true, settings.sheet));
        QCOMPARE(picture.height(), 849);
    } else if (written == "up") {
        // x = y = 1 lies a quarter down from the top on the right, not a quarter up.
        const int q = picture.width() / 4;
        QCOMPARE(picture.pixel(3 * q, q), qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(3 * q, 3 * q), qRgb(0, 0, 0));
    } else if (written == "white") {
        QCOMPARE(picture.size(), QSize(200, 200));
        QCOMPARE(picture.pixel(1, 1), qRgb(255, 255, 255));
    } else {
        QCOMPARE(picture.width(), settings.exportWidth ? settings.exportWidth : shown.width());
        QVERIFY(picture.copy(shown.rect()) != shown);
    }
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

void TestCommandLine::sessionBus_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("socketInRuntimeFolder");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("none anywhere: launching one skipped")
        << QByteArray() << false << QByteArray("disabled:");
    QTest::newRow("the runtime folder's") << QByteArray() << true << QByteArray();
    QTest::newRow("named in the environment") << QByteArray("unix:path=/run/user/1000/bus") << false
                                              << QByteArray("unix:path=/run/user/1000/bus");
}

void TestCommandLine::sessionBus()
{
    QFETCH(QByteArray, address);
    QFETCH(bool, socketInRuntimeFolder);
    QFETCH(QByteArray, expected);
    const auto restore = [](const char* name) {
        return qScopeGuard([name, set = qEnvironmentVariableIsSet(name), value = qgetenv(name)] {
            set ? qputenv(name, value) : qunsetenv(name);
        });
    };
    const auto restoreAddress = restore("DBUS_SESSION_BUS_ADDRESS");
    const auto restoreRuntime = restore("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    if (socketInRuntimeFolder)
        QVERIFY(QFile(runtime.filePath("bus")).open(QIODevice::WriteOnly));
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    if (address.isEmpty())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    skipSessionBusLaunch();
    QCOMPARE(qgetenv("DBUS_SESSION_BUS_ADDRESS"), expected);
}

// Started as the program starts, so the test sees the translation it loads.
int runCommandLineTest(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    const auto app = startApplication(argc, argv);
    TestCommandLine test;
    return QTest::qExec(&test, argc, argv);
}

KORVELIAN_TEST_AREA(commandline, runCommandLineTest)
#include "tst_commandline.moc"
