#include "mainwindow.h"

#include "scene/texts.h"
#include "destroywatch.h"
#include "widgets/horizontalbar.h"
#include "form/form1.h"
#include "form/layout.h"
#include "widgets/legendwindow.h"
#include "headlesswindow.h"
#include "widgets/presetmenus.h"
#include "qtwindowoperations.h"
#include "widgets/screenarea.h"
#include "widgets/scrollreadout.h"
#include "widgets/smileyicon.h"
#include "widgets/timesignalview.h"
#include "tonestream.h"
#include "viewactions.h"
#include "viewoptions.h"
#include "windowzoom.h"
#include "widgets/zoomedstyle.h"
#include "widgets/zoompolicy.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace korvelian {

namespace {

const QColor kHintBackground(255, 255, 192);

void exitAtOnce()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

// A ratio or closing-count box is just as wide as "32767" in its font; the toolkit's margins
// inside the frame would take the room and scroll the first digit out of sight. The text
// starts right inside the frame instead, and may use the right margin as well.
void fitFiveDigits(QLineEdit& edit)
{
    const QFontMetrics metrics(edit.font());
    // What the box itself asks for before it scrolls: the text, the cursor, the bearing.
    const int needed = metrics.horizontalAdvance(QStringLiteral("32767")) + 1 +
                       std::max(0, -metrics.minLeftBearing());
    constexpr int kToolkitMargin = 2;
    const int frame = edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &edit);
    const int inside = edit.width() - 2 * frame;
    if (needed > inside - 2 * kToolkitMargin)
        edit.setTextMargins(-kToolkitMargin, 0, -(needed - inside + kToolkitMargin), 0);
    else
        edit.setTextMargins(0, 0, 0, 0);
}

// Every control names its font: a frame's font would otherwise pass to the "+" and "-"
// buttons and the scroll bars inside it, which keep the application's default.
QFont layoutFont(FontRole role, const QWidget* control, double zoom)
{
    double points = 0;
    switch (role) {
    case FontRole::Caption:
        points = 10.2;
        break;
    case FontRole::Written:
        points = 10.8;
        break;
    case FontRole::Typed:
        points = 12;
        break;
    case FontRole::None:
    case FontRole::Default:
        return ZoomPolicy::zoomed(QApplication::font(control), zoom);
    }
    QFont font("Times New Roman");
    font.setWeight(QFont::Normal);
    font.setPointSizeF(points * zoom);
    return font;
}

} // namespace

MainWindow::MainWindow(std::function<void()> exitProgram, QWidget* parent) : QWidget(parent)
{
    setWindowTitle("Korvelian-Figuren, Simulation Oszilloskop");
    setWindowIcon(smileyIcon());
    ScrollReadout::describeBars();
    m_zoomedStyle = new ZoomedStyle;
    m_zoomedStyle->setParent(this);

    for (const ControlLayout& entry : kControls) {
        QWidget* parentWidget = entry.parent ? findChild<QWidget*>(entry.parent) : this;
        QWidget* control = createControl(entry, parentWidget);
        control->setObjectName(entry.name);
        // Labels lie beneath the boxes and buttons they overlap: pointing or clicking there
        // reaches the control the user sees.
        if (entry.kind == ControlKind::Label)
            control->lower();
        if (entry.kind == ControlKind::Button || entry.picture == Picture::SpeedBar ||
            control->objectName() == QLatin1String("txtHilfe"))
            control->installEventFilter(this);
        control->setAccessibleName(
            QString::fromUtf8(entry.accessibleName ? entry.accessibleName : entry.caption));
    }
    setTabOrder();
    m_zoom = new WindowZoom(*this, [this](double zoom, QPoint origin) { layOut(zoom, origin); });

    QtWindowOperations::Controls controls;
    controls.window = this;
    controls.screen = findChild<ScreenArea*>(controlName(Picture::Screen));
    m_timeSignals = new TimeSignalView(*controls.screen, this);
    controls.timeSignals = m_timeSignals;
    controls.speedBar = findChild<PictureArea*>(controlName(Picture::SpeedBar));
    for (const TextBox box :
         {TextBox::Numerator, TextBox::Denominator, TextBox::ClosingCount, TextBox::Hint})
        controls.texts[static_cast<std::size_t>(box)] = findChild<QLineEdit*>(controlName(box));
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY}) {
        controls.scrollBars[static_cast<std::size_t>(bar)] =
            findChild<QScrollBar*>(controlName(bar));
    }
    controls.stop = findChild<QCheckBox*>("Check1");
    m_ops = std::make_unique<QtWindowOperations>(
        controls, exitProgram ? std::move(exitProgram) : std::function<void()>(exitAtOnce));
    m_form = std::make_unique<Form1>(*m_ops);
    m_tone = std::make_unique<ToneStream>();
    m_form->sound().setOutput(m_tone.get());

    connectEvents();
    m_readout = new ScrollReadout(*this, *controls.screen, m_form->variables().ratio);
    for (QScrollBar* bar : controls.scrollBars)
        m_readout->watch(bar);
    m_presetMenus = new PresetMenus(*this);
    m_viewOptions =
        new ViewOptions(*this, *controls.screen, *m_timeSignals, m_form->drift(), m_form->sound());
    m_viewActions =
        new ViewActions(*this, *controls.screen, *m_timeSignals, *m_zoom, m_form->variables().ratio,
                        [this](OverviewPlate::Form form) { return plate(form); });
    joinViews();
    // After the screen's paint: showing a window from within it would paint again.
    m_legend = new LegendWindow(*this, *controls.screen);
    connect(
        controls.screen, &ScreenArea::legendBesideChanged, m_legend,
        [this, screen = controls.screen] { m_legend->showLines(screen->legendBeside()); },
        Qt::QueuedConnection);
    // A window destroyed from outside ends the program as closing it does.
    m_destroyWatch = std::make_unique<DestroyWatch>(*this, [this] { handle(Event::Form_Unload); });
    handle(Event::Form_Load);
}

