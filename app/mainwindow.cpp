#include "mainwindow.h"

#include "destroywatch.h"
#include "horizontalbar.h"
#include "form1.h"
#include "layout.h"
#include "legendwindow.h"
#include "parameters.h"
#include "presetmenus.h"
#include "qtwindowoperations.h"
#include "screenarea.h"
#include "scrollreadout.h"
#include "smileyicon.h"
#include "timesignalview.h"
#include "tonestream.h"
#include "viewactions.h"
#include "viewsettings.h"
#include "zoomedstyle.h"
#include "zoompolicy.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace korvelian {

namespace {

// What a screen reader says of the screen, with the afterglow or without.
QString screenDescription(bool afterglow)
{
    return QStringLiteral("Achsen und Korvelian-Figur; während der Schwingung der Leuchtpunkt "
                          "mit seinen Projektionen auf beide Achsen") +
           (afterglow ? QStringLiteral(" und der nachleuchtenden Spur der letzten Sekunde über "
                                       "der gedämpften Figur")
                      : QString());
}

const QColor kHintBackground(255, 255, 192);

// How long after a change of state the window manager is taken to have answered.
constexpr int kSettleMilliseconds = 500;

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

// What a window manager's frame adds around a window it has not framed yet: a title bar and
// borders as the style draws them.
QMargins estimatedFrame(const QWidget& window)
{
    constexpr int kBorder = 4;
    return {kBorder, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + kBorder, kBorder,
            kBorder};
}

// The frame around a window, or as it will be once framed.
QMargins windowFrame(const QWidget& window)
{
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    if (outer == inner)
        return estimatedFrame(window);
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

QSize marginsSize(const QMargins& m)
{
    return {m.left() + m.right(), m.top() + m.bottom()};
}

// A dialog as large as the zoom makes it may not fit its screen: its font is made smaller
// until its least size fits, its size is held within the screen and it is placed on it with
// its title bar, so that its buttons and fields stay in reach. A dialog about to be shown is
// placed over the middle of centreOn, as it would place itself; a shown one keeps its place
// as far as the screen allows.
void fitDialogOnScreen(QWidget& dialog, const QScreen& screen, const QWidget* centreOn)
{
    const QRect room = screen.availableGeometry();
    const QMargins frame = windowFrame(dialog);
    const QSize inside = room.size() - marginsSize(frame);
    constexpr double kShrink = 0.9;
    for (int step = 0; step < 10; ++step) {
        const QSize least = dialog.minimumSizeHint();
        if (least.width() <= inside.width() && least.height() <= inside.height())
            break;
        dialog.setFont(ZoomPolicy::zoomed(dialog.font(), kShrink));
        // The least size a layout allows follows the font only once it is laid out again.
        if (dialog.layout())
            dialog.layout()->activate();
    }
    QRect placed(dialog.geometry().topLeft(), dialog.size().boundedTo(inside));
    if (centreOn)
        placed.moveCenter(centreOn->frameGeometry().center());
    // Its top left corner wins where it cannot fit all the same.
    const QRect within = room - frame;
    placed.moveLeft(
        std::max(within.left(), std::min(placed.left(), within.right() + 1 - placed.width())));
    placed.moveTop(
        std::max(within.top(), std::min(placed.top(), within.bottom() + 1 - placed.height())));
    if (placed != dialog.geometry())
        dialog.setGeometry(placed);
}

// Menus, message boxes and dialogs of the window are windows of their own and keep the
// desktop's font unless given one; given the window's, they grow with the zoom. Dialogs are
// kept on the screen.
class ZoomedPopups : public QObject
{
public:
    explicit ZoomedPopups(QWidget& window) : QObject(&window), m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Polish && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            QWidget* parent = widget->parentWidget();
            if (widget == &m_window || !widget->isWindow() || !parent ||
                parent->window() != &m_window)
                return false;
            // A window of the main window's own follows every later zoom; one of a control,
            // made afresh each time (a text box's menu), takes the window's font rather than
            // the control's, so that one chain of menus has one font.
            if (parent == &m_window)
                widget->setAttribute(Qt::WA_WindowPropagation);
            else
                widget->setFont(m_window.font());
        }
        if (event->type() == QEvent::Show || event->type() == QEvent::Resize) {
            auto* dialog = qobject_cast<QDialog*>(watched);
            if (dialog && dialog->isWindow() && dialog->parentWidget() &&
                dialog->parentWidget()->window() == &m_window) {
                // Shown, it is fitted before it is mapped. A size set within a resize would be
                // undone by the resize it is nested in, so a later growth is fitted after it.
                if (event->type() == QEvent::Show)
                    fit(dialog, &m_window);
                else
                    QTimer::singleShot(0, dialog, [this, dialog] { fit(dialog, nullptr); });
            }
        }
        return false;
    }

private:
    void fit(QDialog* dialog, const QWidget* centreOn)
    {
        if (const QScreen* screen = m_window.screen())
            fitDialogOnScreen(*dialog, *screen, centreOn);
    }

