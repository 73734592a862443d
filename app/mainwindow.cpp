#include "mainwindow.h"

#include "classroom.h"
#include "controltable.h"
#include "destroywatch.h"
#include "dialogplacement.h"
#include "scene/texts.h"
#include "form/form1.h"
#include "form/layout.h"
#include "form/pixels.h"
#include "widgets/legendwindow.h"
#include "headlesswindow.h"
#include "widgets/presetmenus.h"
#include "qtwindowoperations.h"
#include "widgets/screenarea.h"
#include "widgets/scrollreadout.h"
#include "widgets/smileyicon.h"
#include "widgets/styleimages.h"
#include "widgets/timesignalview.h"
#include "toneloader.h"
#include "viewactions.h"
#include "viewoptions.h"
#include "windowzoom.h"
#include "widgets/zoomedstyle.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <cstdio>
#include <cstdlib>
#include <future>

namespace korvelian {

namespace {

// How long after the first picture the sound's library is loaded: a moment later than the
// picture, so that it does not hold up the exact picture and the views that follow it.
constexpr int kSoundAfterPicture = 300;

// Calls back once the widget has painted for the first time, from the event loop, after the
// picture has gone to the screen.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget& widget, std::function<void()> then)
        : QObject(&widget), m_then(std::move(then))
    {
        widget.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_then();
                    deleteLater();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

} // namespace

namespace {

// Where "♪ Ton" stands, in twips: the free place right of "Korvelianfigur", above "Stop".
constexpr int kSoundMarkLeft = 1800;
constexpr int kSoundMarkTop = 4920;
constexpr int kSoundMarkWidth = 1092;
constexpr int kSoundMarkHeight = 372;

void exitAtOnce()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

// The window's operands of the window operations, by their roles in the layout table.
QtWindowOperations::Controls tableControls(QWidget& window, TimeSignalView& timeSignals)
{
    QtWindowOperations::Controls controls;
    controls.window = &window;
    controls.screen = window.findChild<ScreenArea*>(controlName(Picture::Screen));
    controls.timeSignals = &timeSignals;
    controls.speedBar = window.findChild<PictureArea*>(controlName(Picture::SpeedBar));
    for (const TextBox box :
         {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount, TextBox::Hint}) {
        controls.texts[static_cast<std::size_t>(box)] =
            window.findChild<QLineEdit*>(controlName(box));
    }
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY}) {
        controls.scrollBars[static_cast<std::size_t>(bar)] =
            window.findChild<QScrollBar*>(controlName(bar));
    }
    controls.stop = window.findChild<QCheckBox*>("Check1");
    return controls;
}

} // namespace

MainWindow::MainWindow(std::function<void()> exitProgram, QWidget* parent) : QWidget(parent)
{
    setWindowTitle("Korvelian-Figuren, Simulation Oszilloskop");
    // The icon's images are read beside the making of the controls, which meanwhile waits for
    // the font database.
    auto iconImages = std::async(std::launch::async, smileyImages);
    preloadStyleImages();
    ScrollReadout::describeBars();
    m_zoomedStyle = new ZoomedStyle;
    m_zoomedStyle->setParent(this);
    ControlTable::create(*this, *m_zoomedStyle);
    for (const ControlLayout& entry : kControls) {
        if (entry.kind == ControlKind::Button || entry.picture == Picture::SpeedBar ||
            entry.textBox == TextBox::Hint)
            findChild<QWidget*>(entry.name)->installEventFilter(this);
    }
    m_zoom = new WindowZoom(*this, [this](double zoom, QPoint origin) { layOut(zoom, origin); });
    new DialogPlacement(*this);

    auto* screen = findChild<ScreenArea*>(controlName(Picture::Screen));
    m_timeSignals = new TimeSignalView(*screen, this);
    const QtWindowOperations::Controls controls = tableControls(*this, *m_timeSignals);
    m_ops = std::make_unique<QtWindowOperations>(
        controls, exitProgram ? std::move(exitProgram) : std::function<void()>(exitAtOnce));
    m_form = std::make_unique<Form1>(*m_ops);
    m_tone = std::make_unique<ToneLoader>();
    m_form->sound().setOutput(m_tone.get());

    connectEvents();
    createViews(*screen, controls.scrollBars);
    // A window destroyed from outside ends the program as closing it does.
    m_destroyWatch = std::make_unique<DestroyWatch>(*this, [this] { handle(Event::Form_Unload); });
    setWindowIcon(smileyIcon(iconImages.get()));
    handle(Event::Form_Load);
}

