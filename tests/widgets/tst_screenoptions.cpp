#include "form/form1.h"
#include "scene/graticule.h"
#include "form/layout.h"
#include "picture/pictureexporter.h"
#include "widgets/screenarea.h"
#include "picture/scenepainter.h"
#include "scene/values.h"
#include "app/viewactions.h"
#include "app/viewoptions.h"
#include "tests/windowfixture.h"
#include "widgets/zoompolicy.h"

#include <QScrollBar>
#include <QTextDocumentFragment>

using namespace korvelian;

namespace {

// The lines as a reader sees them, the indices run into the letters.
QStringList plain(const QStringList& lines)
{
    QStringList texts;
    for (const QString& line : lines)
        texts << QTextDocumentFragment::fromHtml(line).toPlainText().replace(QChar(0xa0), ' ');
    return texts;
}

QRgb rgb(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xffffff;
}

} // namespace

class TestScreenOptions : public QObject
{
    Q_OBJECT

private slots:
    void valuesInUse_data();
    void valuesInUse();
    void valuesBesideTheBox_data();
    void valuesBesideTheBox();
    void placedOverTheBoxOnlyWithoutRoom_data();
    void placedOverTheBoxOnlyWithoutRoom();
    void capHeight_data();
    void capHeight();
    void graticuleAtTheDivisions_data();
    void graticuleAtTheDivisions();
};

void TestScreenOptions::valuesInUse_data()
{
    QTest::addColumn<QStringList>("typed"); // numerator, denominator, ... in turn
    QTest::addColumn<int>("phaseY");
    QTest::addColumn<QStringList>("lines");

    const QString x = QStringLiteral("Ax = 1,00   φx = 0,0°");
    // clang-format off
    QTest::newRow("1 : 1, no own phase of y") << QStringList{"1", "1"} << 79 << QStringList{"fy : fx = 1 : 1", x, "Ay = 1,00   φy = 45,3°"};
    QTest::newRow("3 : 2, the y oscillation's own phase") << QStringList{"3", "2"} << 79 << QStringList{"fy : fx = 3 : 2", x, "Ay = 1,00   φy = 45,3°", "Phase der y-Schwingung: 67,9°"};
    QTest::newRow("1 : 2 at 90,0°, own phase halved") << QStringList{"1", "2"} << 157 << QStringList{"fy : fx = 1 : 2", x, "Ay = 1,00   φy = 90,0°", "Phase der y-Schwingung: 45,0°"};
    QTest::newRow("2 : 1 at 300,2°, own phase within a turn") << QStringList{"2", "1"} << 524 << QStringList{"fy : fx = 2 : 1", x, "Ay = 1,00   φy = 300,2°", "Phase der y-Schwingung: 240,5°"};
    QTest::newRow("denominator 0 refused: 3 : 2 stays, marked") << QStringList{"3", "2", "3", "0"} << 0 << QStringList{"fy : fx = 3 : 2 (zuletzt angenommen)", x, "Ay = 1,00   φy = 0,0°", "Phase der y-Schwingung: 0,0°"};
    QTest::newRow("kgV above 32767 refused: 199 : 2 stays") << QStringList{"3", "2", "199", "2", "199", "200"} << 0 << QStringList{"fy : fx = 199 : 2 (zuletzt angenommen)", x, "Ay = 1,00   φy = 0,0°", "Phase der y-Schwingung: 0,0°"};
    // clang-format on
}

// The values are those the figure is drawn with, as the screen shows them.
void TestScreenOptions::valuesInUse()
{
    QFETCH(QStringList, typed);
    QFETCH(int, phaseY);
    QFETCH(QStringList, lines);
    WindowFixture f;
    f.control<QScrollBar>("hscPhase")->setValue(phaseY);
    for (qsizetype i = 0; i + 1 < typed.size(); i += 2) {
        f.control<QLineEdit>("txtZaehler")->setText(typed[i]);
        f.control<QLineEdit>("txtNenner")->setText(typed[i + 1]);
    }
    const auto* screen = f.control<ScreenArea>("picBildschirm");
    const DrawOp* figure = lastFigure(screen->drawing());
    QVERIFY(figure);
    QStringList shown;
    for (const std::string& line : valueLines(figure->parameters, screen->entryAccepted()))
        shown << QString::fromStdString(line);
    QCOMPARE(plain(shown), lines);
}