    QWidget& m_window;
};

} // namespace

MainWindow::MainWindow(std::function<void()> exitProgram, QWidget* parent) : QWidget(parent)
{
    setWindowTitle("Korvelian-Figuren, Simulation Oszilloskop");
    setWindowIcon(smileyIcon());
    m_settling = new QTimer(this);
    m_settling->setSingleShot(true);
    m_settling->setInterval(kSettleMilliseconds);
    connect(m_settling, &QTimer::timeout, this, &MainWindow::settle);
    ScrollReadout::describeBars();
    m_zoomedStyle = new ZoomedStyle;
    m_zoomedStyle->setParent(this);
    new ZoomedPopups(*this);

    for (const ControlLayout& entry : kControls) {
        QWidget* parentWidget = entry.parent ? findChild<QWidget*>(entry.parent) : this;
        QWidget* control = createControl(entry, parentWidget);
        control->setObjectName(entry.name);
        // Labels lie beneath the boxes and buttons they overlap: pointing or clicking there
        // reaches the control the user sees.
        if (entry.kind == ControlKind::Label)
            control->lower();
        if (entry.kind == ControlKind::Button || entry.picture == Picture::Velo)
            control->installEventFilter(this);
        control->setAccessibleName(
            QString::fromUtf8(entry.accessibleName ? entry.accessibleName : entry.caption));
    }
    setTabOrder();
    applyZoom();

    QtWindowOperations::Controls controls;
    controls.window = this;
    controls.bildschirm = findChild<ScreenArea*>(controlName(Picture::Bildschirm));
    m_timeSignals = new TimeSignalView(*controls.bildschirm, this);
    controls.timeSignals = m_timeSignals;
    controls.velo = findChild<PictureArea*>(controlName(Picture::Velo));
    for (const TextBox box : {TextBox::Zaehler, TextBox::Nenner, TextBox::kgV, TextBox::Hilfe})
        controls.texts[static_cast<std::size_t>(box)] = findChild<QLineEdit*>(controlName(box));
    for (const ScrollBar bar :
         {ScrollBar::AmplitudeX, ScrollBar::PhaseX, ScrollBar::AmplitudeY, ScrollBar::PhaseY}) {
        controls.scrollBars[static_cast<std::size_t>(bar)] =
            findChild<QScrollBar*>(controlName(bar));
    }
    controls.check = findChild<QCheckBox*>("Check1");
    m_ops = std::make_unique<QtWindowOperations>(
        controls, exitProgram ? std::move(exitProgram) : std::function<void()>(exitAtOnce));
    m_form = std::make_unique<Form1>(*m_ops);
    m_tone = std::make_unique<ToneStream>();
    m_form->sound().setOutput(m_tone.get());

    connectEvents();
    m_readout = new ScrollReadout(*this, *controls.bildschirm, m_form->variables().ratio);
    for (QScrollBar* bar : controls.scrollBars)
        m_readout->watch(bar);
    m_presetMenus = new PresetMenus(*this);
    m_viewActions = new ViewActions(*this, *controls.bildschirm, *m_timeSignals);
    connect(m_tone.get(), &ToneStream::availabilityChanged, m_viewActions,
            &ViewActions::setSoundAvailable);
    connect(m_timeSignals, &TimeSignalView::closed, this,
            [this] { m_viewActions->setOption(ViewOption::TimeSignals, false); });
    m_form->drift().tickedChanged = [this](bool on) {
        m_viewActions->setOption(ViewOption::Drift, on);
    };
    // After the screen's paint: showing a window from within it would paint again.
    m_legend = new LegendWindow(*this, *controls.bildschirm);
    connect(
        controls.bildschirm, &ScreenArea::legendBesideChanged, m_legend,
        [this, screen = controls.bildschirm] { m_legend->showLines(screen->legendBeside()); },
        Qt::QueuedConnection);
    // A window destroyed from outside ends the program as closing it does.
    m_destroyWatch = std::make_unique<DestroyWatch>(*this, [this] { handle(Event::Form_Unload); });
    handle(Event::Form_Load);
}