MainWindow::~MainWindow() = default;

void MainWindow::createViews(ScreenArea& screen, const std::array<QScrollBar*, 4>& bars)
{
    // The drift's steps come about 31 times a second; each is drawn exactly and in turn.
    screen.setSteadyChanges([this] { return m_form->drift().moving(); });
    m_readout = new ScrollReadout(*this, screen, m_form->variables().ratio);
    for (QScrollBar* bar : bars)
        m_readout->watch(bar);
    m_presetMenus = new PresetMenus(*this);
    m_viewOptions = new ViewOptions(*this, screen, *m_timeSignals, *m_form);
    m_viewActions =
        new ViewActions(*this, screen, *m_timeSignals, *m_zoom, m_form->variables().ratio,
                        [this](OverviewPlate::Form form) { return plate(form); });
    m_soundMark = new QLabel(QStringLiteral("♪ Ton"), this);
    m_soundMark->setObjectName("soundMark");
    m_soundMark->setAlignment(Qt::AlignCenter);
    m_soundMark->setToolTip(QStringLiteral("Der Ton spielt (Strg+T schaltet ihn aus)"));
    m_soundMark->hide();
    joinViews();
    // After the screen's paint: showing a window from within it would paint again.
    m_legend = new LegendWindow(*this, screen);
    connect(
        &screen, &ScreenArea::legendBesideChanged, m_legend,
        [this, &screen] { m_legend->showLines(screen.legendBeside()); }, Qt::QueuedConnection);
    m_classroom = new Classroom({this, &screen, m_timeSignals, m_legend, m_readout, m_viewOptions,
                                 m_zoom, m_ops.get(), m_form.get()});
}

// The menu tells what the user chose, the views tell what they are: each entry is ticked by
// what it turns on, so that whatever turns a view on or off (the menu, the command line, the
// last run's settings, a drift that ends by itself) ticks it the same way.
void MainWindow::joinViews()
{
    connect(m_viewActions, &ViewActions::optionChosen, m_viewOptions, &ViewOptions::setOption);
    connect(m_viewOptions, &ViewOptions::optionChanged, m_viewActions, &ViewActions::setOption);
    connect(m_viewActions, &ViewActions::driftSpeedChosen, m_viewOptions,
            &ViewOptions::setDriftSecondsPerTurn);
    connect(m_viewOptions, &ViewOptions::driftSpeedChanged, m_viewActions,
            &ViewActions::showDriftSpeed);
    connect(m_viewActions, &ViewActions::baseFrequencyChosen, m_viewOptions,
            &ViewOptions::setBaseFrequency);
    connect(m_viewOptions, &ViewOptions::baseFrequencyChanged, m_viewActions,
            &ViewActions::showBaseFrequency);
    connect(m_viewActions, &ViewActions::soundChosen, this, [this](bool on) {
        m_form->sound().setOn(on);
        m_soundMark->setVisible(on);
    });
    connect(m_viewActions, &ViewActions::quitChosen, this,
            [this] { handle(Event::Command5_Click); });
    connect(m_tone.get(), &ToneLoader::availabilityChanged, m_viewActions,
            &ViewActions::setSoundAvailable);
}

void MainWindow::connectEvents()
{
    for (const ControlLayout& entry : kControls) {
        QWidget* control = findChild<QWidget*>(entry.name);
        if (const auto click = entry.click)
            connect(static_cast<QPushButton*>(control), &QPushButton::clicked, this,
                    [this, event = *click] { handle(event); });
        if (const auto change = entry.change; change && entry.kind == ControlKind::TextBox)
            connect(static_cast<QLineEdit*>(control), &QLineEdit::textChanged, this,
                    [this, event = *change] { handle(event); });
        if (const auto change = entry.change; change && entry.kind == ControlKind::ScrollBar)
            connect(static_cast<QScrollBar*>(control), &QScrollBar::valueChanged, this,
                    [this, event = *change] { handle(event); });
        if (const auto scroll = entry.scroll)
            connect(static_cast<QScrollBar*>(control), &QScrollBar::sliderMoved, this,
                    [this, event = *scroll] { handle(event); });
        if (const auto mouseMove = entry.mouseMove) {
            control->setMouseTracking(true);
            control->installEventFilter(this);
            m_hintEvents.insert(control, *mouseMove);
        }
    }
}

