#include "scene/overviewplate.h"
#include "picture/pictureexporter.h"
#include "picture/plateexporter.h"
#include "widgets/plateview.h"
#include "widgets/screenarea.h"
#include "app/viewactions.h"
#include "app/viewoptions.h"
#include "tests/windowfixture.h"

#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocumentFragment>

using namespace korvelian;

namespace {

QString plain(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html)
        .toPlainText()
        .replace('\n', " / ")
        .replace(QChar(0xa0), ' ');
}

void setUp(WindowFixture& f, const char* numerator, const char* denominator)
{
    f.control<QScrollBar>("HScroll1")->setValue(52);
    f.control<QScrollBar>("hscPhase")->setValue(79);
    f.control<QScrollBar>("hscAmp1")->setValue(120);
    f.control<QScrollBar>("hscAmp2")->setValue(80);
    f.control<QLineEdit>("txtZaehler")->setText(numerator);
    f.control<QLineEdit>("txtNenner")->setText(denominator);
}

} // namespace

class TestOverviewPlate : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void refusedRatioLeftOutWithANote();
    void ratiosTitleNamesTheOwnPhase();
    void shownInAWindow();
    void cellAsTheSingleExport_data();
    void cellAsTheSingleExport();
    void files_data();
    void files();
    void pageLayout_data();
    void pageLayout();
};

void TestOverviewPlate::cells_data()
{
    QTest::addColumn<OverviewPlate::Form>("form");
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QStringList>("labels");

    QStringList ratios;
    for (int z = 1; z <= 4; ++z) {
        for (int n = 1; n <= 4; ++n)
            ratios << QStringLiteral("%1 : %2").arg(z).arg(n);
    }
    const QString own = QStringLiteral(" / Phase der y-Schwingung: %1");
    // clang-format off
    QTest::newRow("ratios: numerators down, denominators across") << OverviewPlate::Form::Ratios << "3" << "2" << ratios;
    QTest::newRow("phases at 3 : 2, with the y oscillation's own phase")
        << OverviewPlate::Form::Phases << "3" << "2"
        << QStringList{"φy = 0°" + own.arg("0,0°"), "φy = 45°" + own.arg("67,5°"), "φy = 90°" + own.arg("135,0°"), "φy = 135°" + own.arg("202,5°"), "φy = 180°" + own.arg("270,0°")};
    QTest::newRow("phases at 1 : 2")
        << OverviewPlate::Form::Phases << "1" << "2"
        << QStringList{"φy = 0°" + own.arg("0,0°"), "φy = 45°" + own.arg("22,5°"), "φy = 90°" + own.arg("45,0°"), "φy = 135°" + own.arg("67,5°"), "φy = 180°" + own.arg("90,0°")};
    QTest::newRow("phases at 3 : 3") << OverviewPlate::Form::Phases << "3" << "3" << QStringList{"φy = 0°", "φy = 45°", "φy = 90°", "φy = 135°", "φy = 180°"};
    // clang-format on
}

void TestOverviewPlate::cells()
{
    QFETCH(OverviewPlate::Form, form);
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QStringList, labels);
    WindowFixture f;
    setUp(f, numerator.toUtf8().constData(), denominator.toUtf8().constData());
    const OverviewPlate plate = f.window.plate(form);
    QStringList shown;
    for (const OverviewPlate::Cell& cell : plate.cells())
        shown << plain(QString::fromStdString(cell.label));
    QCOMPARE(shown, labels);
    QVERIFY(plate.notes().empty());
}

void TestOverviewPlate::refusedRatioLeftOutWithANote()
{
    const Parameter p{1, 0, 1, 0, 200, 199};
    const OverviewPlate plate(OverviewPlate::Form::Phases, {}, false, p, true);
    QVERIFY(plate.cells().empty());
    QCOMPARE(plate.notes(),
             std::vector<std::string>{
                 "200 : 199 ausgelassen: Das kgV von Zähler und Nenner darf höchstens "
                 "32767 sein."});
}

// With a y phase, the ratios plate says that each cell's y oscillation has a phase of its own.
void TestOverviewPlate::ratiosTitleNamesTheOwnPhase()
{
    for (const double phaseY : {0.0, 1.57}) {
        const Parameter p{1, 0, 1, phaseY, 3, 2};
        const OverviewPlate plate(OverviewPlate::Form::Ratios, {}, false, p, true);
        QString title;
        for (const std::string& line : plate.title())
            title += QString::fromStdString(line) + '\n';
        QCOMPARE(
            plain(title).contains("Phase der y-Schwingung in jedem Feld: φy · Zähler : Nenner"),
            phaseY != 0);
    }
}

