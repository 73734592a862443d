#include "app/paintinpause.h"
#include "app/viewactions.h"
#include "app/viewsettings.h"
#include "app/windowzoom.h"
#include "form/form1.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"
#include "tests/exactcompare.h"
#include "tests/windowfixture.h"

#include <QMessageBox>
#include <QScreen>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

using namespace korvelian;

namespace {

// The screen's logical pixel of a coordinate handed over in single precision: the frame
// (-2, -2)-(2, 2) spread over 441 pixels.
double pixel(double value)
{
    return (double(float(value)) + 2) * 441 / 4;
}

bool near(double a, double b)
{
    return std::abs(a - b) < 1e-6;
}

struct Overlays
{
    QRectF beam;
    QRectF yMarker;
    QRectF xMarker;
    QLineF toXAxis;
    QLineF toYAxis;

    bool operator==(const Overlays&) const = default;
};

Overlays overlays(WindowFixture& f)
{
    auto* s = f.control<ScreenArea>("picBildschirm");
    return {s->shapeRect(Shape::BeamPoint), s->shapeRect(Shape::YMarker),
            s->shapeRect(Shape::XMarker), s->overlayLine(OverlayLine::DropToXAxis),
            s->overlayLine(OverlayLine::DropToYAxis)};
}

// Everything a user can see or the next action reads, but the tick of Stop.
struct Snapshot
{
    QImage screen;
    QImage velo;
    Overlays placed;
    QStringList texts;
    double t;
    double x;
    double y;
    double dt;

    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(WindowFixture& f)
{
    const FormVariables& v = f.window.form().variables();
    return {f.control("picBildschirm")->grab().toImage(),
            f.control("picVelo")->grab().toImage(),
            overlays(f),
            {f.text("txtZaehler"), f.text("txtNenner"), f.text("txtkgV"), f.text("txtHilfe")},
            v.t,
            v.x,
            v.y,
            v.dt};
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    // The most pixels one paint covered.
    qint64 most = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        ++paints;
        qint64 pixels = 0;
        for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
            pixels += qint64(r.width()) * r.height();
        most = std::max(most, pixels);
        return false;
    }
};

} // namespace

class TestAnimationWindow : public QObject
{
    Q_OBJECT

private slots:
    void overlaysFollowTheBeam();
    void markersCoverThePointWhereTheyMeet();
    void aFrameCostsAtMostOneRepaint();
    void aFrameIsPaintedInItsPause();
    void driftRepaintsTheSignalsWhereTheyChange();
    void framesLeaveWhatAWholeRepaintShows_data();
    void framesLeaveWhatAWholeRepaintShows();
    void aRepaintOfRectanglesPaintsExactlyThem();
    void readingsWorkedOutOncePerFigure_data();
    void readingsWorkedOutOncePerFigure();
    void informationBoxHoldsTheBeamStill();
    void stopTickWhileIdleChangesNothing();
    void quitDuringTheAnimationMovesNothingMore();
    void closingTheWindowDuringTheAnimationEndsIt();
    void speedTipTellsTheStep_data();
    void speedTipTellsTheStep();
    void longHintReadsWholeInATooltip();
};

void TestAnimationWindow::overlaysFollowTheBeam()
{
    WindowFixture f;
    QVERIFY(f.show());
    // x amplitude 1.5, y amplitude 0.5, y phase 1: x and y differ in every frame.
    f.control<QScrollBar>("hscAmp1")->setValue(150);
    f.control<QScrollBar>("hscAmp2")->setValue(50);
    f.control<QScrollBar>("hscPhase")->setValue(100);
    QList<Overlays> seen;
    f.runFrames(6, [&](int pump) {
        if (pump >= 2)
            seen << overlays(f);
    });
    QCOMPARE(seen.size(), 5);
    double t = 0;
    for (const Overlays& o : seen) {
        // What frame n placed, seen in pump n + 1.
        const double x = 1.5 * std::sin(t);
        const double y = 0.5 * std::sin(t + 1.0);
        const QString at = QString("t = %1").arg(t);
        QVERIFY2(near(o.beam.left(), pixel(x - 0.03)) && near(o.beam.top(), pixel(y - 0.03)),
                 qPrintable(at));
        QVERIFY2(near(o.yMarker.left(), pixel(-0.03)) && near(o.yMarker.top(), pixel(y - 0.03)),
                 qPrintable(at));
        QVERIFY2(near(o.xMarker.left(), pixel(x - 0.03)) && near(o.xMarker.top(), pixel(-0.03)),
                 qPrintable(at));
        const QLineF toX = o.toXAxis;
        QVERIFY2(near(toX.x1(), pixel(x)) && near(toX.y1(), pixel(y)) && near(toX.x2(), pixel(x)) &&
                     near(toX.y2(), pixel(0)),
                 qPrintable(at));
        const QLineF toY = o.toYAxis;
        QVERIFY2(near(toY.x1(), pixel(x)) && near(toY.y1(), pixel(y)) && near(toY.x2(), pixel(0)) &&
                     near(toY.y2(), pixel(y)),
                 qPrintable(at));
        t += 0.1;
    }
    COMPARE_EXACT(f.window.form().variables().t, 0.1 + 0.1 + 0.1 + 0.1 + 0.1 + 0.1);
    QVERIFY(f.control<QCheckBox>("Check1")->isChecked());
}

