// Thousands of random user actions on the real window, with the program's invariants
// checked after each. The suite runs one fixed seed, so that two runs of one commit agree;
// KORVELIAN_SOAK_SEED sets another (make soak draws them at random) and
// KORVELIAN_SOAK_ACTIONS the length of the run.
#include "model/deflection.h"
#include "model/constants.h"
#include "form/form1.h"
#include "model/kgv.h"
#include "handlers/messages.h"
#include "model/numbertext.h"
#include "widgets/screenarea.h"
#include "tests/windowfixture.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTimer>

#include <cmath>
#include <deque>
#include <limits>
#include <memory>

using namespace korvelian;

namespace {

constexpr quint32 kFixedSeed = 20240614;

const char* const kButtons[] = {"Command1",       "Command2",     "Command5", "Command6",
                                "Command7",       "Command8",     "Command9", "Command10",
                                "cmdplusZaehler", "cmdplusNenner"};
const char* const kScrollBars[] = {"hscAmp1", "HScroll1", "hscAmp2", "hscPhase"};
const char* const kBoxes[] = {"txtZaehler", "txtNenner", "txtZaehler",
                              "txtNenner",  "txtkgV",    "txtHilfe"};
const char* const kHoverTargets[] = {"Command1", "Command2",      "Frame1",   "Frame2", "Label4",
                                     "hscAmp1",  "picBildschirm", "txtHilfe", "Label2"};

QStringList hostileEntries()
{
    return {"",
            " ",
            "0",
            "-0",
            "-5",
            "2.5",
            "0.4",
            "1e308",
            "1e309",
            "nan",
            "inf",
            "0x10",
            "&H10",
            QString(10000, '7'),
            QString::fromUtf8("Übergröße"),
            QString::fromUtf8("３"),
            "32767",
            "-32768",
            "32768",
            "-32769",
            "1",
            "2",
            "3",
            "7",
            "12",
            "200",
            "199",
            "6000",
            "1e3",
            ".5",
            "  4"};
}

// keyClicks only knows ASCII; other characters arrive as the text of an unknown key, as
// an input method delivers them.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(w, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool finite(const QRectF& r)
{
    return std::isfinite(r.x()) && std::isfinite(r.y());
}

bool finite(const QLineF& l)
{
    return std::isfinite(l.x1()) && std::isfinite(l.y1()) && std::isfinite(l.x2()) &&
           std::isfinite(l.y2());
}

class Soak : public QObject
{
    Q_OBJECT

public:
    Soak(quint32 seed, int actions) : m_random(seed), m_total(actions) {}

    QString run()
    {
        m_window = std::make_unique<WindowFixture>();
        watchRatio();
        if (!m_window->show())
            return "window not exposed";
        QTimer::singleShot(0, this, &Soak::step);
        m_loop.exec();
        return m_failure;
    }

    int done() const { return m_done; }
    int windows() const { return m_windows; }

private:
    enum class Kind { Button, Stop, Drag, ScrollClick, ScrollKey, Hover, Type };

    void step();
    void act();
    void check(bool redrawCounted, double tBefore);
    void watchRatio();
    void fail(const QString& what);
    template <typename T = QWidget> T* control(const char* name)
    {
        return m_window->control<T>(name);
    }
    int below(int n) { return int(m_random.bounded(n)); }
    QPoint somewhere(QWidget* w) { return {below(w->width() + 8) - 4, below(w->height())}; }
    void closeDialogSoon();

    QRandomGenerator m_random;
    const int m_total;
    int m_done = 0;
    int m_depth = 0;
    int m_windows = 1;
    bool m_inDialog = false;
    bool m_acting = false;
    // Change notifications of the numerator and denominator boxes so far.
    int m_ratioChanges = 0;
    bool m_finishing = false;
    bool m_kgvTyped = false;
    // The numerator and denominator the figure is drawn with: the last the closing count took.
    double m_zaehlerInUse = 1;
    double m_nennerInUse = 1;
    QString m_failure;
    QEventLoop m_loop;
    std::unique_ptr<WindowFixture> m_window;
    std::deque<QString> m_recent;
};

void Soak::step()
{
    // Some test events pump the event loop themselves; an action runs nested only inside
    // an animation's pump, as a user's click would.
    if (m_acting) {
        QTimer::singleShot(1, this, &Soak::step);
        return;
    }
    if (m_inDialog) {
        QTimer::singleShot(1, this, &Soak::step);
        return;
    }
    if (m_done >= m_total || !m_failure.isEmpty()) {
        // Stop every running animation, then leave once the stack has unwound.
        if (!m_window->ended)
            control<QCheckBox>("Check1")->setChecked(true);
        m_finishing = true;
        if (m_depth == 0)
            m_loop.quit();
        return;
    }
    if (m_window->ended) {
        // The old window's handlers may still be on the stack: only at the bottom may it go.
        if (m_depth > 0)
            return;
        m_window = std::make_unique<WindowFixture>();
        ++m_windows;
        m_kgvTyped = false;
        m_zaehlerInUse = m_nennerInUse = 1;
        watchRatio();
        if (!m_window->show())
            fail("new window not exposed");
    }
    ++m_depth;
    // Scheduled first, so that the next action also runs inside a running animation's pump.
    QTimer::singleShot(0, this, &Soak::step);
    ++m_done;
    act();
    --m_depth;
    if (m_depth == 0 && m_finishing)
        m_loop.quit();
}

void Soak::closeDialogSoon()
{
    QTimer::singleShot(0, this, [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            closeDialogSoon();
            return;
        }
        box->accept();
        m_inDialog = false;
    });
}

