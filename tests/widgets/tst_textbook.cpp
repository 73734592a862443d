#include "app/viewactions.h"
#include "app/viewoptions.h"
#include "form/form1.h"
#include "picture/pictureexporter.h"
#include "picture/scenepainter.h"
#include "scene/readingaid.h"
#include "scene/timesignals.h"
#include "scene/values.h"
#include "tests/windowfixture.h"
#include "widgets/screenarea.h"
#include "widgets/scrollreadout.h"

#include <QAction>
#include <QScrollBar>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cmath>

using namespace korvelian;

namespace {

QString plain(const std::string& html)
{
    return QTextDocumentFragment::fromHtml(QString::fromStdString(html))
        .toPlainText()
        .replace(QChar(0xa0), ' ');
}

QAction* entry(QWidget* screen, const QString& text)
{
    for (QAction* action : screen->actions()) {
        if (action->text() == text)
            return action;
    }
    qFatal("no entry %s", qPrintable(text));
}

// A window at numerator : denominator with the y phase bar at phase, read as the textbook
// reads it or as the program always has, ticked in the menu as a user does.
void setUp(WindowFixture& f, const QString& numerator, const QString& denominator, int phase,
           bool textbook)
{
    f.control<QLineEdit>("txtZaehler")->setText(numerator);
    f.control<QLineEdit>("txtNenner")->setText(denominator);
    f.control<QScrollBar>("hscPhase")->setValue(phase);
    entry(f.control<ScreenArea>("picBildschirm"), "Wie im Lehrbuch")->setChecked(textbook);
}

const DrawOp& shownFigure(WindowFixture& f)
{
    return *lastFigure(f.control<ScreenArea>("picBildschirm")->drawing());
}

} // namespace

class TestTextbook : public QObject
{
    Q_OBJECT

private slots:
    void oneSymbolSet_data();
    void oneSymbolSet();
    void parabolaAtTwoToOne();
    void offLeavesTodaysPicture();
    void everyPlateCellAtTheOwnPhase_data();
    void everyPlateCellAtTheOwnPhase();
    void marksApartAndValuesReadable_data();
    void marksApartAndValuesReadable();
};

void TestTextbook::oneSymbolSet_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<int>("phase");
    QTest::addColumn<bool>("textbook");
    QTest::addColumn<QString>("readout");
    QTest::addColumn<QStringList>("values"); // the lines after the ratio and the x line
    QTest::addColumn<QString>("formula");    // of y in the time signals

    // clang-format off
    QTest::newRow("3 : 2 without the tick: the bar's phase and the y oscillation's") << "3" << "2" << 79 << false << "Phase y: 0,79 rad ≈ 45,3° (Phase der y-Schwingung: 67,9°)" << QStringList{"Ay = 1,00   φy = 45,3°", "Phase der y-Schwingung: 67,9°"} << "y(t) = 1,00 · sin((t + 0,79) · 3 / 2)";
    QTest::newRow("3 : 2 as the textbook reads it: one phase") << "3" << "2" << 79 << true << "Phase y: 0,79 rad ≈ 45,3°" << QStringList{"Ay = 1,00   φy = 45,3°"} << "y(t) = 1,00 · sin(3 / 2 · t + 0,79)";
    QTest::newRow("2 : 1 at 90° as the textbook reads it") << "2" << "1" << 157 << true << "Phase y: 1,57 rad ≈ 90,0°" << QStringList{"Ay = 1,00   φy = 90,0°"} << "y(t) = 1,00 · sin(2 / 1 · t + 1,57)";
    QTest::newRow("1 : 2 at 300,2° as the textbook reads it") << "1" << "2" << 524 << true << "Phase y: 5,24 rad ≈ 300,2°" << QStringList{"Ay = 1,00   φy = 300,2°"} << "y(t) = 1,00 · sin(1 / 2 · t + 5,24)";
    QTest::newRow("1 : 1 alike either way") << "1" << "1" << 79 << true << "Phase y: 0,79 rad ≈ 45,3°" << QStringList{"Ay = 1,00   φy = 45,3°"} << "y(t) = 1,00 · sin(t + 0,79)";
    // clang-format on
}

// The readout, the values and the time signals name one phase of y; the reading aid calls the
// difference Δφ only where the textbook is followed.
void TestTextbook::oneSymbolSet()
{
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(int, phase);
    QFETCH(bool, textbook);
    QFETCH(QString, readout);
    QFETCH(QStringList, values);
    QFETCH(QString, formula);
    WindowFixture f;
    setUp(f, numerator, denominator, phase, textbook);
    QCOMPARE(f.window.readout().text(*f.control<QScrollBar>("hscPhase")), readout);
    const DrawOp& figure = shownFigure(f);
    QStringList shown;
    for (const std::string& line : valueLines(figure.parameters, true))
        shown << plain(line);
    QCOMPARE(shown.mid(2), values);
    const TimeSignalScene timeSignals = sceneOf(figure, {0.25, 0.5, 0.25, 0.5});
    QCOMPARE(QString::fromStdString(formulaLines(timeSignals).back()), formula);
    if (numerator == denominator) {
        const TextLines legend = readingAidLegend(figure.parameters, true, true);
        QCOMPARE(plain(legend.back()).contains("Δφ = "), textbook);
    }
}

// y = sin(2t + 90°) = cos 2t = 1 - 2 sin² t: the textbook's parabola, shown y upward.
void TestTextbook::parabolaAtTwoToOne()
{
    WindowFixture f;
    setUp(f, "2", "1", 157, true);
    const Parameter& p = shownFigure(f).parameters;
    for (double t = 0; t < kTurn; t += 0.01) {
        const Point point = deflection(t, p);
        // The bar's 1,57 is 0,0008 short of a right angle.
        QVERIFY2(std::abs(point.y - (1 - 2 * point.x * point.x)) < 0.002,
                 qPrintable(QString("at t = %1: x %2, y %3").arg(t).arg(point.x).arg(point.y)));
    }
    auto* screen = f.control<ScreenArea>("picBildschirm");
    QVERIFY(screen->yUp());
    QVERIFY(!entry(screen, "y-Achse nach oben (wie am Oszilloskop)")->isEnabled());
}