void TestAnimationWindow::markersCoverThePointWhereTheyMeet()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* screen = f.control<ScreenArea>("picBildschirm");
    // The point in front before the run: the frame itself must put the markers over it.
    screen->bringToFront(Shape::BeamPoint);
    QCOMPARE(screen->stacking().back(), Overlay::BeamPoint);
    // The first frame, at t = 0, puts all three shapes on one place.
    f.runFrames(1);
    QCOMPARE(screen->shapeRect(Shape::BeamPoint), screen->shapeRect(Shape::XMarker));
    const QImage shot = screen->grab().toImage();
    const QPointF centre = screen->shapeRect(Shape::BeamPoint).center() * shot.devicePixelRatio();
    QCOMPARE(QColor(shot.pixel(centre.toPoint())), QColor(255, 0, 0));
    // From the top: the x marker, the y marker, the point, then the lines.
    QCOMPARE(screen->stacking(),
             (std::array<Overlay, 5>{{Overlay::DropToXAxis, Overlay::DropToYAxis,
                                      Overlay::BeamPoint, Overlay::YMarker, Overlay::XMarker}}));
}

void TestAnimationWindow::aFrameCostsAtMostOneRepaint()
{
    WindowFixture f;
    QVERIFY(f.show());
    PaintCounter counter;
    f.control("picBildschirm")->installEventFilter(&counter);
    // Seventeen overlay updates a frame, at most one paint: a frame's updates are painted
    // together in the next pause.
    f.runFrames(20);
    QVERIFY2(counter.paints <= 21, qPrintable(QString("%1 paints").arg(counter.paints)));
    QVERIFY(counter.paints > 0);
}

// A step of the drift changes the y signal and its formula: the time signals' window repaints
// there and where its cursor was and is, not whole. That it shows what a whole repaint does,
// framesLeaveWhatAWholeRepaintShows looks at.
void TestAnimationWindow::driftRepaintsTheSignalsWhereTheyChange()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.window.viewActions().setOption(ViewOption::TimeSignals, true);
    TimeSignalView& view = f.window.timeSignals();
    f.runFrames(2);
    QApplication::processEvents();
    PaintCounter counter;
    view.installEventFilter(&counter);
    f.window.viewActions().setOption(ViewOption::Drift, true);
    f.runFrames(12);
    QApplication::processEvents();
    QVERIFY(counter.paints >= 12);
    const qint64 whole = qint64(view.width()) * view.height();
    QVERIFY2(counter.most < whole / 4,
             qPrintable(QString("%1 of %2").arg(counter.most).arg(whole)));
}

// The pump holds a window's repaint for the pause that follows it; where none follows, the
// event loop paints it.
void TestAnimationWindow::aFrameIsPaintedInItsPause()
{
    QWidget window;
    window.resize(100, 100);
    PaintCounter counter;
    window.installEventFilter(&counter);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(counter.paints > 0);
    const int shown = counter.paints;
    PaintInPause pause;
    const auto pump = [&] {
        pause.setPumping(true);
        window.update();
        QApplication::processEvents();
        pause.setPumping(false);
    };
    pump();
    QCOMPARE(counter.paints, shown);
    QVERIFY(pause.paint());
    QCOMPARE(counter.paints, shown + 1);
    QVERIFY(!pause.paint());
    pump();
    QCOMPARE(counter.paints, shown + 1);
    QTRY_COMPARE(counter.paints, shown + 2);
}

