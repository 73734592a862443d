#include "viewactions.h"

#include "form/screenviews.h"

#include "application.h"
#include "controltable.h"
#include "handlers/ratioinuse.h"
#include "handlers/soundcontrol.h"
#include "model/driftstep.h"
#include "model/numbertext.h"
#include "scene/menuwords.h"
#include "widgets/helpwindow.h"
#include "widgets/plateview.h"
#include "widgets/screenarea.h"
#include "widgets/timesignalview.h"
#include "widgets/zoompolicy.h"
#include "windowzoom.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QShortcut>

namespace korvelian {

namespace {

ViewOption viewOption(ScreenView view)
{
    switch (view) {
    case ScreenView::ReadingAid:
        return ViewOption::ReadingAid;
    case ScreenView::Values:
        return ViewOption::Values;
    case ScreenView::Graticule:
        return ViewOption::Graticule;
    case ScreenView::YUp:
        break;
    }
    return ViewOption::YUp;
}

ViewOption viewOption(MotionView view)
{
    switch (view) {
    case MotionView::TimeSignals:
        return ViewOption::TimeSignals;
    case MotionView::Afterglow:
        return ViewOption::Afterglow;
    case MotionView::Drift:
        break;
    }
    return ViewOption::Drift;
}

QKeySequence motionKey(MotionView view)
{
    return view == MotionView::TimeSignals ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T)
                                           : QKeySequence();
}

const QString kSoundTip =
    QStringLiteral("x links, y rechts: f_x = Grundfrequenz, f_y = f_x · Zähler / Nenner");
const QString kSearchingOutput = QStringLiteral("Der Audioausgang wird gesucht …");

} // namespace

ViewActions::ViewActions(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals,
                         WindowZoom& zoom, const RatioInUse& ratio, PlateMaker plate)
    : QObject(&window), m_window(window), m_screen(screen), m_timeSignals(timeSignals),
      m_zoom(zoom), m_ratio(ratio), m_output(window, screen, timeSignals, ratio, std::move(plate))
{
    const QList<QAction*> pictureActions = {
        add(QString::fromUtf8(kCopyPictureCaption), QKeySequence::Copy, &ViewActions::copyPicture),
        add(QString::fromUtf8(kSavePictureCaption), QKeySequence(Qt::CTRL | Qt::Key_S),
            &ViewActions::savePicture),
        add(QString::fromUtf8(kPrintCaption), QKeySequence(Qt::CTRL | Qt::Key_P),
            &ViewActions::printPicture)};
    m_worksheet = add(QString::fromUtf8(kWorksheetColoursCaption), {}, nullptr);
    m_worksheet->setCheckable(true);
    addSeparator();
    // The views the browser edition's screen menu offers too, in its words.
    for (const ScreenViewEntry& entry : kScreenViews)
        addOption(QString::fromUtf8(entry.caption), {}, viewOption(entry.view));
    for (const FigureViewEntry& entry : kFigureViews) {
        addOption(QString::fromUtf8(entry.caption), {},
                  entry.view == FigureView::Textbook ? ViewOption::Textbook : ViewOption::Fine)
            ->setToolTip(QString::fromUtf8(entry.tip));
    }
    for (const MotionViewEntry& entry : kMotionViews)
        addOption(QString::fromUtf8(entry.caption), motionKey(entry.view), viewOption(entry.view));
    addDriftSpeeds();
    addPlateMenu();
    addSeparator();
    addSound();
    addSeparator();
    connect(add(QString::fromUtf8(kResetCaption), {}, nullptr), &QAction::triggered, this,
            [this] { ControlTable::reset(m_window); });
    addSeparator();
    addZoom();
    addSeparator();
    add(QString::fromUtf8(kHelpCaption), QKeySequence(Qt::Key_F1), &ViewActions::showHelp);
    add(QStringLiteral("Über %1").arg(kProgramName), {}, &ViewActions::showAbout);

    // Ctrl+Q is the "Programm beenden" button, without a menu entry of its own.
    auto* quit = new QAction(QStringLiteral("Programm beenden"), this);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &ViewActions::quitChosen);
    m_window.addAction(quit);

    // A menu of the screen's actions as the toolkit would make it, but showing the tooltips,
    // which say why there is no sound.
    m_screen.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_screen, &QWidget::customContextMenuRequested, this, &ViewActions::showContextMenu);
    addTimeSignalActions(pictureActions);
}