void TestScreenOptions::valuesBesideTheBox_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<int>("amplitudeX");
    QTest::addColumn<int>("amplitudeY");
    QTest::addColumn<bool>("overTheBox");

    // clang-format off
    QTest::newRow("3 : 2, amplitudes 1 and 1: above the box") << "3" << 100 << 100 << false;
    QTest::newRow("3 : 2, amplitudes 1,9 and 0,5: above it") << "3" << 190 << 50 << false;
    QTest::newRow("3 : 2, amplitudes 1 and 1,2: side by side above it") << "3" << 100 << 120 << false;
    QTest::newRow("2 : 2, amplitudes 0,2 and 1,9: left of it") << "2" << 20 << 190 << false;
    QTest::newRow("3 : 2, amplitudes 2 and 2: no room, over it") << "3" << 200 << 200 << true;
    // clang-format on
}

// The values never cover the figure's box while there is room around it; in a copy they
// change only pixels outside it.
void TestScreenOptions::valuesBesideTheBox()
{
    QFETCH(QString, numerator);
    QFETCH(int, amplitudeX);
    QFETCH(int, amplitudeY);
    QFETCH(bool, overTheBox);
    WindowFixture f;
    f.control<QLineEdit>("txtZaehler")->setText(numerator);
    f.control<QLineEdit>("txtNenner")->setText("2");
    f.control<QScrollBar>("hscAmp1")->setValue(amplitudeX);
    f.control<QScrollBar>("hscAmp2")->setValue(amplitudeY);
    auto* screen = f.control<ScreenArea>("picBildschirm");
    const QImage without = PictureExporter::image(screen->picture(), 441, false);
    f.window.viewActions().setOption(ViewOption::Values, true);
    const QImage with = PictureExporter::image(screen->picture(), 441, false);
    const QRect box = QRectF(screen->toPixel(-amplitudeX / 100.0, -amplitudeY / 100.0),
                             screen->toPixel(amplitudeX / 100.0, amplitudeY / 100.0))
                          .normalized()
                          .toAlignedRect()
                          .adjusted(-1, -1, 1, 1);
    int inside = 0;
    int outside = 0;
    // Over the box the figure shows through the values' ground, dimmed to a grey.
    int dimmed = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            const QRgb shown = with.pixel(x, y);
            if (shown == without.pixel(x, y))
                continue;
            ++(box.contains(x, y) ? inside : outside);
            const bool grey = qRed(shown) == qGreen(shown) && qGreen(shown) == qBlue(shown);
            if (without.pixel(x, y) == qRgb(255, 255, 255) && grey && qRed(shown) > 0)
                ++dimmed;
        }
    }
    QCOMPARE(inside > 0, overTheBox);
    qInfo("dimmed %d", dimmed);
    QCOMPARE(dimmed > 0, overTheBox);
    QVERIFY(inside + outside > 0);
}

void TestScreenOptions::placedOverTheBoxOnlyWithoutRoom_data()
{
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<QRectF>("taken"); // by the reading aid's legend
    QTest::addColumn<bool>("overTheBox");

    // clang-format off
    QTest::newRow("room above") << QRectF(100, 100, 200, 200) << QRectF() << false;
    QTest::newRow("room above, the legend in its top right") << QRectF(150, 150, 100, 100) << QRectF(100, 0, 300, 60) << false;
    QTest::newRow("room on the left only") << QRectF(200, 0, 40, 400) << QRectF() << false;
    QTest::newRow("room on the left, the legend on its top") << QRectF(200, 0, 40, 400) << QRectF(0, 0, 200, 100) << false;
    QTest::newRow("no room") << QRectF(0, 0, 400, 400) << QRectF() << true;
    // clang-format on
}

// Three lines of 150 × 20 on a screen of 400: never over the legend, over the box (on a ground
// that lets the figure show through) only where no room is left around it.
void TestScreenOptions::placedOverTheBoxOnlyWithoutRoom()
{
    QFETCH(QRectF, box);
    QFETCH(QRectF, taken);
    QFETCH(bool, overTheBox);
    const std::vector<SizeF> lines(3, SizeF{150, 20});
    const ValueLayout layout = placeValues(lines, {0, 0, 400, 400}, fromQt(box), 4, fromQt(taken));
    QCOMPARE(layout.overBox, overTheBox);
    QCOMPARE(layout.lines.size(), lines.size());
    for (const RectF& line : layout.lines) {
        QCOMPARE(toQt(line).intersects(box), overTheBox);
        QVERIFY(!toQt(line).intersects(taken));
    }
}