void TestAnimationWindow::framesLeaveWhatAWholeRepaintShows_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<bool>("readings");
    QTest::addColumn<bool>("afterglow");
    QTest::addColumn<int>("frames");
    QTest::addColumn<bool>("timeSignals");
    // The phase drifts until this frame (0: not at all).
    QTest::addColumn<int>("driftUntil");
    QTest::addColumn<int>("zoom");
    // The beam creeping, and jumping across the screen with long drop lines; the reading aid
    // and the values beneath the overlays.
    QTest::newRow("3 : 1") << "3" << false << false << 12 << false << 0 << 100;
    QTest::newRow("32767 : 1") << "32767" << false << false << 12 << false << 0 << 100;
    QTest::newRow("3 : 1, reading aid and values")
        << "3" << true << false << 12 << false << 0 << 100;
    // The afterglow repaints where its trace changed: as it grows, as its pieces fade from
    // level to level and as they go, over the figure and beneath the readings.
    QTest::newRow("afterglow, 3 : 1, growing") << "3" << false << true << 12 << false << 0 << 100;
    QTest::newRow("afterglow, 3 : 1, fading") << "3" << false << true << 150 << false << 0 << 100;
    QTest::newRow("afterglow, 32767 : 1, a dot each frame")
        << "32767" << false << true << 40 << false << 0 << 100;
    QTest::newRow("afterglow, 3 : 1, readings") << "3" << true << true << 150 << false << 0 << 100;
    // A trace of 4 pixels, as at full screen: a piece's line reaches fewer tiles than its box.
    QTest::newRow("afterglow, 3 : 1, 200 %") << "3" << false << true << 150 << false << 0 << 200;
    // The time signals' window repaints its cursor where it was and where it is: creeping,
    // and jumping across the signals, with its readout changing.
    QTest::newRow("time signals, 3 : 1") << "3" << false << false << 40 << true << 0 << 100;
    QTest::newRow("time signals, 32767 : 1") << "32767" << false << false << 40 << true << 0 << 100;
    // Drifting, the signals are painted anew each frame; after it, the cursor moves alone again.
    QTest::newRow("time signals, drifting") << "3" << false << false << 12 << true << 12 << 100;
    QTest::newRow("time signals, after drifting")
        << "3" << false << false << 24 << true << 12 << 100;
}

void TestAnimationWindow::framesLeaveWhatAWholeRepaintShows()
{
    QFETCH(QString, numerator);
    QFETCH(bool, readings);
    QFETCH(bool, afterglow);
    QFETCH(int, frames);
    QFETCH(bool, timeSignals);
    QFETCH(int, driftUntil);
    QFETCH(int, zoom);
    WindowFixture f;
    f.window.zoom().setZoomPercent(zoom);
    QVERIFY(f.show());
    f.window.viewActions().setOption(ViewOption::TimeSignals, timeSignals);
    f.window.viewActions().setOption(ViewOption::ReadingAid, readings);
    f.window.viewActions().setOption(ViewOption::Values, readings);
    f.window.viewActions().setOption(ViewOption::Afterglow, afterglow);
    f.control<QLineEdit>("txtZaehler")->setText(numerator);
    f.window.viewActions().setOption(ViewOption::Drift, driftUntil > 0);
    f.runFrames(frames, [&](int pump) {
        if (pump == driftUntil)
            f.window.viewActions().setOption(ViewOption::Drift, false);
    });
    // The last frame's rectangles are painted once the loop is left.
    QApplication::processEvents();
    // What the frames painted piece by piece into the window, against the screen painted
    // whole.
    auto* screen = f.control("picBildschirm");
    const QImage window = f.window.screen()->grabWindow(f.window.winId()).toImage();
    const qreal ratio = window.devicePixelRatio();
    const QImage painted = window
                               .copy(QRectF(QPointF(screen->mapTo(&f.window, QPoint(0, 0))) * ratio,
                                            QSizeF(screen->size()) * ratio)
                                         .toAlignedRect())
                               .convertToFormat(QImage::Format_RGB32);
    const QImage whole = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(painted.size(), whole.size());
    QVERIFY(painted == whole);
    if (timeSignals) {
        TimeSignalView& view = f.window.timeSignals();
        const QImage shown = view.screen()->grabWindow(view.winId()).toImage();
        const QImage repainted = view.grab().toImage();
        QCOMPARE(shown.size(), repainted.size());
        QVERIFY(shown.convertToFormat(QImage::Format_RGB32) ==
                repainted.convertToFormat(QImage::Format_RGB32));
    }
}