// Ticked and unticked again, the screen and its copy are what they were without the tick.
void TestTextbook::offLeavesTodaysPicture()
{
    WindowFixture today;
    WindowFixture toggled;
    for (WindowFixture* f : {&today, &toggled}) {
        f->window.viewOptions().setOption(ViewOption::Values, true);
        f->window.viewOptions().setOption(ViewOption::ReadingAid, true);
        setUp(*f, "3", "2", 79, false);
    }
    const auto picture = [](WindowFixture& f) {
        return PictureExporter::image(f.control<ScreenArea>("picBildschirm")->picture(), 441,
                                      false);
    };
    entry(toggled.control<ScreenArea>("picBildschirm"), "Wie im Lehrbuch")->setChecked(true);
    QVERIFY(picture(toggled) != picture(today));
    entry(toggled.control<ScreenArea>("picBildschirm"), "Wie im Lehrbuch")->setChecked(false);
    QCOMPARE(picture(toggled), picture(today));
    QVERIFY(!toggled.control<ScreenArea>("picBildschirm")->yUp());
}

void TestTextbook::everyPlateCellAtTheOwnPhase_data()
{
    QTest::addColumn<bool>("textbook");
    QTest::newRow("without the tick: the bar's phase times Z / N") << false;
    QTest::newRow("as the textbook reads it: the bar's phase in every cell") << true;
}

// The ratios plate at the bar's 45°: each cell's y oscillation has the bar's phase as its own
// where the textbook is followed, and the title says nothing else.
void TestTextbook::everyPlateCellAtTheOwnPhase()
{
    QFETCH(bool, textbook);
    WindowFixture f;
    setUp(f, "1", "1", 79, textbook);
    const OverviewPlate plate = f.window.plate(OverviewPlate::Form::Ratios);
    for (const OverviewPlate::Cell& cell : plate.cells()) {
        const Parameter& p = lastFigure(cell.drawing)->parameters;
        const double own = yOscillationPhase(p.phaseY, p.numerator, p.denominator);
        const double expected =
            yOscillationPhase(0.79, textbook ? 1 : p.numerator, textbook ? 1 : p.denominator);
        QVERIFY2(std::abs(own - expected) < 1e-12,
                 qPrintable(QString("%1 : %2 at %3").arg(p.numerator).arg(p.denominator).arg(own)));
    }
    QCOMPARE(plain(plate.title().back()).startsWith("Phase der y-Schwingung"), !textbook);
}

void TestTextbook::marksApartAndValuesReadable_data()
{
    QTest::addColumn<bool>("textbook");
    QTest::newRow("without the tick: the marks and values as they always were") << false;
    QTest::newRow("as the textbook reads it: △ round ○, values with a rim") << true;
}

// The circle of 1 : 1 at 90° and amplitude 2: its top is a touch point and the highest point at
// once, and the values stand over the figure. With the textbook's reading the △ encloses the ○
// instead of hiding under it, and every value has a rim of the ground round its letters.
void TestTextbook::marksApartAndValuesReadable()
{
    QFETCH(bool, textbook);
    WindowFixture f;
    f.window.viewOptions().setOption(ViewOption::Values, true);
    f.window.viewOptions().setOption(ViewOption::ReadingAid, true);
    for (const char* bar : {"hscAmp1", "hscAmp2"})
        f.control<QScrollBar>(bar)->setValue(200);
    setUp(f, "1", "1", 157, textbook);
    const ScreenPicture picture = f.control<ScreenArea>("picBildschirm")->picture();
    Scene scene;
    picture.describeReadings(scene, qtTextMetrics(), {0, 0, 441, 441}, 1, false);
    std::vector<RectF> circles;
    std::vector<std::vector<PointF>> triangles;
    int labels = 0;
    int rimmed = 0;
    for (const Item& item : scene.items()) {
        if (const auto* circle = std::get_if<item::Ellipse>(&item))
            circles.push_back(circle->box);
        if (const auto* polygon = std::get_if<item::Polygon>(&item);
            polygon && polygon->corners.size() == 3)
            triangles.push_back(polygon->corners);
        if (const auto* label = std::get_if<item::Label>(&item)) {
            ++labels;
            rimmed += label->halo.has_value();
        }
    }
    QCOMPARE(triangles.size(), std::size_t(1));
    // The △'s corners all outside the ○ at the top, or its tip inside it.
    const std::vector<PointF>& triangle = triangles.front();
    const auto outside = [&](const RectF& circle) {
        const PointF centre{circle.x + circle.width / 2, circle.y + circle.height / 2};
        return std::all_of(triangle.begin(), triangle.end(), [&](const PointF& corner) {
            return std::hypot(corner.x - centre.x, corner.y - centre.y) > circle.width / 2 + 2;
        });
    };
    const auto around = std::find_if(circles.begin(), circles.end(), [&](const RectF& circle) {
        const PointF tip = triangle.front();
        return std::abs(tip.x - (circle.x + circle.width / 2)) < 1 && outside(circle) &&
               tip.y < circle.y;
    });
    QCOMPARE(around != circles.end(), textbook);
    QVERIFY(labels > 0);
    QCOMPARE(rimmed, textbook ? labels : 0);
}

KORVELIAN_WIDGET_TEST(textbook, TestTextbook)
#include "tst_textbook.moc"
