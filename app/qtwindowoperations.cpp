#include "qtwindowoperations.h"

#include "picture/scenepainter.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScrollBar>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace korvelian {

QtWindowOperations::QtWindowOperations(const Controls& controls, std::function<void()> exitProgram)
    : m_controls(controls), m_exitProgram(std::move(exitProgram))
{
    m_clock.start();
#ifdef __linux__
    // The frame pause is 10 ms; the default timer slack of 50 us would add to every frame.
    prctl(PR_SET_TIMERSLACK, 1UL);
#endif
}

PictureArea* QtWindowOperations::area(Picture picture) const
{
    if (picture == Picture::Screen)
        return m_controls.screen;
    return m_controls.speedBar;
}

void QtWindowOperations::setFrame(Picture picture, float x1, float y1, float x2, float y2)
{
    if (!m_ended)
        area(picture)->setFrame(x1, y1, x2, y2);
}

void QtWindowOperations::clear(Picture picture)
{
    if (!m_ended)
        area(picture)->clear();
}

void QtWindowOperations::drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                                     Colour colour)
{
    if (!m_ended)
        area(picture)->drawSegment(x1, y1, x2, y2, toQColor(colour));
}

void QtWindowOperations::drawFigure(Picture picture, const Parameter& p, double end, Colour colour)
{
    if (m_ended)
        return;
    area(picture)->drawFigure(p, end, toQColor(colour));
    if (picture == Picture::Screen && m_controls.timeSignals)
        m_controls.timeSignals->followScreen();
}

void QtWindowOperations::drawBox(Picture picture, float x1, float y1, float x2, float y2)
{
    if (m_ended)
        return;
    area(picture)->drawBox(x1, y1, x2, y2);
    // The bar's right edge is the step; a screen reader says it in words.
    if (picture == Picture::SpeedBar) {
        area(picture)->setAccessibleDescription(
            QStringLiteral("Schritt je Bild: %1")
                .arg(QLocale(QLocale::German).toString(x2, 'g', 4)));
    }
}

void QtWindowOperations::setShapeLeft(Shape shape, float left)
{
    if (!m_ended)
        m_controls.screen->setShapeLeft(shape, left);
}

void QtWindowOperations::setShapeTop(Shape shape, float top)
{
    if (!m_ended)
        m_controls.screen->setShapeTop(shape, top);
}

void QtWindowOperations::bringToFront(Shape shape)
{
    if (!m_ended)
        m_controls.screen->bringToFront(shape);
}

void QtWindowOperations::setLineEnd(OverlayLine line, LineEnd end, float value)
{
    if (!m_ended)
        m_controls.screen->setLineEnd(line, end, value);
}

void QtWindowOperations::beamAt(double t, const Parameter& p)
{
    if (m_ended)
        return;
    m_controls.screen->followBeam(t, p, clock());
    if (m_controls.timeSignals)
        m_controls.timeSignals->setBeam(t, deflection(t, p));
}

void QtWindowOperations::beamStopped()
{
    if (!m_ended)
        m_controls.screen->stopBeam();
}

std::string QtWindowOperations::text(TextBox box)
{
    return m_controls.texts[static_cast<std::size_t>(box)]->text().toStdString();
}

void QtWindowOperations::setText(TextBox box, const std::string& text)
{
    if (!m_ended)
        m_controls.texts[static_cast<std::size_t>(box)]->setText(QString::fromStdString(text));
}

void QtWindowOperations::setTextInUse(TextBox box, bool inUse)
{
    if (m_ended)
        return;
    // A red frame on a light red ground says the figure does not follow this text; with
    // its own text colour it reads on light and dark themes alike, and it takes no more room
    // than the usual frame.
    QLineEdit* edit = m_controls.texts[static_cast<std::size_t>(box)];
    edit->setStyleSheet(inUse ? QString()
                              : QStringLiteral("QLineEdit { border: 1px solid #d00000; "
                                               "background: #ffd8d8; color: black; }"));
    edit->setProperty("inUse", inUse);
    m_textsInUse[static_cast<std::size_t>(box)] = inUse;
    m_controls.screen->setEntryAccepted(
        std::all_of(m_textsInUse.begin(), m_textsInUse.end(), [](bool used) { return used; }));
}

int QtWindowOperations::checkValue()
{
    if (m_ended)
        return 1;
    return m_controls.stop->isChecked() ? 1 : 0;
}

void QtWindowOperations::setCheckValue(int value)
{
    if (!m_ended)
        m_controls.stop->setChecked(value == 1);
}

std::int16_t QtWindowOperations::scrollValue(ScrollBar bar)
{
    // Without tracking, value() holds still during a drag while the thumb moves; the
    // handlers of the Scroll notification want the thumb's position.
    const int position = m_controls.scrollBars[static_cast<std::size_t>(bar)]->sliderPosition();
    return static_cast<std::int16_t>(position);
}

void QtWindowOperations::setScrollValue(ScrollBar bar, std::int16_t value)
{
    if (!m_ended)
        m_controls.scrollBars[static_cast<std::size_t>(bar)]->setValue(value);
}

void QtWindowOperations::msgBox(const std::string& prompt, const std::string& title)
{
    if (m_ended)
        return;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(prompt), QMessageBox::Ok, m_controls.window);
    // The box is as wide as its prompt; a title longer than that would be cut short by the
    // window frame, which also needs room for its own buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 140;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

void QtWindowOperations::doEvents()
{
    if (m_ended)
        return;
    m_paintInPause.setPumping(true);
    QApplication::processEvents(QEventLoop::AllEvents);
    m_paintInPause.setPumping(false);
}

double QtWindowOperations::clock()
{
    return static_cast<double>(m_clock.nsecsElapsed()) * 1e-9;
}

void QtWindowOperations::sleep(double seconds)
{
    // The pause paints the frame first and goes on from the clock as it reads then.
    if (m_paintInPause.paint())
        return;
    if (seconds > 0 && std::isfinite(seconds))
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void QtWindowOperations::endProgram()
{
    m_ended = true;
    m_exitProgram();
}

} // namespace korvelian