MainWindow::~MainWindow() = default;

QWidget* MainWindow::createControl(const ControlLayout& entry, QWidget* parent)
{
    const QString caption = QString::fromUtf8(entry.caption);
    switch (entry.kind) {
    case ControlKind::Picture:
        if (entry.picture == Picture::Bildschirm) {
            auto* screen = new ScreenArea(parent);
            screen->setAccessibleDescription(screenDescription(false));
            return screen;
        }
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
        if (watched->objectName() == controlName(Picture::Velo) && held == Qt::NoModifier) {
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
    if (m_timeSignalsOnShow) {
        m_timeSignalsOnShow = false;
        // Once the window manager has placed the window and its frame.
        QTimer::singleShot(0, this, [this] {
            if (m_viewActions->option(ViewOption::TimeSignals))
                m_timeSignals->showBeside(*this);
        });
    }
    if (QWindow* window = windowHandle()) {
        connect(window, &QWindow::screenChanged, this, &MainWindow::followScreen,
                Qt::UniqueConnection);
        watchScreen(window->screen());
    }
    m_fitToScreen = true;
    showZoom();
}

void MainWindow::applyZoom(Sizing sizing)
{
    const double zoom = m_zoomPercent / 100.0;
    const QSize client = ZoomPolicy::windowSize(m_zoomPercent);
    m_applyingZoom = true;
    m_appliedRatio = devicePixelRatioF();
    m_zoomedStyle->setZoom(zoom);
    // What the window's menus, message boxes and dialogs take (see ZoomedPopups).
    setFont(ZoomPolicy::zoomed(QApplication::font(), zoom));
    if (isFullScreen()) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setMinimumSize(ZoomPolicy::windowSize(ZoomPolicy::kSmallest));
        // Neither a drag of the frame nor the window manager's maximize takes the window beyond
        // what fits on its screen.
        setMaximumSize(
            ZoomPolicy::windowSize(m_fitToScreen ? largestFittingZoom() : ZoomPolicy::kLargest));
        if (!isMaximized() && sizing == Sizing::Ask) {
            resize(client);
            if (m_fitToScreen)
                keepOnScreen();
        }
    }
    // Full screen or maximized: the zoomed window in the middle of the room it has.
    const QPoint origin = isFullScreen() || isMaximized()
                              ? QPoint(std::max(0, (width() - client.width()) / 2),
                                       std::max(0, (height() - client.height()) / 2))
                              : QPoint();
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
    m_applyingZoom = false;
}

int MainWindow::stateZoom() const
{
    if (isFullScreen()) {
        const QScreen* shownOn = screen();
        return ZoomPolicy::fitting(shownOn ? shownOn->size() : size());
    }
    if (!m_fitToScreen)
        return m_chosenZoom;
    if (isMaximized())
        return largestFittingZoom();
    return std::min(m_chosenZoom, largestFittingZoom());
}

void MainWindow::showZoom()
{
    m_zoomPercent = stateZoom();
    applyZoom();
}

void MainWindow::setZoomPercent(int percent)
{
    // Full screen and maximized show the zoom of their state; a choice made there would not be
    // seen.
    if (isFullScreen() || isMaximized())
        return;
    m_chosenZoom = ZoomPolicy::clamped(percent);
    showZoom();
    if (m_rememberView)
        ViewSettings::setZoomPercent(m_chosenZoom);
}

void MainWindow::zoomIn()
{
    const int larger = ZoomPolicy::larger(m_zoomPercent);
    const int next = m_fitToScreen ? std::min(larger, largestFittingZoom()) : larger;
    // At the limit the zoom chosen on a larger screen stays, for the way back there.
    if (next > m_zoomPercent)
        setZoomPercent(next);
}

int MainWindow::largestFittingZoom() const
{
    const QScreen* shownOn = screen();
    if (!shownOn)
        return ZoomPolicy::kLargest;
    return std::max(ZoomPolicy::kSmallest,
                    ZoomPolicy::fitting(shownOn->availableGeometry().size() - frameShare()));
}

// The window manager's frame takes its share of the screen too. Until the window has shown
// with one (before it is first shown, or on a platform that does not tell), a title bar and
// borders are counted as the style draws them. Full screen and maximized it may have none;
// the normal window it goes back to has.
QSize MainWindow::frameShare() const
{
    const QSize frame = frameGeometry().size() - size();
    if (isVisible() && !isFullScreen() && !isMaximized() && !frame.isNull())
        return frame;
    if (m_normalFrame)
        return *m_normalFrame;
    return marginsSize(estimatedFrame(*this));
}

// The frame comes some time after the window is shown; the room it leaves is counted anew.
void MainWindow::noteFrame()
{
    const QSize frame = frameGeometry().size() - size();
    if (!isVisible() || isFullScreen() || isMaximized() || frame.isNull() || frame == m_normalFrame)
        return;
    m_normalFrame = frame;
    if (!m_applyingZoom)
        showZoom();
}

// A window that grows keeps its place as far as it still fits on the screen, else it moves
// up and to the left, so that nothing of it lies beyond the edges.
void MainWindow::keepOnScreen()
{
    const QScreen* shownOn = screen();
    if (!shownOn || !isVisible())
        return;
    const QRect room = shownOn->availableGeometry();
    const QSize whole = size() + frameShare();
    const QPoint place(
        std::clamp(pos().x(), room.left(), std::max(room.left(), room.right() + 1 - whole.width())),
        std::clamp(pos().y(), room.top(),
                   std::max(room.top(), room.bottom() + 1 - whole.height())));
    if (place != pos())
        move(place);
}

void MainWindow::toggleFullScreen()
{
    // Quick presses count from the state last asked for, not from one the window manager has
    // not answered yet: an even number of them ends where they began.
    setFullScreen(!(m_settling->isActive() ? m_wantFullScreen : isFullScreen()));
}

void MainWindow::setFullScreen(bool on)
{
    // The place to come back to is the one before the first of several quick presses.
    if (!m_settling->isActive() && !isFullScreen() && !isMaximized() && isVisible())
        m_normalPlace = geometry().topLeft();
    m_placeAttempts = 0;
    requestFullScreen(on);
}

void MainWindow::requestFullScreen(bool on)
{
    m_wantFullScreen = on;
    m_settling->start();
    if (on == isFullScreen())
        return;
    // Without limits before the window manager sees the request: some keep a full-screen
    // window within the size the window allows.
    if (on) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    Qt::WindowStates state = windowState();
    state.setFlag(Qt::WindowFullScreen, on);
    m_requestingState = true;
    setWindowState(state);
    m_requestingState = false;
}

// While the window manager answers quick changes of state, the window's state follows each of
// its late answers, and it may even end in another state than the one asked for last; it may
// also move the normal window. Once it is quiet, the window takes the state, the zoom and the
// place asked for.
void MainWindow::settle()
{
    if (isFullScreen() != m_wantFullScreen) {
        requestFullScreen(m_wantFullScreen);
        return;
    }
    if (!isVisible() || isFullScreen() || isMaximized())
        return;
    showZoom();
    // The place of the window itself, not of its frame: just after full screen the toolkit
    // may not know the frame yet. The window manager may still send a place of its own, from
    // before the last change; the place is looked at again once it is quiet.
    if (m_normalPlace && geometry().topLeft() != *m_normalPlace && m_placeAttempts < 3) {
        ++m_placeAttempts;
        setGeometry(QRect(*m_normalPlace, size()));
        m_settling->start();
        return;
    }
    m_normalPlace.reset();
}

// The zoom follows the state the window is in now, wherever the change comes from (the F11
// entry, the window manager's maximize or its own full-screen key, which would otherwise leave
// the window at the full screen's zoom and the entry ticked) and whatever the event says the
// state was before, which after quick changes can be out of date.
void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // A change from outside, not amid the answers to the window's own requests, is the user's
    // at the window manager: F11 counts from there.
    if (!m_requestingState && !m_settling->isActive())
        m_wantFullScreen = isFullScreen();
    m_settling->start();
    // Back in the normal state, the window manager gives back the size and the place from
    // before; asking for the size now would send the present place with it.
    m_zoomPercent = stateZoom();
    applyZoom(Sizing::Await);
    emit fullScreenChanged(isFullScreen());
}

