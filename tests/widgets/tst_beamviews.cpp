#include "tests/exactcompare.h"
#include "form/form1.h"
#include "picture/pictureexporter.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"
#include "app/viewactions.h"
#include "app/viewoptions.h"
#include "tests/windowfixture.h"

#include <QPainter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

using namespace korvelian;

namespace {

constexpr double kPi = std::numbers::pi;

// The brightest of the pixels around a place: lines are drawn on whole pixels.
int brightestNear(const QImage& image, QPointF place)
{
    int brightest = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint p = place.toPoint() + QPoint(dx, dy);
            if (image.rect().contains(p))
                brightest = std::max(brightest, qGray(image.pixel(p)));
        }
    }
    return brightest;
}

void setRatio(WindowFixture& f, const char* numerator, const char* denominator)
{
    f.control<QLineEdit>("txtZaehler")->setText(numerator);
    f.control<QLineEdit>("txtNenner")->setText(denominator);
}

Parameter parameters(WindowFixture& f)
{
    auto bar = [&f](const char* name) { return f.control<QScrollBar>(name)->value() / 100.0; };
    return {bar("hscAmp1"),
            bar("HScroll1"),
            bar("hscAmp2"),
            bar("hscPhase"),
            f.text("txtZaehler").toDouble(),
            f.text("txtNenner").toDouble()};
}

// Where the view should put a value, worked out from the screen rather than by the view's own
// mapping: the panel's middle row for 0, its height for the screen's span of 4 units, and the
// direction in which the screen's y axis points (x always grows upward on a time chart).
double expectedRow(const TimeSignalView& view, const ScreenArea& screen, Signal signal,
                   double value)
{
    const RectF area = fromQt(QRectF(view.rect()));
    TextMetrics& metrics = qtTextMetrics();
    const double middle = valuePixel(metrics, area, view.scene(), 1, signal, 0);
    const double height = std::abs(valuePixel(metrics, area, view.scene(), 1, signal, 2) -
                                   valuePixel(metrics, area, view.scene(), 1, signal, -2));
    const double down = signal == Signal::X                                   ? -1
                        : screen.toPixel(0, 1).y() > screen.toPixel(0, 0).y() ? 1
                                                                              : -1;
    return middle + down * value / 4 * height;
}

} // namespace

class TestBeamViews : public QObject
{
    Q_OBJECT

private slots:
    void signalsAtKnownPoints_data();
    void signalsAtKnownPoints();
    void cursorAtTheBeamsT();
    void marksWhereTheScreensMarkersStand_data();
    void marksWhereTheScreensMarkersStand();
    void refusedEntryIsNeverDrawn_data();
    void refusedEntryIsNeverDrawn();
    void afterglowFadesOnlyWhileTheBeamRuns();
    void viewsAreRemembered();
    void marksClearOfTexts_data();
    void marksClearOfTexts();
    void savedSignalsAreCurves();
    void readoutAsDrawTextPutsIt_data();
    void readoutAsDrawTextPutsIt();
};

void TestBeamViews::signalsAtKnownPoints_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<int>("xPhase");
    QTest::addColumn<int>("yPhase");
    QTest::addColumn<bool>("yUp");
    QTest::newRow("1 : 1") << "1"
                           << "1" << 0 << 0 << false;
    QTest::newRow("1 : 1, y phase 90°") << "1"
                                        << "1" << 0 << 157 << false;
    QTest::newRow("3 : 2, both phases") << "3"
                                        << "2" << 79 << 100 << false;
    QTest::newRow("3 : 2, both phases, y axis up") << "3"
                                                   << "2" << 79 << 100 << true;
}