// "Tafel zeigen": the plate of the form chosen, drawn at the window's size, the window on the
// screen; shown again, the other form; Escape closes it.
void TestOverviewPlate::shownInAWindow()
{
    WindowFixture f;
    QVERIFY(f.show());
    setUp(f, "3", "2");
    for (const auto form : {OverviewPlate::Form::Ratios, OverviewPlate::Form::Phases}) {
        f.window.viewActions().setPlateForm(form);
        f.window.viewActions().showPlate();
        auto* view = f.window.findChild<PlateView*>("plateView");
        QVERIFY(view && view->isVisible());
        const QRect room = f.window.screen()->availableGeometry();
        QVERIFY(room.contains(view->geometry()));
        // As large as the room allows in its tighter direction, the frame left aside.
        QVERIFY2(view->width() >= 0.9 * room.width() || view->height() >= 0.9 * room.height(),
                 qPrintable(QString("%1 × %2 in %3 × %4")
                                .arg(view->width())
                                .arg(view->height())
                                .arg(room.width())
                                .arg(room.height())));
        const QRect at = view->plateRect();
        QVERIFY(at.width() > PlateExporter::kDefaultWidth / 2);
        QCOMPARE(view->grab().toImage().copy(at).convertToFormat(QImage::Format_RGB32),
                 PlateExporter::image(f.window.plate(form), at.width(), false));
    }
    auto* view = f.window.findChild<PlateView*>("plateView");
    QStringList entries;
    for (const QAction* action : view->actions())
        entries << action->text();
    QCOMPARE(entries, QStringList({"Tafel kopieren", "Tafel speichern unter…", "Tafel drucken…"}));
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!view->isVisible());
}

void TestOverviewPlate::cellAsTheSingleExport_data()
{
    QTest::addColumn<bool>("yUp");
    QTest::addColumn<bool>("worksheet");
    QTest::newRow("screen colours") << false << false;
    QTest::newRow("y upward") << true << false;
    QTest::newRow("worksheet colours") << false << true;
}

// The cell of 3 : 2 is, pixel for pixel, the picture --export writes of 3 : 2 at the cell's
// size.
void TestOverviewPlate::cellAsTheSingleExport()
{
    QFETCH(bool, yUp);
    QFETCH(bool, worksheet);
    WindowFixture f;
    setUp(f, "3", "2");
    f.window.viewOptions().setOption(ViewOption::YUp, yUp);
    const OverviewPlate plate = f.window.plate(OverviewPlate::Form::Ratios);
    const int width = PlateExporter::kDefaultWidth;
    const QRect cell = PlateExporter::cellRect(plate, 2 * 4 + 1, width);
    const QImage single = PictureExporter::image(f.control<ScreenArea>("picBildschirm")->picture(),
                                                 cell.width(), worksheet);
    QCOMPARE(PlateExporter::image(plate, width, worksheet).copy(cell), single);
}

void TestOverviewPlate::files_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<int>("paths"); // figure paths in the file, -1 where it has none

    QTest::newRow("PNG") << "tafel.png" << QByteArray("\x89PNG") << -1;
    QTest::newRow("SVG: every cell's figure one path") << "tafel.svg" << QByteArray("<?xml") << 16;
    QTest::newRow("PDF") << "tafel.pdf" << QByteArray("%PDF") << -1;
}

void TestOverviewPlate::files()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    QFETCH(int, paths);
    WindowFixture f;
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QString error;
    QVERIFY2(
        PlateExporter::save(f.window.plate(OverviewPlate::Form::Ratios), path, 960, &error, false),
        qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QVERIFY(written.startsWith(start));
    if (paths >= 0) {
        QCOMPARE(written.count("<path"), paths);
        QVERIFY2(written.size() < 200'000, qPrintable(QString::number(written.size())));
    }
}

void TestOverviewPlate::pageLayout_data()
{
    QTest::addColumn<OverviewPlate::Form>("form");
    QTest::addColumn<QSizeF>("page"); // A4's printable part, in millimetres
    QTest::addColumn<int>("columns");

    QTest::newRow("phases on a portrait page: two columns")
        << OverviewPlate::Form::Phases << QSizeF(180, 267) << 2;
    QTest::newRow("phases on a landscape page: three")
        << OverviewPlate::Form::Phases << QSizeF(267, 180) << 3;
    QTest::newRow("phases on a strip: one row")
        << OverviewPlate::Form::Phases << QSizeF(500, 80) << 5;
    QTest::newRow("ratios keep their square")
        << OverviewPlate::Form::Ratios << QSizeF(267, 180) << 4;
}

// A page takes the phases in the rows that make their cells largest: the single row of the
// screen's plate left half of an A4 page empty.
void TestOverviewPlate::pageLayout()
{
    QFETCH(OverviewPlate::Form, form);
    QFETCH(QSizeF, page);
    QFETCH(int, columns);
    WindowFixture f;
    const OverviewPlate plate = f.window.plate(form);
    const OverviewPlate onPage = PlateExporter::fitted(plate, page);
    QCOMPARE(onPage.columns(), columns);
    QCOMPARE(onPage.cells().size(), plate.cells().size());
}

KORVELIAN_WIDGET_TEST(overviewplate, TestOverviewPlate)
#include "tst_overviewplate.moc"