void MainWindow::restoreView(bool yUp)
{
    // A zoom remembered from a larger screen, a projector's, is brought down to this one, and
    // comes back there.
    m_fitToScreen = true;
    m_chosenZoom = ZoomPolicy::clamped(ViewSettings::zoomPercent());
    showZoom();
    for (const ViewOption option : kViewOptions) {
        const bool on = ViewSettings::option(option) || (option == ViewOption::YUp && yUp);
        m_viewActions->setOption(option, on);
    }
    m_viewActions->setDriftSecondsPerTurn(ViewSettings::driftSecondsPerTurn());
    m_viewActions->setBaseFrequency(ViewSettings::baseFrequency());
    m_rememberView = true;
}

void MainWindow::setOption(ViewOption option, bool on)
{
    auto* screen = findChild<ScreenArea*>(controlName(Picture::Bildschirm));
    switch (option) {
    case ViewOption::ReadingAid:
        screen->setReadingAid(on);
        break;
    case ViewOption::YUp:
        screen->setYUp(on);
        m_viewActions->setOption(option, on);
        m_timeSignals->followScreen();
        break;
    case ViewOption::TimeSignals:
        m_timeSignalsOnShow = on && !isVisible();
        if (!on)
            m_timeSignals->hide();
        else if (isVisible())
            m_timeSignals->showBeside(*this);
        break;
    case ViewOption::Afterglow:
        screen->setAfterglow(on);
        screen->setAccessibleDescription(screenDescription(on));
        break;
    case ViewOption::Drift:
        m_form->drift().setTicked(on);
        break;
    case ViewOption::Values:
        screen->setValues(on);
        break;
    case ViewOption::Graticule:
        screen->setGraticule(on);
        break;
    }
    if (m_rememberView)
        ViewSettings::setOption(option, on);
}