// What the window shows at t = 0 and a quarter x period on: each signal lit where the formula
// puts it, and dark where it would lie with the y axis the other way round.
void TestBeamViews::signalsAtKnownPoints()
{
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(int, xPhase);
    QFETCH(int, yPhase);
    QFETCH(bool, yUp);
    WindowFixture f;
    QVERIFY(f.show());
    f.control<QScrollBar>("hscAmp2")->setValue(150);
    f.control<QScrollBar>("HScroll1")->setValue(xPhase);
    f.control<QScrollBar>("hscPhase")->setValue(yPhase);
    setRatio(f, qPrintable(numerator), qPrintable(denominator));
    f.window.viewOptions().setOption(ViewOption::YUp, yUp);
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    TimeSignalView& view = f.window.timeSignals();
    const auto* screen = f.control<ScreenArea>("picBildschirm");
    QVERIFY(view.isVisible());
    const QImage shot = view.grab().toImage();
    const QRectF area(view.rect());
    const Parameter p = parameters(f);
    for (const double t : {0.0, kPi / 2}) {
        for (const Signal signal : {Signal::X, Signal::Y}) {
            const double value = signalValue(signal, t, p);
            const double x = timePixel(qtTextMetrics(), fromQt(area), view.scene(), 1, t);
            const QString where =
                QString("%1 at t = %2").arg(signal == Signal::X ? "x" : "y").arg(t);
            QVERIFY2(brightestNear(shot, {x, expectedRow(view, *screen, signal, value)}) == 255,
                     qPrintable(where));
            if (std::abs(value) > 0.2) {
                QVERIFY2(brightestNear(shot, {x, expectedRow(view, *screen, signal, -value)}) < 200,
                         qPrintable(where + " mirrored"));
            }
        }
    }
}

void TestBeamViews::cursorAtTheBeamsT()
{
    WindowFixture f;
    QVERIFY(f.show());
    setRatio(f, "3", "2");
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    TimeSignalView& view = f.window.timeSignals();
    QVERIFY(!view.scene().beamT);
    f.runFrames(5);
    // The last frame put the beam at t = 0.4, accumulated as the animation counts.
    COMPARE_EXACT(*view.scene().beamT, 0.1 + 0.1 + 0.1 + 0.1);
    const QImage shot = view.grab().toImage();
    const QRectF area(view.rect());
    const double x = timePixel(qtTextMetrics(), fromQt(area), view.scene(), 1, 0.4);
    for (const Signal signal : {Signal::X, Signal::Y}) {
        // The yellow point where the cursor crosses the signal.
        const double row = valuePixel(qtTextMetrics(), fromQt(area), view.scene(), 1, signal,
                                      signalValue(signal, 0.4, view.scene().p));
        const QColor seen = shot.pixelColor(QPointF(x, row).toPoint());
        QCOMPARE(seen, QColor(255, 255, 0));
    }
}

void TestBeamViews::marksWhereTheScreensMarkersStand_data()
{
    QTest::addColumn<QString>("bar"); // set after Stop, or none
    QTest::addColumn<int>("value");
    QTest::newRow("stopped, nothing changed: on the signals") << "" << 0;
    QTest::newRow("stopped, then the y phase") << "hscPhase" << 300;
    QTest::newRow("stopped, then the x amplitude") << "hscAmp1" << 50;
    QTest::newRow("stopped, then the y amplitude") << "hscAmp2" << 200;
}

// After "Stop" the screen's markers stay where the last frame put them while a bar redraws the
// figure; the cursor marks those values too, and its readout says the beam stopped there.
void TestBeamViews::marksWhereTheScreensMarkersStand()
{
    QFETCH(QString, bar);
    QFETCH(int, value);
    WindowFixture f;
    QVERIFY(f.show());
    setRatio(f, "3", "2");
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    f.runFrames(7);
    // The markers stand at the last frame's deflection, x - 0.03 and y - 0.03 their corners.
    const Point markers{f.window.form().variables().x, f.window.form().variables().y};
    if (!bar.isEmpty())
        f.control<QScrollBar>(qPrintable(bar))->setValue(value);
    TimeSignalView& view = f.window.timeSignals();
    const RectF area = fromQt(QRectF(view.rect()));
    Scene scene;
    describeTimeCursor(scene, qtTextMetrics(), area, view.scene(), {});
    std::vector<double> rows;
    std::string readout;
    for (const Item& item : scene.items()) {
        if (const auto* mark = std::get_if<item::Rect>(&item))
            rows.push_back(mark->box.top() + mark->box.height / 2);
        if (const auto* text = std::get_if<item::Text>(&item))
            readout = text->text;
    }
    QCOMPARE(rows.size(), std::size_t{2});
    QCOMPARE(rows[0], valuePixel(qtTextMetrics(), area, view.scene(), 1, Signal::X, markers.x));
    QCOMPARE(rows[1], valuePixel(qtTextMetrics(), area, view.scene(), 1, Signal::Y, markers.y));
    QCOMPARE(QString::fromStdString(readout).startsWith("angehalten:"), !bar.isEmpty());
}

