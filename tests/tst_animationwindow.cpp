#include "form1.h"
#include "screenarea.h"
#include "windowfixture.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QTimer>

#include <cmath>

using namespace korvelian;

class TestAnimationWindow : public QObject
{
    Q_OBJECT

private slots:
    void beamRunsAlongTheFigureUntilStop();
    void aFrameCostsOneRepaint();
    void quitDuringTheAnimationMovesNothingMore();
    void closingTheWindowDuringTheAnimationEndsIt();
};

void TestAnimationWindow::beamRunsAlongTheFigureUntilStop()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* screen = f.control<ScreenArea>("picBildschirm");
    const QRectF startPlace = screen->shapeRect(Shape::BeamPoint);
    QList<QPointF> seen;
    QTimer sampler;
    connect(&sampler, &QTimer::timeout,
            [&] { seen << screen->shapeRect(Shape::BeamPoint).topLeft(); });
    sampler.start(30);
    QTimer::singleShot(400, [&] { QTest::mouseClick(f.control("Check1"), Qt::LeftButton); });
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(f.control("Command2"), Qt::LeftButton);
    const double seconds = clock.elapsed() / 1000.0;
    sampler.stop();

    QVERIFY(f.control<QCheckBox>("Check1")->isChecked());
    QVERIFY(seconds >= 0.39 && seconds < 5);
    const double frames = f.window.form().variables().t / 0.1;
    QVERIFY2(frames >= 10, qPrintable(QString::number(frames)));
    QVERIFY2(frames <= seconds * 100 + 2, qPrintable(QString::number(frames)));
    QVERIFY(seen.size() >= 5);
    QVERIFY(screen->shapeRect(Shape::BeamPoint) != startPlace);
    // The initial figure is the diagonal x = y: the point's corner lies on it, and its axis
    // markers sit on the axes.
    for (const QPointF& corner : seen) {
        QVERIFY2(std::abs(corner.x() - corner.y()) < 1.0,
                 qPrintable(QString("%1,%2").arg(corner.x()).arg(corner.y())));
    }
    const QRectF marker = screen->shapeRect(Shape::YMarker);
    QVERIFY(std::abs(marker.left() - (2 - 0.03) / 4 * 441) < 1.0);
    const QLineF drop = screen->overlayLine(OverlayLine::DropToXAxis);
    QCOMPARE(drop.y2(), 220.5);
    QCOMPARE(drop.x1(), drop.x2());
    // The stacking after a frame: Shape3 in front, then Shape2, then Shape1, lines behind.
    QCOMPARE(screen->stacking(), (std::array<int, 5>{{3, 4, 0, 1, 2}}));
}

namespace {

class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

} // namespace

void TestAnimationWindow::aFrameCostsOneRepaint()
{
    WindowFixture f;
    QVERIFY(f.show());
    PaintCounter counter;
    f.control("picBildschirm")->installEventFilter(&counter);
    QTimer::singleShot(300, [&] { f.control<QCheckBox>("Check1")->setChecked(true); });
    f.window.form().handle(Event::Command2_Click);
    // Seventeen overlay updates a frame, at most one paint: the frame's updates are painted
    // together in the next frame's pump, or merged with the next frame's.
    const double frames = f.window.form().variables().t / 0.1;
    QVERIFY(frames >= 10);
    QVERIFY2(counter.paints <= frames + 1,
             qPrintable(QString("%1 paints for %2 frames").arg(counter.paints).arg(frames)));
    QVERIFY(counter.paints > 0);
}

void TestAnimationWindow::quitDuringTheAnimationMovesNothingMore()
{
    WindowFixture f;
    QVERIFY(f.show());
    auto* screen = f.control<ScreenArea>("picBildschirm");
    QRectF atEnd;
    QTimer::singleShot(200, [&] {
        QTest::mouseClick(f.control("Command5"), Qt::LeftButton);
        atEnd = screen->shapeRect(Shape::BeamPoint);
    });
    QTest::mouseClick(f.control("Command2"), Qt::LeftButton);
    QVERIFY(f.ended);
    QVERIFY(f.stopTickedAtEnd);
    QCOMPARE(screen->shapeRect(Shape::BeamPoint), atEnd);
}

void TestAnimationWindow::closingTheWindowDuringTheAnimationEndsIt()
{
    WindowFixture f;
    QVERIFY(f.show());
    QTimer::singleShot(100, [&] { f.window.close(); });
    QTest::mouseClick(f.control("Command2"), Qt::LeftButton);
    QVERIFY(f.ended);
}

KORVELIAN_WIDGET_TEST_MAIN(TestAnimationWindow)
#include "tst_animationwindow.moc"