void MainWindow::setSoundOn(bool on)
{
    m_form->sound().setOn(on);
}

void MainWindow::setBaseFrequency(int hertz)
{
    m_form->sound().setBaseFrequency(hertz);
    if (m_rememberView)
        ViewSettings::setBaseFrequency(hertz);
}

void MainWindow::setDriftSecondsPerTurn(double seconds)
{
    m_form->drift().setSecondsPerTurn(seconds);
    if (m_rememberView)
        ViewSettings::setDriftSecondsPerTurn(seconds);
}

void MainWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    noteFrame();
    if (m_timeSignals)
        m_timeSignals->follow(*this);
    if (m_legend)
        m_legend->follow();
}

OverviewPlate MainWindow::plate(OverviewPlate::Form form)
{
    const RatioInUse& ratio = m_form->variables().ratio;
    const auto* screen = findChild<ScreenArea*>(controlName(Picture::Bildschirm));
    return OverviewPlate(form, screen->drawing(), screen->yUp(), readParameters(*m_ops, ratio),
                         !ratio.refused);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    noteFrame();
    if (m_applyingZoom)
        return;
    if (isFullScreen() || isMaximized() || devicePixelRatioF() != m_appliedRatio) {
        showZoom();
        return;
    }
    if (size() == ZoomPolicy::windowSize(m_zoomPercent))
        return;
    // Right after a change of state, or beyond the limits that hold a drag of the frame, a new
    // size is no drag but the window manager's late answer to a state the window has left
    // again (F11 pressed twice quickly): the window takes back its size.
    const QSize smallest = minimumSize();
    const QSize largest = maximumSize();
    if (m_settling->isActive() || width() < smallest.width() || height() < smallest.height() ||
        width() > largest.width() || height() > largest.height()) {
        // On a busy machine the answers come slowly: the window settles once they stop.
        if (m_settling->isActive())
            m_settling->start();
        applyZoom();
        return;
    }
    // The user dragged the frame: the zoom follows, and the window takes its exact shape.
    setZoomPercent(std::min(ZoomPolicy::dragged(size(), m_zoomPercent), largestFittingZoom()));
}

// A panel that appears or a resolution that changes leaves less room as well.
void MainWindow::watchScreen(QScreen* screen)
{
    disconnect(m_screenWatch);
    if (screen) {
        m_screenWatch =
            connect(screen, &QScreen::availableGeometryChanged, this, &MainWindow::showZoom);
    }
}

void MainWindow::followScreen(QScreen* screen)
{
    watchScreen(screen);
    // On a screen of another scale the window keeps its size in logical pixels, but the
    // toolkit leaves the native window and its size hints at the old device size, so most of
    // the window would be cut off. Setting the size limits afresh sends both again.
    if (!isFullScreen() && !isMaximized()) {
        const QSize logical = ZoomPolicy::windowSize(m_zoomPercent);
        m_applyingZoom = true;
        setFixedSize(logical + QSize(1, 1));
        setFixedSize(logical);
        m_applyingZoom = false;
    }
    // A smaller screen brings the zoom down to what fits there, a larger one back up to the
    // zoom chosen.
    showZoom();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    handle(Event::Form_Unload);
    event->accept();
}

} // namespace korvelian