void TestBeamViews::refusedEntryIsNeverDrawn_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("0") << "0";
    QTest::newRow("negative") << "-3";
    QTest::newRow("above 32767") << "32768";
}

void TestBeamViews::refusedEntryIsNeverDrawn()
{
    QFETCH(QString, entry);
    WindowFixture f;
    QVERIFY(f.show());
    setRatio(f, "3", "2");
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    TimeSignalView& view = f.window.timeSignals();
    const QImage before = view.grab().toImage();
    f.control<QLineEdit>("txtZaehler")->setText(entry);
    QVERIFY(f.window.form().variables().ratio.refused);
    QCOMPARE(view.scene().p.numerator, 3.0);
    QVERIFY(view.grab().toImage() == before);
    // A redraw while it stands refused, as a bar or the drifting phase makes one.
    f.control<QScrollBar>("hscAmp1")->setValue(120);
    QCOMPARE(view.scene().p.amplitudeX, 1.2);
    QCOMPARE(view.scene().p.numerator, 3.0);
    QCOMPARE(view.scene().p.denominator, 2.0);
}

// The trace is seen in a copy, which has no overlays over it.
void TestBeamViews::afterglowFadesOnlyWhileTheBeamRuns()
{
    WindowFixture f;
    QVERIFY(f.show());
    setRatio(f, "3", "2");
    auto* screen = f.control<ScreenArea>("picBildschirm");
    auto copy = [screen] { return PictureExporter::image(screen->picture(), 441, false); };
    const QImage plain = copy();

    f.window.viewActions().setOption(ViewOption::Afterglow, true);
    f.runFrames(30);
    // The last frame's beam was at t = 2.9; a quarter radian before it the beam passed at
    // most three frames ago.
    const Point passed = deflection(2.65, parameters(f));
    const QPointF at = screen->toPixel(passed.x, passed.y);
    const QImage glowing = copy();
    const int dimmed = qGray(QColor(89, 89, 89).rgb());
    QVERIFY2(brightestNear(glowing, at) > dimmed + 20,
             qPrintable(QString("%1").arg(brightestNear(glowing, at))));

    // Stopped, it stands still; a redraw takes it away.
    QCoreApplication::processEvents();
    QVERIFY(copy() == glowing);
    f.control<QPushButton>("Command1")->click();
    QVERIFY(brightestNear(copy(), at) <= dimmed);

    // Unticked, the screen is as it was.
    f.window.viewActions().setOption(ViewOption::Afterglow, false);
    QVERIFY(copy() == plain);
}

void TestBeamViews::viewsAreRemembered()
{
    QStandardPaths::setTestModeEnabled(true);
    const std::array<ViewOption, 3> views{ViewOption::TimeSignals, ViewOption::Afterglow,
                                          ViewOption::Drift};
    for (const bool on : {true, false}) {
        {
            WindowFixture f;
            f.window.restoreView();
            for (const ViewOption option : views)
                f.window.viewActions().setOption(option, on);
            f.window.viewActions().setDriftSecondsPerTurn(on ? 40 : 20);
        }
        WindowFixture f;
        f.window.restoreView();
        QVERIFY(f.show());
        QCoreApplication::processEvents();
        QCOMPARE(f.window.timeSignals().isVisible(), on);
        QCOMPARE(f.control<ScreenArea>("picBildschirm")->afterglow(), on);
        QCOMPARE(f.window.form().drift().ticked(), on);
        QCOMPARE(f.window.form().drift().secondsPerTurn(), on ? 40.0 : 20.0);
    }
}

void TestBeamViews::marksClearOfTexts_data()
{
    QTest::addColumn<double>("t");
    QTest::newRow("x and y at 2: the formulas, +x and +y") << kPi / 2;
    QTest::newRow("x and y at −2: −x, −y and the time axis's 0") << 3 * kPi / 2;
}

// At amplitude 2 the cursor's point, markers, lines and readout leave every text of the view
// as it is without them, in the narrow view beside the window on a small screen: pixels of text
// are grey, which neither the signals nor the marks are.
void TestBeamViews::marksClearOfTexts()
{
    QFETCH(double, t);
    WindowFixture f;
    QVERIFY(f.show());
    f.control<QScrollBar>("hscAmp1")->setValue(200);
    f.control<QScrollBar>("hscAmp2")->setValue(200);
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    TimeSignalView& view = f.window.timeSignals();
    QVERIFY(view.width() <= kTimeSignalsWidth / 2);
    const QImage plain = view.grab().toImage();
    view.setBeam(t);
    const QImage marked = view.grab().toImage();
    int text = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            const QColor seen = plain.pixelColor(x, y);
            if (seen.red() != seen.green() || seen.green() != seen.blue() || seen.red() == 0 ||
                seen.red() == 255)
                continue;
            ++text;
            QVERIFY2(marked.pixelColor(x, y) == seen, qPrintable(QString("%1, %2").arg(x).arg(y)));
        }
    }
    QVERIFY(text > 0);
}