void TestAnimationWindow::readingsWorkedOutOncePerFigure_data()
{
    QTest::addColumn<bool>("afterglow");
    QTest::newRow("over the figure") << false;
    // The trace lies between the figure and the readings, which are painted again each frame.
    QTest::newRow("over the afterglow") << true;
}

// The reading aid's marks and the values depend on the figure, not on the beam: a frame of the
// beam works nothing of them out again, a new figure once.
void TestAnimationWindow::readingsWorkedOutOncePerFigure()
{
    QFETCH(bool, afterglow);
    WindowFixture f;
    QVERIFY(f.show());
    for (const ViewOption option : {ViewOption::ReadingAid, ViewOption::Values})
        f.window.viewActions().setOption(option, true);
    f.window.viewActions().setOption(ViewOption::Afterglow, afterglow);
    f.control<QLineEdit>("txtZaehler")->setText("32767");
    auto* screen = f.control<ScreenArea>("picBildschirm");
    f.runFrames(2);
    // The readings of a figure drawn aside come with its picture.
    QTRY_VERIFY(screen->showsExact());
    QApplication::processEvents();
    const int before = screen->readingsDescribed();
    QVERIFY(before > 0);
    f.runFrames(20);
    QApplication::processEvents();
    QCOMPARE(screen->readingsDescribed(), before);
    f.runFrames(10, [&](int pump) {
        if (pump == 5)
            f.control<QScrollBar>("hscPhase")->setValue(79);
    });
    QTRY_VERIFY(screen->showsExact());
    QApplication::processEvents();
    QCOMPARE(screen->readingsDescribed(), before + 1);
}

void TestAnimationWindow::aRepaintOfRectanglesPaintsExactlyThem()
{
    WindowFixture f;
    QVERIFY(f.show());
    // Lit all over the amplitude's box, so that a pixel from the wrong place shows.
    f.control<QLineEdit>("txtZaehler")->setText("32767");
    auto* screen = f.control("picBildschirm");
    const QImage whole = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = whole.devicePixelRatio();
    // Far apart, tall and wide as a frame's drop lines make them; even corners, which are
    // whole device pixels at a ratio of 1.5 too.
    const QRegion region = QRegion(250, 20, 6, 400) + QRegion(20, 330, 400, 6) +
                           QRegion(316, 316, 30, 30) + QRegion(100, 100, 2, 2);
    QImage painted(whole.size(), QImage::Format_RGB32);
    painted.setDevicePixelRatio(ratio);
    const QRgb untouched = qRgb(0, 200, 0);
    painted.fill(untouched);
    // The region's corner goes to the target's offset.
    screen->render(&painted, region.boundingRect().topLeft(), region, QWidget::RenderFlags());
    int wrong = 0;
    for (int y = 0; y < whole.height(); ++y) {
        for (int x = 0; x < whole.width(); ++x) {
            const bool inside = region.contains(
                QPoint(int(std::floor((x + 0.5) / ratio)), int(std::floor((y + 0.5) / ratio))));
            if (painted.pixel(x, y) != (inside ? whole.pixel(x, y) : untouched))
                ++wrong;
        }
    }
    QCOMPARE(wrong, 0);
}

void TestAnimationWindow::informationBoxHoldsTheBeamStill()
{
    WindowFixture f;
    QVERIFY(f.show());
    FormVariables& vars = f.window.form().variables();
    double tOpened = -1;
    double tClosing = -1;
    Overlays placedOpened;
    Overlays placedClosing;
    QString title;
    // Runs while the box is open, twenty times: were the animation to go on meanwhile, each
    // would see another frame.
    std::function<void(int)> watch = [&](int left) {
        if (left == 20) {
            tOpened = vars.t;
            placedOpened = overlays(f);
        }
        if (left > 0) {
            QMetaObject::invokeMethod(
                &f.window, [&watch, left] { watch(left - 1); }, Qt::QueuedConnection);
            return;
        }
        tClosing = vars.t;
        placedClosing = overlays(f);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->accept();
        }
    };
    f.runFrames(5, [&](int pump) {
        if (pump == 3) {
            watch(20);
            f.control<QPushButton>("Command6")->click();
        }
    });
    QCOMPARE(title, "Feeware, programmiert von");
    COMPARE_EXACT(tOpened, 0.1 + 0.1);
    COMPARE_EXACT(tClosing, tOpened);
    QVERIFY(placedClosing == placedOpened);
    // Closed, the animation goes on to its fifth frame.
    COMPARE_EXACT(vars.t, 0.1 + 0.1 + 0.1 + 0.1 + 0.1);
}

