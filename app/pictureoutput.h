#pragma once

#include "scene/overviewplate.h"

#include <QString>

#include <functional>

class QImage;
class QWidget;

namespace korvelian {

class ScreenArea;
class TimeSignalView;
struct RatioInUse;

// Where the pictures leave the program: the screen's picture, its time signals and the overview
// plate copied to the clipboard, saved as a file the user names, or printed. Each says in a
// message box why it failed.
class PictureOutput
{
public:
    // The overview plate at the parameters in use, as the screen draws them.
    using PlateMaker = std::function<OverviewPlate(OverviewPlate::Form)>;

    PictureOutput(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals,
                  const RatioInUse& ratio, PlateMaker plate);

    void copyPicture(bool worksheet);
    void savePicture(bool worksheet);
    void printPicture();
    void copyTimeSignals(bool worksheet);
    void saveTimeSignals(bool worksheet);

    OverviewPlate plate(OverviewPlate::Form form) const { return m_plate(form); }
    void copyPlate(OverviewPlate::Form form, bool worksheet);
    void savePlate(OverviewPlate::Form form, bool worksheet);
    void printPlate(OverviewPlate::Form form);

private:
    // Puts a picture on the clipboard, or says why it is not there.
    void copyToClipboard(const QImage& picture, const QString& title);
    int timeSignalsWidth() const;

    QWidget& m_window;
    ScreenArea& m_screen;
    TimeSignalView& m_timeSignals;
    const RatioInUse& m_ratio;
    PlateMaker m_plate;
};

} // namespace korvelian