// An SVG file to be scaled on a worksheet holds each signal as one curve, not as a column of
// rectangles per pixel.
void TestBeamViews::savedSignalsAreCurves()
{
    WindowFixture f;
    QVERIFY(f.show());
    setRatio(f, "3", "2");
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    QTemporaryDir dir;
    const QString path = dir.filePath("zeitverlaeufe.svg");
    QString error;
    QVERIFY2(f.window.timeSignals().save(path, kTimeSignalsWidth, &error, false),
             qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    QCOMPARE(svg.count("<path"), 2);
    QVERIFY2(svg.count("<rect") < 5, qPrintable(QString::number(svg.count("<rect"))));
}

void TestBeamViews::readoutAsDrawTextPutsIt_data()
{
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QRectF>("box");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<qreal>("ratio");
    const int right = Qt::AlignRight | Qt::AlignTop;
    const int left = Qt::AlignLeft | Qt::AlignTop;
    // Beside the caption, and under it in a narrow window, at places between pixels.
    QTest::newRow("100 %, right") << 13 << QRectF(30.2281, 428.609, 520.4, 14.39) << right << 1.0;
    QTest::newRow("100 %, left") << 13 << QRectF(26.2281, 428.609, 173.772, 14.39) << left << 1.0;
    QTest::newRow("150 %, right") << 20 << QRectF(45.7, 640.3, 780.1, 22.1) << right << 1.0;
    QTest::newRow("100 %, twice the pixels")
        << 13 << QRectF(30.2281, 428.609, 520.4, 14.39) << right << 2.0;
    // Too narrow for the text: drawText cuts it off at the box.
    QTest::newRow("cut off") << 13 << QRectF(10.5, 5.25, 120.3, 14.39) << left << 1.0;
}

void TestBeamViews::readoutAsDrawTextPutsIt()
{
    QFETCH(int, pixelSize);
    QFETCH(QRectF, box);
    QFETCH(int, alignment);
    QFETCH(qreal, ratio);
    // One after another into the same kept glyphs, as frame after frame: each text is where
    // and as drawText puts it, kerning between its letters included.
    const QStringList texts{QStringLiteral("t = 0,62 T:  x = −0,69,  y = −0,76"),
                            QStringLiteral("t = 11,07 T:  x = 1,50,  y = 0,04"),
                            QStringLiteral("t = 2,41 T:  x = −1,97,  y = −2,00"),
                            QStringLiteral("angehalten:  x = 0,33,  y = −0,21"),
                            QStringLiteral("t = 0,62 T:  x = −0,69,  y = −0,76")};
    KeptGlyphs glyphs;
    for (const QString& text : texts) {
        QImage expected(QSize(int(box.right()) + 40, int(box.bottom()) + 20) * ratio,
                        QImage::Format_RGB32);
        expected.setDevicePixelRatio(ratio);
        expected.fill(Qt::black);
        const QImage blank = expected;
        QImage drawn = expected;
        const QFont font = toQFont({"Times New Roman", false, pixelSize});
        {
            QPainter painter(&expected);
            painter.setPen(Qt::white);
            painter.setFont(font);
            painter.drawText(box, alignment, text);
        }
        QVERIFY2(glyphs.layOut(font, box, alignment, text), qPrintable(text));
        QPainter painter(&drawn);
        painter.setPen(Qt::white);
        glyphs.draw(painter);
        painter.end();
        QVERIFY2(drawn == expected, qPrintable(text));
        // A frame repaints the readout where it was and is: all of its ink lies there.
        QImage outside = drawn;
        QPainter(&outside).fillRect(glyphs.inked(), Qt::black);
        QVERIFY2(outside == blank, qPrintable(text));
    }
}

KORVELIAN_WIDGET_TEST(beamviews, TestBeamViews)

#include "tst_beamviews.moc"
