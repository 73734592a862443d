#include "viewoptions.h"

#include "form/form1.h"
#include "handlers/phasedrift.h"
#include "widgets/screenarea.h"
#include "handlers/soundcontrol.h"
#include "widgets/timesignalview.h"

#include <QTimer>

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

} // namespace

ViewOptions::ViewOptions(QWidget& window, ScreenArea& screen, TimeSignalView& timeSignals,
                         Form1& form)
    : QObject(&window), m_window(window), m_screen(screen), m_timeSignals(timeSignals),
      m_form(form), m_drift(form.drift()), m_sound(form.sound())
{
    m_screen.setAccessibleDescription(screenDescription(false));
    // The drift ends by itself when the user sets a bar or a box, the time signals' window
    // when the user closes it: the tick goes with them.
    m_drift.tickedChanged = [this](bool on) { setOption(ViewOption::Drift, on); };
    connect(&m_timeSignals, &TimeSignalView::closed, this,
            [this] { setOption(ViewOption::TimeSignals, false); });
}

void ViewOptions::setOption(ViewOption option, bool on)
{
    // Set before it is applied: the drift reports its new tick back at once.
    bool& ticked = m_on[static_cast<std::size_t>(option)];
    if (ticked == on)
        return;
    ticked = on;
    apply(option, on);
    if (m_remember)
        ViewSettings::setOption(option, on);
    emit optionChanged(option, on);
}

void ViewOptions::apply(ViewOption option, bool on)
{
    switch (option) {
    case ViewOption::ReadingAid:
        m_screen.setReadingAid(on);
        break;
    case ViewOption::YUp:
        m_screen.setYUp(yUpShown());
        m_timeSignals.followScreen();
        break;
    case ViewOption::Textbook:
        m_form.setTextbook(on);
        m_screen.setYUp(yUpShown());
        m_timeSignals.followScreen();
        break;
    case ViewOption::Fine:
        m_screen.setFine(on);
        break;
    case ViewOption::TimeSignals:
        m_timeSignalsOnShow = on && !m_window.isVisible();
        if (!on)
            m_timeSignals.hide();
        else if (m_window.isVisible())
            m_timeSignals.showBeside(m_window);
        break;
    case ViewOption::Afterglow:
        m_screen.setAfterglow(on);
        m_screen.setAccessibleDescription(screenDescription(on));
        break;
    case ViewOption::Drift:
        m_drift.setTicked(on);
        break;
    case ViewOption::Values:
        m_screen.setValues(on);
        break;
    case ViewOption::Graticule:
        m_screen.setGraticule(on);
        break;
    }
}

void ViewOptions::setDriftSecondsPerTurn(double seconds)
{
    m_drift.setSecondsPerTurn(seconds);
    if (m_remember)
        ViewSettings::setDriftSecondsPerTurn(seconds);
    emit driftSpeedChanged(seconds);
}

void ViewOptions::setBaseFrequency(int hertz)
{
    m_sound.setBaseFrequency(hertz);
    if (m_remember)
        ViewSettings::setBaseFrequency(hertz);
    emit baseFrequencyChanged(hertz);
}

void ViewOptions::restore(const std::vector<ViewOption>& forThisRun)
{
    for (const ViewOption option : kViewOptions) {
        setOption(option, ViewSettings::option(option) ||
                              std::ranges::find(forThisRun, option) != forThisRun.end());
    }
    setDriftSecondsPerTurn(ViewSettings::driftSecondsPerTurn());
    setBaseFrequency(ViewSettings::baseFrequency());
    m_remember = true;
}

void ViewOptions::windowShown()
{
    if (!m_timeSignalsOnShow)
        return;
    m_timeSignalsOnShow = false;
    // Once the window manager has placed the window and its frame.
    QTimer::singleShot(0, this, [this] {
        if (option(ViewOption::TimeSignals))
            m_timeSignals.showBeside(m_window);
    });
}

} // namespace korvelian