void Soak::act()
{
    FormVariables& vars = m_window->window.form().variables();
    const double tBefore = vars.t;
    // A redraw overwrites t; NaN shows whether one happened.
    vars.t = std::numeric_limits<double>::quiet_NaN();
    Kind kind = Kind::Button;
    QString box;
    QString description;
    m_ratioChanges = 0;

    const int choice = below(100);
    m_acting = true;
    if (choice < 25) {
        const char* name = kButtons[below(std::size(kButtons))];
        if (QLatin1String(name) == QLatin1String("Command5") && below(10) != 0)
            name = "Command1";
        description = QString("click %1").arg(name);
        if (QLatin1String(name) == QLatin1String("Command6")) {
            m_inDialog = true;
            closeDialogSoon();
        }
        const bool animation = QLatin1String(name) == QLatin1String("Command2");
        if (animation)
            vars.t = tBefore;
        kind = Kind::Button;
        box = name;
        m_recent.push_back(description);
        m_acting = !animation;
        QTest::mouseClick(control(name), Qt::LeftButton);
    } else if (choice < 30) {
        kind = Kind::Stop;
        description = "tick Stop";
        m_recent.push_back(description);
        QTest::mouseClick(control("Check1"), Qt::LeftButton);
    } else if (choice < 45) {
        kind = Kind::Drag;
        auto* bar = control<QScrollBar>(kScrollBars[below(4)]);
        const QPoint from(bar->width() / 2, bar->height() / 2);
        description = QString("drag %1").arg(bar->objectName());
        m_recent.push_back(description);
        QTest::mousePress(bar, Qt::LeftButton, {}, from);
        QPoint to = from;
        for (int moves = 1 + below(4); moves > 0; --moves) {
            to = somewhere(bar);
            QTest::mouseMove(bar, to);
        }
        QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
    } else if (choice < 55) {
        kind = Kind::ScrollClick;
        auto* bar = control<QScrollBar>(kScrollBars[below(4)]);
        const QPoint at = somewhere(bar);
        description = QString("click %1 at %2").arg(bar->objectName()).arg(at.x());
        m_recent.push_back(description);
        QTest::mouseClick(bar, Qt::LeftButton, {}, at);
    } else if (choice < 62) {
        kind = Kind::ScrollKey;
        auto* bar = control<QScrollBar>(kScrollBars[below(4)]);
        const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Home,
                                Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown};
        const Qt::Key key = keys[below(6)];
        description = QString("key %1 on %2").arg(int(key)).arg(bar->objectName());
        m_recent.push_back(description);
        bar->setFocus();
        QTest::keyClick(bar, key);
    } else if (choice < 75) {
        kind = Kind::Hover;
        QWidget* target = control(kHoverTargets[below(std::size(kHoverTargets))]);
        const QPoint at(below(target->width()), below(target->height()));
        description = QString("move over %1").arg(target->objectName());
        m_recent.push_back(description);
        QTest::mouseMove(target, at);
    } else {
        kind = Kind::Type;
        box = kBoxes[below(std::size(kBoxes))];
        const QStringList entries = hostileEntries();
        const QString entry = entries[below(entries.size())];
        description = QString("type into %1: %2").arg(box, entry.left(20));
        m_recent.push_back(description);
        auto* edit = control<QLineEdit>(box.toUtf8().constData());
        edit->setFocus();
        edit->selectAll();
        if (entry.size() > 40) {
            edit->insert(entry); // pasted
        } else {
            QTest::keyClick(edit, Qt::Key_Backspace);
            typeText(edit, entry);
        }
        if (box == "txtkgV")
            m_kgvTyped = true;
    }
    m_acting = false;
    if (m_recent.size() > 12)
        m_recent.pop_front();
    if (m_window->ended)
        return;
    const bool redrawCounted = kind != Kind::Button || (box != "Command2" && box != "Command6");
    check(redrawCounted, tBefore);
}

void Soak::watchRatio()
{
    for (const char* box : {"txtZaehler", "txtNenner"})
        connect(control<QLineEdit>(box), &QLineEdit::textChanged, this,
                [this] { ++m_ratioChanges; });
}