void ViewActions::addZoom()
{
    QAction* larger = add(QStringLiteral("Vergrößern"), QKeySequence::ZoomIn, nullptr);
    // Ctrl and "+" is Ctrl+Shift+"=" on many keyboards, and the keypad has its own "+".
    larger->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QAction::triggered, &m_zoom, &WindowZoom::zoomIn);
    QAction* smaller = add(QStringLiteral("Verkleinern"), QKeySequence::ZoomOut, nullptr);
    connect(smaller, &QAction::triggered, this,
            [this] { m_zoom.setZoomPercent(ZoomPolicy::smaller(m_zoom.zoomPercent())); });
    QAction* original =
        add(QStringLiteral("Originalgröße (100 %)"), QKeySequence(Qt::CTRL | Qt::Key_0), nullptr);
    connect(original, &QAction::triggered, this,
            [this] { m_zoom.setZoomPercent(ZoomPolicy::kSmallest); });
    QAction* fullScreen =
        add(QString::fromUtf8(kFullScreenCaption), QKeySequence(Qt::Key_F11), nullptr);
    fullScreen->setCheckable(true);
    // Each press toggles; the tick shows the window's state, which the window manager may change
    // too.
    connect(fullScreen, &QAction::triggered, &m_zoom, &WindowZoom::toggleFullScreen);
    connect(&m_zoom, &WindowZoom::fullScreenChanged, fullScreen, &QAction::setChecked);
}

QAction* ViewActions::addOption(const QString& text, const QKeySequence& key, ViewOption option)
{
    QAction* action = add(text, key, nullptr);
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, [this, option](bool on) {
        emit optionChosen(option, on);
        if ((option == ViewOption::YUp || option == ViewOption::Textbook) && m_help)
            m_help->setYUp(yUpShown());
    });
    m_options[static_cast<std::size_t>(option)] = action;
    return action;
}

void ViewActions::addDriftSpeeds()
{
    auto* menu = new QMenu(QString::fromUtf8(kDriftSpeedsCaption), &m_window);
    auto* group = new QActionGroup(menu);
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        const double seconds = kDriftChoices[i];
        QAction* speed = menu->addAction(QString::fromStdString(driftSpeedCaption(i)));
        speed->setCheckable(true);
        speed->setChecked(seconds == kDriftSecondsPerTurn);
        group->addAction(speed);
        connect(speed, &QAction::triggered, this,
                [this, seconds] { emit driftSpeedChosen(seconds); });
        m_driftSpeeds << speed;
    }
    m_screen.addAction(menu->menuAction());
}

void ViewActions::addTimeSignalActions(const QList<QAction*>& pictureActions)
{
    // The window's keys work there too, as that window's shortcuts, so that no key has two
    // meanings in either window. The screen's picture is not copied, saved or printed from
    // there: its Ctrl+C and Ctrl+S are the time signals' own.
    for (QAction* action : m_window.actions()) {
        if (pictureActions.contains(action))
            continue;
        for (const QKeySequence& key : action->shortcuts()) {
            connect(new QShortcut(key, &m_timeSignals), &QShortcut::activated, action,
                    &QAction::trigger);
        }
    }
    auto addTo = [this](const QString& text, const QKeySequence& key, void (ViewActions::*slot)()) {
        auto* action = new QAction(text, this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
        m_timeSignals.addAction(action);
    };
    addTo(QStringLiteral("Zeitverläufe kopieren"), QKeySequence::Copy,
          &ViewActions::copyTimeSignals);
    addTo(QStringLiteral("Zeitverläufe speichern unter…"), QKeySequence(Qt::CTRL | Qt::Key_S),
          &ViewActions::saveTimeSignals);
    m_timeSignals.addAction(m_worksheet);
}

void ViewActions::setOption(ViewOption option, bool on)
{
    m_options[static_cast<std::size_t>(option)]->setChecked(on);
    // The textbook's reading shows y upward: the orientation's own entry waits meanwhile.
    if (option == ViewOption::Textbook) {
        QAction* yUp = m_options[static_cast<std::size_t>(ViewOption::YUp)];
        yUp->setEnabled(!on);
        yUp->setToolTip(on ? QStringLiteral("„Wie im Lehrbuch“ zeigt y nach oben") : QString());
    }
}

bool ViewActions::yUpShown() const
{
    return option(ViewOption::YUp) || option(ViewOption::Textbook);
}

bool ViewActions::option(ViewOption option) const
{
    return m_options[static_cast<std::size_t>(option)]->isChecked();
}

void ViewActions::setDriftSecondsPerTurn(double seconds)
{
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        if (kDriftChoices[i] == seconds)
            m_driftSpeeds[static_cast<qsizetype>(i)]->trigger();
    }
}