void TestAnimationWindow::stopTickWhileIdleChangesNothing()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.runFrames(3);
    auto* stop = f.control<QCheckBox>("Check1");
    const Snapshot before = snapshot(f);
    QTest::mouseClick(stop, Qt::LeftButton);
    QVERIFY(!stop->isChecked());
    QVERIFY(snapshot(f) == before);
    QTest::mouseClick(stop, Qt::LeftButton);
    QVERIFY(stop->isChecked());
    QVERIFY(snapshot(f) == before);
}

void TestAnimationWindow::quitDuringTheAnimationMovesNothingMore()
{
    WindowFixture f;
    QVERIFY(f.show());
    Overlays atEnd;
    f.runFrames(10, [&](int pump) {
        if (pump == 3) {
            QTest::mouseClick(f.control("Command5"), Qt::LeftButton);
            atEnd = overlays(f);
        }
    });
    QVERIFY(f.ended);
    QVERIFY(f.stopTickedAtEnd);
    QVERIFY(overlays(f) == atEnd);
    COMPARE_EXACT(f.window.form().variables().t, 0.1 + 0.1 + 0.1);
}

void TestAnimationWindow::closingTheWindowDuringTheAnimationEndsIt()
{
    WindowFixture f;
    QVERIFY(f.show());
    f.runFrames(10, [&](int pump) {
        if (pump == 2)
            f.window.close();
    });
    QVERIFY(f.ended);
    QVERIFY(f.stopTickedAtEnd);
}

void TestAnimationWindow::speedTipTellsTheStep_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("dt");
    QTest::addColumn<QString>("tip");
    // clang-format off
    QTest::newRow("bar at start") << "picVelo" << 0.0 << "Geschwindigkeit: 0 rad je Bild; „Schwingung“ beginnt mit 0,1";
    QTest::newRow("bar at the start step") << "picVelo" << 0.1 << "Geschwindigkeit: 0,1 rad je Bild, ein Umlauf von x in 63 Bildern";
    QTest::newRow("faster button after two presses") << "Command7" << 0.121 << "Geschwindigkeit: 0,121 rad je Bild, ein Umlauf von x in 52 Bildern";
    QTest::newRow("slower button, a turn within a frame") << "Command8" << 7.0 << "Geschwindigkeit: 7 rad je Bild";
    // clang-format on
}

// Pointing at the speed bar or its buttons tells the step as a number.
void TestAnimationWindow::speedTipTellsTheStep()
{
    QFETCH(QString, control);
    QFETCH(double, dt);
    QFETCH(QString, tip);
    WindowFixture f;
    QVERIFY(f.show());
    f.window.form().variables().dt = dt;
    QWidget* widget = f.control(control.toUtf8().constData());
    const QPoint middle = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, middle, widget->mapToGlobal(middle));
    QApplication::sendEvent(widget, &event);
    QCOMPARE(QToolTip::text(), tip);
    QToolTip::hideText();
}

// A hint longer than its line shows whole where the line is pointed at; one that fits, not.
void TestAnimationWindow::longHintReadsWholeInATooltip()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* line = f.control<QLineEdit>("txtHilfe");
    for (const QString& hint : {QString("Hilfe"), QString("Ein langer Hinweis. ").repeated(12)}) {
        line->setText(hint);
        const QPoint middle = line->rect().center();
        QHelpEvent event(QEvent::ToolTip, middle, line->mapToGlobal(middle));
        QApplication::sendEvent(line, &event);
        QCOMPARE(QToolTip::text(), hint == "Hilfe" ? QString() : hint);
        QToolTip::hideText();
    }
}

KORVELIAN_WIDGET_TEST(animationwindow, TestAnimationWindow)
#include "tst_animationwindow.moc"
