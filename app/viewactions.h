#pragma once

#include <QObject>
#include <QPointer>

class QAction;

namespace korvelian {

class HelpWindow;
class MainWindow;
class ScreenArea;

// What the window offers around its controls: the screen's context menu (copy, save, print,
// worksheet colours, reading aid, sound, zoom, help, about) and the keyboard shortcuts, which
// are the same actions. None of them has a caption with a mnemonic, so no control's caption
// changes.
class ViewActions : public QObject
{
    Q_OBJECT

public:
    ViewActions(MainWindow& window, ScreenArea& screen);

    // The picture as copied, saved and printed: in worksheet colours when they are chosen.
    bool worksheet() const;
    // Ticks the reading aid's entry, which shows or hides the aid.
    void setReadingAid(bool on);
    // Ticks the orientation's entry, which turns the screen's y axis up or down.
    void setYUp(bool on);
    // "Ton" and its base frequency can be chosen only where there is an audio output; why
    // not is the entries' tooltip. Losing the output unticks "Ton".
    void setSoundAvailable(bool available, const QString& why);
    // Ticks the base frequency's entry and hands the frequency to the sound.
    void setBaseFrequency(int hertz);

    void copyPicture();
    void savePicture();
    void printPicture();
    void showHelp();
    void showAbout();

private:
    QAction* add(const QString& text, const QKeySequence& key, void (ViewActions::*slot)());
    void addSeparator();
    // Asks whether the existing file of this name is to be replaced.
    bool replaceConfirmed(const QString& path);
    void addSound();
    void showContextMenu(const QPoint& position);

    MainWindow& m_window;
    ScreenArea& m_screen;
    QAction* m_worksheet = nullptr;
    QAction* m_readingAid = nullptr;
    QAction* m_yUp = nullptr;
    QAction* m_fullScreen = nullptr;
    QAction* m_sound = nullptr;
    QAction* m_baseFrequency = nullptr;
    QPointer<HelpWindow> m_help;
};

} // namespace korvelian