MainWindow::~MainWindow() = default;

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
    connect(m_viewActions, &ViewActions::soundChosen, this,
            [this](bool on) { m_form->sound().setOn(on); });
    connect(m_viewActions, &ViewActions::quitChosen, this,
            [this] { handle(Event::Command5_Click); });
    connect(m_tone.get(), &ToneStream::availabilityChanged, m_viewActions,
            &ViewActions::setSoundAvailable);
}

QWidget* MainWindow::createControl(const ControlLayout& entry, QWidget* parent)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Picture:
        if (entry.picture == Picture::Screen)
            return new ScreenArea(parent);
        // The speed bar's background is the theme's background of input areas.
        return new PictureArea(QColor(), QColor(255, 0, 0), parent);
    case ControlKind::Frame:
        return new QGroupBox(caption, parent);
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    case ControlKind::CheckBox: {
        auto* check = new QCheckBox(caption, parent);
        check->setStyle(m_zoomedStyle);
        return check;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::TextBox: {
        auto* edit = new QLineEdit(caption, parent);
        if (entry.lightYellow) {
            // The text colour goes with the light background, or a dark theme's light text
            // would vanish on it.
            QPalette palette = edit->palette();
            palette.setColor(QPalette::Base, kHintBackground);
            palette.setColor(QPalette::Text, Qt::black);
            edit->setPalette(palette);
        }
        return edit;
    }
    case ControlKind::ScrollBar: {
        auto* bar = new HorizontalBar(parent);
        // Named before its value is set: assistive technology asks for the bar's description
        // at the first change and keeps what it got, the raw number of an unnamed bar.
        bar->setObjectName(entry.name);
        bar->setStyle(m_zoomedStyle);
        bar->setRange(0, entry.maximum);
        bar->setValue(entry.value);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // Without tracking a drag reports the thumb with sliderMoved (Scroll) and the
        // value once, on release (Change); clicks and keys report Change at once.
        bar->setTracking(false);
        // Focus lets the arrow keys move the bar, and puts it in the tab order.
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case ControlKind::Line: {
        auto* line = new QFrame(parent);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setLineWidth(1);
        return line;
    }
    }
    return new QWidget(parent);
}

void MainWindow::setTabOrder()
{
    std::vector<const ControlLayout*> focusable;
    for (const ControlLayout& entry : kControls) {
        if (entry.tab >= 0)
            focusable.push_back(&entry);
    }
    std::sort(focusable.begin(), focusable.end(),
              [](const ControlLayout* a, const ControlLayout* b) { return a->tab < b->tab; });
    for (std::size_t i = 1; i < focusable.size(); ++i) {
        QWidget::setTabOrder(findChild<QWidget*>(focusable[i - 1]->name),
                             findChild<QWidget*>(focusable[i]->name));
    }
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
         watched->objectName() == QLatin1String("Command7") ||
         watched->objectName() == QLatin1String("Command8"))) {
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           QString::fromStdString(speedText(m_form->variables().dt)),
                           static_cast<QWidget*>(watched));
        return true;
    }
    // A hint longer than its line reads whole where the line is pointed at.
    if (event->type() == QEvent::ToolTip && watched->objectName() == QLatin1String("txtHilfe")) {
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
    // never touches the audio system.
    if (!m_probedSound) {
        m_probedSound = true;
        m_tone->probe();
    }
    m_viewOptions->windowShown();
    m_zoom->windowShown();
}

void MainWindow::layOut(double zoom, QPoint origin)
{
    m_zoomedStyle->setZoom(zoom);
    for (const ControlLayout& entry : kControls) {
        QWidget* control = findChild<QWidget*>(entry.name);
        const QPoint corner = entry.parent ? QPoint() : origin;
        const int height =
            entry.kind == ControlKind::Line ? linePixels(zoom) : pixels(entry.height, zoom);
        control->setGeometry(corner.x() + pixels(entry.left, zoom),
                             corner.y() + pixels(entry.top, zoom), pixels(entry.width, zoom),
                             height);
        control->setFont(layoutFont(entry.font, control, zoom));
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            fitFiveDigits(*edit);
        if (auto* line = qobject_cast<QFrame*>(control); entry.kind == ControlKind::Line)
            line->setLineWidth(linePixels(zoom));
        if (auto* area = qobject_cast<PictureArea*>(control))
            area->setZoom(zoom);
    }
    if (m_readout)
        m_readout->setZoom(zoom);
    if (m_timeSignals) {
        m_timeSignals->setZoom(zoom);
        m_timeSignals->follow(*this);
    }
    if (m_legend)
        m_legend->follow();
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_zoom->windowStateChanged();
}

void MainWindow::restoreView(bool yUp)
{
    m_zoom->restore();
    m_viewOptions->restore(yUp);
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