void Soak::check(bool redrawCounted, double tBefore)
{
    FormVariables& vars = m_window->window.form().variables();
    const bool redrawn = !std::isnan(vars.t);
    const double t = vars.t;
    // The sentinel must not outlive the action: a running animation goes on from t.
    if (!redrawn)
        vars.t = tBefore;

    auto* screen = control<ScreenArea>("picBildschirm");
    for (const Shape s : {Shape::BeamPoint, Shape::YMarker, Shape::XMarker}) {
        if (!finite(screen->shapeRect(s)))
            fail("a shape at a place that is not finite");
    }
    for (const OverlayLine l : {OverlayLine::DropToXAxis, OverlayLine::DropToYAxis}) {
        if (!finite(screen->overlayLine(l)))
            fail("a drop line at a place that is not finite");
    }
    if (!std::isfinite(vars.dt))
        fail("dt not finite");
    // A click that starts the animation or opens the box returns only after the actions
    // that ran inside it; those were checked one by one.
    if (!redrawCounted)
        return;

    const std::string numeratorText = m_window->text("txtZaehler").toStdString();
    const std::string denominatorText = m_window->text("txtNenner").toStdString();
    const ClosingCount count = closingCount(textNumber(numeratorText), textNumber(denominatorText));
    const bool ratioTouched = m_ratioChanges > 0;
    if (count.fault == RatioFault::None) {
        m_zaehlerInUse = textNumber(numeratorText);
        m_nennerInUse = textNumber(denominatorText);
    } else if (control<QLineEdit>("txtZaehler")->property("inUse").toBool() &&
               control<QLineEdit>("txtNenner")->property("inUse").toBool()) {
        fail("a refused entry without its mark");
    }
    if (ratioTouched && count.fault == RatioFault::None && redrawn)
        m_kgvTyped = false;
    const QString kgv = m_window->text("txtkgV");
    if (count.fault == RatioFault::None && !m_kgvTyped &&
        kgv.toStdString() != numberText(count.value) && kgv != "1") {
        fail(QString("txtkgV shows '%1' for %2 / %3")
                 .arg(kgv, QString::fromStdString(numeratorText),
                      QString::fromStdString(denominatorText)));
    }
    if (ratioTouched && count.fault != RatioFault::None) {
        const QString hint = m_window->text("txtHilfe");
        if (hint != QString::fromUtf8(kRatioDomain) && hint != QString::fromUtf8(kRatioTooLarge))
            fail(QString("refused entry without its message; the hint shows '%1'").arg(hint));
    }

    // While an entry stands refused, the figure is drawn with the last accepted ratio.
    if (!redrawn)
        return;
    // The figure on the screen is the one for the controls: t says how many points it has.
    const double k = textNumber(kgv.toStdString());
    if (!(k <= kLargestWhole)) {
        fail("a closing count above 32767 was drawn");
        return;
    }
    const double end = loopEnd(k);
    const Parameter p{control<QScrollBar>("hscAmp1")->sliderPosition() / 100.0,
                      control<QScrollBar>("HScroll1")->sliderPosition() / 100.0,
                      control<QScrollBar>("hscAmp2")->sliderPosition() / 100.0,
                      control<QScrollBar>("hscPhase")->sliderPosition() / 100.0,
                      m_zaehlerInUse,
                      m_nennerInUse};
    double expected = 0;
    const bool plain = std::abs(p.numerator) < 1e250 && p.denominator != 0;
    for (; expected <= end; expected += kLoopStep) {
        if (!plain && !std::isfinite(deflection(expected, p).y))
            break;
    }
    if (t != expected)
        fail(QString("figure ends at t = %1, expected %2 for K = %3 (Z %4, N %5, P2 %6)")
                 .arg(t)
                 .arg(expected)
                 .arg(k)
                 .arg(p.numerator)
                 .arg(p.denominator)
                 .arg(p.phaseY));
}

void Soak::fail(const QString& what)
{
    if (!m_failure.isEmpty())
        return;
    QStringList recent(m_recent.begin(), m_recent.end());
    m_failure =
        QString("action %1: %2\nlast actions:\n  %3").arg(m_done).arg(what, recent.join("\n  "));
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void randomActions();
};

void TestSoak::randomActions()
{
    const quint32 seed = qEnvironmentVariableIsSet("KORVELIAN_SOAK_SEED")
                             ? qgetenv("KORVELIAN_SOAK_SEED").toUInt()
                             : kFixedSeed;
    const int actions = qEnvironmentVariableIsSet("KORVELIAN_SOAK_ACTIONS")
                            ? qEnvironmentVariableIntValue("KORVELIAN_SOAK_ACTIONS")
                            : 600;
    qInfo("soak: seed %u, %d actions (replay with KORVELIAN_SOAK_SEED=%u)", seed, actions, seed);
    QElapsedTimer timer;
    timer.start();
    Soak soak(seed, actions);
    const QString failure = soak.run();
    qInfo("soak: %d actions in %.1f s, %d windows", soak.done(), timer.elapsed() / 1000.0,
          soak.windows());
    QVERIFY2(failure.isEmpty(), qPrintable(QString("seed %1, %2").arg(seed).arg(failure)));
}

KORVELIAN_WIDGET_TEST(soak, TestSoak)
#include "tst_soak.moc"
