#pragma once

#include "pictureoutput.h"
#include "scene/overviewplate.h"
#include "viewsettings.h"

#include <QObject>
#include <QPointer>

#include <array>

class QAction;

namespace korvelian {

class HelpWindow;
class PlateView;
class ScreenArea;
class TimeSignalView;
class WindowZoom;
struct RatioInUse;

// What the window offers around its controls: the screen's context menu (copy, save, print,
// worksheet colours, reading aid, orientation, sound, reset, zoom, help, about) and the
// keyboard shortcuts, which are the same actions; the pictures go out through PictureOutput in
// the colours chosen here. None of them has a caption with a mnemonic, so no control's caption
// changes. The views, the sound and quitting are told as the user chose them (the ...Chosen
// signals); what turns them on or off ticks their entries here.
class ViewActions : public QObject
{
    Q_OBJECT

public:
    using PlateMaker = PictureOutput::PlateMaker;

    ViewActions(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals, WindowZoom& zoom,
                const RatioInUse& ratio, PlateMaker plate);

    // The picture as copied and saved: in worksheet colours when they are chosen. A print is
    // in worksheet colours unless its dialog asks for the screen's.
    bool worksheet() const;
    // Ticks an option's entry as the user would.
    void setOption(ViewOption option, bool on);
    bool option(ViewOption option) const;
    // Whether the screen shows y upward, by its own entry or the textbook's.
    bool yUpShown() const;
    void setReadingAid(bool on) { setOption(ViewOption::ReadingAid, on); }
    void setYUp(bool on) { setOption(ViewOption::YUp, on); }
    // Chooses the drift's speed among the menu's.
    void setDriftSecondsPerTurn(double seconds);
    // Ticks the entry of the drift's speed, or of the base frequency, in use.
    void showDriftSpeed(double seconds);
    void showBaseFrequency(int hertz);
    // "Ton" and its base frequency can be chosen only where there is an audio output; why
    // not is the entries' tooltip. Losing the output unticks "Ton".
    void setSoundAvailable(bool available, const QString& why);

    void copyPicture();
    void savePicture();
    void copyTimeSignals();
    void saveTimeSignals();
    void printPicture();
    void showHelp();
    void showAbout();

    // The overview plate in the form chosen in its menu.
    OverviewPlate::Form plateForm() const;
    void setPlateForm(OverviewPlate::Form form);
    // The plate in a window of its own, for the projector; again, the plate afresh.
    void showPlate();
    void copyPlate();
    void savePlate();
    void printPlate();

signals:
    void optionChosen(ViewOption option, bool on);
    void driftSpeedChosen(double secondsPerTurn);
    void baseFrequencyChosen(int hertz);
    void soundChosen(bool on);
    // Ctrl+Q, which is the "Programm beenden" button.
    void quitChosen();

private:
    QAction* add(const QString& text, const QKeySequence& key, void (ViewActions::*slot)());
    QAction* addOption(const QString& text, const QKeySequence& key, ViewOption option);
    void addPlateMenu();
    void addSeparator();
    void addZoom();
    void addSound();
    void addDriftSpeeds();
    void addTimeSignalActions(const QList<QAction*>& pictureActions);
    void showContextMenu(const QPoint& position);
    QWidget& m_window;
    ScreenArea& m_screen;
    TimeSignalView& m_timeSignals;
    WindowZoom& m_zoom;
    const RatioInUse& m_ratio;
    PictureOutput m_output;
    QAction* m_worksheet = nullptr;
    std::array<QAction*, kViewOptions.size()> m_options{};
    QList<QAction*> m_driftSpeeds;
    QAction* m_sound = nullptr;
    QAction* m_baseFrequency = nullptr;
    QAction* m_phasesPlate = nullptr;
    // Copy, save and print of the plate, also the plate window's own menu.
    QList<QAction*> m_plateFiles;
    QPointer<HelpWindow> m_help;
    QPointer<PlateView> m_plateView;
};

} // namespace korvelian