void TestScreenOptions::capHeight_data()
{
    QTest::addColumn<int>("percent");
    QTest::newRow("100 %") << 100;
    QTest::newRow("the largest zoom on 1920 × 1080") << ZoomPolicy::fitting(QSize(1920, 1080));
}

// Capital letters at least 3 % of the screen's height, counted in device pixels.
void TestScreenOptions::capHeight()
{
    QFETCH(int, percent);
    const int height = pixels(control(Picture::Screen).height, percent / 100.0);
    const QFont font = toQFont(valueFont(qtTextMetrics(), height));
    QImage letter(font.pixelSize() * 2, font.pixelSize() * 2, QImage::Format_RGB32);
    letter.fill(Qt::white);
    QPainter painter(&letter);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(font.pixelSize() / 2.0, font.pixelSize() * 1.5), QStringLiteral("H"));
    painter.end();
    int top = letter.height();
    int bottom = -1;
    for (int y = 0; y < letter.height(); ++y) {
        for (int x = 0; x < letter.width(); ++x) {
            if (qGray(letter.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const int cap = bottom - top + 1;
    qInfo("%d %%: screen %d px high, capital letters %d px", percent, height, cap);
    QVERIFY2(cap >= 0.03 * height, qPrintable(QString("%1 px").arg(cap)));
}

void TestScreenOptions::graticuleAtTheDivisions_data()
{
    QTest::addColumn<bool>("yUp");
    QTest::addColumn<bool>("worksheet");
    QTest::addColumn<QRgb>("colour");

    QTest::newRow("y downward") << false << false << toQColor(graticuleColour(false)).rgb();
    QTest::newRow("y upward") << true << false << toQColor(graticuleColour(false)).rgb();
    QTest::newRow("worksheet colours") << false << true << qRgb(200, 200, 200);
}

// Divisions of half an amplitude unit each way, and five ticks to a division on the axes.
void TestScreenOptions::graticuleAtTheDivisions()
{
    QFETCH(bool, yUp);
    QFETCH(bool, worksheet);
    QFETCH(QRgb, colour);
    WindowFixture f;
    f.window.viewOptions().setOption(ViewOption::YUp, yUp);
    f.window.viewActions().setOption(ViewOption::Graticule, true);
    const QImage picture =
        PictureExporter::image(f.control<ScreenArea>("picBildschirm")->picture(), 441, worksheet);
    const QRgb ground = worksheet ? 0xffffff : 0;
    colour &= 0xffffff;
    // Near the top and the left edge nothing else is drawn.
    const auto lit = [&](double at, bool across) {
        const int i = static_cast<int>(at);
        return across ? rgb(picture, i, 3) == colour : rgb(picture, 3, i) == colour;
    };
    for (int k = 1; k < kGraticuleDivisions; ++k) {
        // The middle one lies beneath an axis.
        if (2 * k == kGraticuleDivisions)
            continue;
        const double division = k * 441.0 / kGraticuleDivisions;
        const double between = division - 441.0 / kGraticuleDivisions / 2;
        for (const bool across : {true, false}) {
            QVERIFY2(lit(division, across), qPrintable(QString("division %1").arg(k)));
            QVERIFY2(!lit(between, across), qPrintable(QString("before division %1").arg(k)));
        }
    }
    // An amplitude of 1, a quarter of the screen from the middle, lies on a division.
    QVERIFY(lit(441.0 * 3 / 4, true));
    // Two pixels below the horizontal axis the ticks stand at fifths of a division.
    const int ticks = kGraticuleDivisions * kTicksPerDivision;
    const int row = 441 / 2 + 2;
    for (int k = 1; k < ticks / 2 - 2; ++k) {
        QCOMPARE(rgb(picture, static_cast<int>(k * 441.0 / ticks), row), colour);
        QCOMPARE(rgb(picture, static_cast<int>((k + 0.5) * 441.0 / ticks), row), ground);
    }
}

KORVELIAN_WIDGET_TEST(screenoptions, TestScreenOptions)
#include "tst_screenoptions.moc"