void ViewActions::showDriftSpeed(double seconds)
{
    for (std::size_t i = 0; i < kDriftChoices.size(); ++i) {
        if (kDriftChoices[i] == seconds)
            m_driftSpeeds[static_cast<qsizetype>(i)]->setChecked(true);
    }
}

void ViewActions::addSound()
{
    m_sound = add(QString::fromUtf8(kSoundCaption), QKeySequence(Qt::CTRL | Qt::Key_T), nullptr);
    m_sound->setCheckable(true);
    connect(m_sound, &QAction::toggled, this, &ViewActions::soundChosen);
    auto* frequencies = new QMenu(QString::fromUtf8(kBaseFrequencyCaption), &m_window);
    frequencies->setToolTipsVisible(true);
    auto* group = new QActionGroup(frequencies);
    for (const int hertz : kBaseFrequencies) {
        QAction* entry = frequencies->addAction(QStringLiteral("%1 Hz").arg(hertz));
        entry->setCheckable(true);
        entry->setChecked(hertz == static_cast<int>(SoundControl::kDefaultBaseFrequency));
        entry->setData(hertz);
        group->addAction(entry);
        connect(entry, &QAction::triggered, this,
                [this, hertz] { emit baseFrequencyChosen(hertz); });
    }
    m_baseFrequency = frequencies->menuAction();
    m_screen.addAction(m_baseFrequency);
    setSoundAvailable(false, kSearchingOutput);
}

void ViewActions::showContextMenu(const QPoint& position)
{
    QMenu menu(&m_screen);
    menu.setToolTipsVisible(true);
    menu.addActions(m_screen.actions());
    menu.exec(m_screen.mapToGlobal(position));
}

QAction* ViewActions::add(const QString& text, const QKeySequence& key, void (ViewActions::*slot)())
{
    auto* action = new QAction(text, this);
    action->setShortcut(key);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    m_window.addAction(action);
    m_screen.addAction(action);
    return action;
}

void ViewActions::addSeparator()
{
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_screen.addAction(separator);
}

void ViewActions::setSoundAvailable(bool available, const QString& why)
{
    if (!available)
        m_sound->setChecked(false);
    m_sound->setEnabled(available);
    m_sound->setToolTip(available ? kSoundTip : why);
    m_baseFrequency->setEnabled(available);
    m_baseFrequency->setToolTip(available ? QString() : why);
}

void ViewActions::showBaseFrequency(int hertz)
{
    for (QAction* entry : m_baseFrequency->menu()->actions())
        entry->setChecked(entry->data().toInt() == hertz);
}

void ViewActions::copyPicture()
{
    m_output.copyPicture(worksheet());
}

void ViewActions::savePicture()
{
    m_output.savePicture(worksheet());
}

void ViewActions::printPicture()
{
    m_output.printPicture();
}

void ViewActions::copyTimeSignals()
{
    m_output.copyTimeSignals(worksheet());
}

void ViewActions::saveTimeSignals()
{
    m_output.saveTimeSignals(worksheet());
}

void ViewActions::showHelp()
{
    if (!m_help) {
        m_help = new HelpWindow(&m_window);
        m_help->setYUp(yUpShown());
    }
    m_help->showAt(m_zoom.zoomPercent() / 100.0, m_zoom.largestFittingZoom());
}

void ViewActions::showAbout()
{
    QMessageBox::about(&m_window, QStringLiteral("Über %1").arg(kProgramName),
                       QStringLiteral("<p><b>%1</b> – Simulation Oszilloskop</p>"
                                      "<p>Version %2</p><p>Lizenz: %3</p><p>Mit Qt %4</p>")
                           .arg(kProgramName, QStringLiteral(KORVELIAN_VERSION),
                                QStringLiteral(KORVELIAN_LICENSE),
                                QString::fromLatin1(qVersion())));
}

} // namespace korvelian
