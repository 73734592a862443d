#include "picture/pictureexporter.h"
#include "widgets/screenarea.h"
#include "tests/windowfixture.h"

#include <QAction>
#include <QScrollBar>

using namespace korvelian;

namespace {

// The screen's context menu entry, as the user ticks it.
QAction* yUpEntry(QWidget* screen)
{
    for (QAction* action : screen->actions()) {
        if (action->text() == "y-Achse nach oben (wie am Oszilloskop)")
            return action;
    }
    qFatal("no orientation entry");
}

// The rows of the column at x = 1 that the figure lights, as the mean row.
double figureRowAtXOne(const QImage& image, QRgb colour)
{
    const int column = image.width() * 3 / 4;
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = column - 1; x <= column + 1; ++x) {
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) {
                sum += y;
                ++count;
            }
        }
    }
    return count ? sum / count : -1;
}

} // namespace

class TestOrientation : public QObject
{
    Q_OBJECT

private slots:
    void positiveYDeflection_data();
    void positiveYDeflection();
};

void TestOrientation::positiveYDeflection_data()
{
    QTest::addColumn<bool>("yUp");
    QTest::newRow("y down, as the frame is set") << false;
    QTest::newRow("y up, as on an oscilloscope") << true;
}

// The 1 : 1 line y = x, and the beam at y = 1 with its y marker and drop line: a positive y
// lies above the centre with the option, below it without, on the screen and in a copy.
void TestOrientation::positiveYDeflection()
{
    QFETCH(bool, yUp);
    WindowFixture f;
    QVERIFY(f.show());
    auto* screen = f.control<ScreenArea>("picBildschirm");
    QVERIFY(!screen->yUp());
    yUpEntry(screen)->setChecked(yUp);
    QCOMPARE(screen->yUp(), yUp);
    const double centre = screen->height() / 2.0;
    const auto above = [&](double row) { return row >= 0 && row < centre; };

    const QImage shown = screen->grab().toImage();
    QCOMPARE(above(figureRowAtXOne(shown, qRgb(255, 255, 255))), yUp);
    const QImage copy = PictureExporter::image(screen->picture(), 441, true);
    QCOMPARE(above(figureRowAtXOne(copy, qRgb(0, 0, 0))), yUp);

    // At t = 0 with the y phase at 90°: x = 0, y = 1.
    f.control<QScrollBar>("hscPhase")->setValue(157);
    f.runFrames(1);
    QCOMPARE(above(screen->shapeRect(Shape::BeamPoint).center().y()), yUp);
    QCOMPARE(above(screen->shapeRect(Shape::YMarker).center().y()), yUp);
    QCOMPARE(above(screen->overlayLine(OverlayLine::DropToYAxis).y1()), yUp);
    // At x = 0 the y marker covers the beam, and shows where the screen paints it.
    const QPointF marker = screen->shapeRect(Shape::YMarker).center();
    QCOMPARE(QColor(screen->grab().toImage().pixel(marker.toPoint())), QColor(255, 0, 0));
    // The marker stands on the y axis, a quarter of the screen from the centre.
    QVERIFY(std::abs(std::abs(screen->shapeRect(Shape::YMarker).center().y() - centre) -
                     screen->height() / 4.0) < 2);
}

KORVELIAN_WIDGET_TEST(orientation, TestOrientation)
#include "tst_orientation.moc"