void MainWindow::handle(Event event)
{
    if (m_ops->ended())
        return;
    m_form->handle(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Return and Enter press a focused button, as Space does.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            if (!key->isAutoRepeat())
                button->click();
            return true;
        }
        // The speed bar takes the focus in its turn; there the arrow keys and + and - press
        // the speed buttons.
        const Qt::KeyboardModifiers held =
            key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
        if (watched->objectName() == controlName(Picture::SpeedBar) && held == Qt::NoModifier) {
            if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Plus) {
                handle(Event::Command7_Click);
                return true;
            }
            if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Minus) {
                handle(Event::Command8_Click);
                return true;
            }
        }
    }
    // The speed bar and its buttons tell the step as a number.
    if (event->type() == QEvent::ToolTip &&
        (watched->objectName() == controlName(Picture::SpeedBar) ||
         watched->objectName() == controlName(Event::Command7_Click) ||
         watched->objectName() == controlName(Event::Command8_Click))) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           QString::fromStdString(speedText(m_form->variables().dt)),
                           static_cast<QWidget*>(watched));
        return true;
    }
    // A hint longer than its line reads whole where the line is pointed at.
    if (event->type() == QEvent::ToolTip && watched->objectName() == controlName(TextBox::Hint)) {
        const auto* line = static_cast<QLineEdit*>(watched);
        const QString text = line->text();
        if (line->fontMetrics().horizontalAdvance(text) > line->contentsRect().width() - 8)
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text,
                               static_cast<QWidget*>(watched));
        else
            QToolTip::hideText();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const auto found = m_hintEvents.constFind(watched);
        if (found != m_hintEvents.constEnd()) {
            auto* control = static_cast<QWidget*>(watched);
            const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
            // A frame's hint belongs to its own surface, not to the controls inside it.
            if (!qobject_cast<QGroupBox*>(control) || !control->childAt(position))
                handle(*found);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Only a window that is shown needs a sound: a picture exported from the command line
    // never touches the audio system. Its library loads once the screen has its first picture,
    // which it would otherwise hold up.
    if (!m_probedSound) {
        m_probedSound = true;
        new AfterFirstPaint(*findChild<ScreenArea*>(controlName(Picture::Screen)),
                            [tone = m_tone.get()] {
                                QTimer::singleShot(kSoundAfterPicture, tone, &ToneLoader::probe);
                            });
    }
    m_viewOptions->windowShown();
    m_zoom->windowShown();
}

void MainWindow::layOut(double zoom, QPoint origin)
{
    m_zoomedStyle->setZoom(zoom);
    ControlTable::layOut(*this, zoom, origin);
    // The free place right of "Korvelianfigur", in its font.
    if (m_soundMark) {
        m_soundMark->setGeometry(origin.x() + pixels(kSoundMarkLeft, zoom),
                                 origin.y() + pixels(kSoundMarkTop, zoom),
                                 pixels(kSoundMarkWidth, zoom), pixels(kSoundMarkHeight, zoom));
        m_soundMark->setFont(findChild<QWidget*>("Command1")->font());
    }
    if (m_readout)
        m_readout->setZoom(zoom);
    if (m_timeSignals) {
        m_timeSignals->setZoom(zoom);
        m_timeSignals->follow(*this);
    }
    if (m_legend)
        m_legend->follow();
    if (m_classroom)
        m_classroom->layOut(zoom, origin);
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        m_zoom->windowStateChanged();
        if (m_legend)
            m_legend->windowStateChanged();
    }
}

void MainWindow::restoreView(const std::vector<ViewOption>& forThisRun)
{
    m_zoom->restore();
    m_viewOptions->restore(forThisRun);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    m_zoom->windowMoved();
    if (m_timeSignals)
        m_timeSignals->follow(*this);
    if (m_legend)
        m_legend->follow();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_zoom->windowResized();
}

OverviewPlate MainWindow::plate(OverviewPlate::Form form)
{
    const auto* screen = findChild<ScreenArea*>(controlName(Picture::Screen));
    return overviewPlate(form, screen->picture(), *m_form, *m_ops);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    handle(Event::Form_Unload);
    event->accept();
}

} // namespace korvelian
