#pragma once

#include "form/controlstate.h"
#include "lesson/prediction.h"
#include "scene/overlays.h"
#include "scene/screenpicture.h"

#include <array>
#include <memory>
#include <optional>

namespace korvelian {

class Form1;

// What the page's host does for the window: the browser's side of the window operations that
// a page cannot answer from the control state (waiting, the message box, the clock), and the
// word that something on show changed. The binding implements it with the page's JavaScript.
class PageHost
{
public:
    // What changed, as bits: the JavaScript repaints those at the display's next frame.
    enum Changed { Screen = 1, Overlays = 2, SpeedBar = 4, Controls = 8 };

    virtual ~PageHost() = default;
    virtual void changed(int what) = 0;
    // The three that wait: each returns once the page has done what it says.
    virtual void doEvents() = 0;
    virtual void sleep(double seconds) = 0;
    virtual void msgBox(const std::string& prompt, const std::string& title) = 0;
    virtual double clock() = 0;
    virtual void ended() = 0;
};

// The window operations of the browser edition: the controls' values in the control state,
// the screen's and the speed bar's drawing recorded as pictures the page has made into
// pixels, the overlays' places as the desktop's screen keeps them, and what waits handed to
// the page. The form has not started up when the constructor returns: start() does it.
class WebWindow final : public ControlState
{
public:
    explicit WebWindow(PageHost& host);
    ~WebWindow() override;

    void start();
    Form1& form() { return *m_form; }
    ScreenPicture& screen() { return m_screen; }
    const ScreenPicture& speedBar() const { return m_speedBar; }
    bool ended() const { return m_ended; }
    // Where the beam stood last, for the time signals' cursor; nothing before it ran.
    std::optional<double> beamT() const { return m_beamT; }
    // A frame of the animation has put the beam somewhere since it last stopped.
    bool beamRunning() const { return m_beamRunning; }
    // "Vorhersage": the figure hidden while the class predicts it, as the desktop's screen
    // hides it. Set the mode or resolve, then showPrediction.
    Prediction& prediction() { return m_prediction; }
    void showPrediction();

    // The overlays at a size of the screen in logical pixels, in the picture's orientation.
    OverlayPlaces overlayPlaces(SizeF shown) const;

    void setFrame(Picture picture, float x1, float y1, float x2, float y2) override;
    void clear(Picture picture) override;
    void drawSegment(Picture picture, float x1, float y1, float x2, float y2,
                     Colour colour) override;
    void drawFigure(Picture picture, const Parameter& p, double end, Colour colour) override;
    void drawBox(Picture picture, float x1, float y1, float x2, float y2) override;
    void setShapeLeft(Shape shape, float left) override;
    void setShapeTop(Shape shape, float top) override;
    void bringToFront(Shape shape) override;
    void setLineEnd(OverlayLine line, LineEnd end, float value) override;

    void setText(TextBox box, const std::string& text) override;
    void setTextInUse(TextBox box, bool inUse) override;
    void setCheckValue(int value) override;
    void setScrollValue(ScrollBar bar, std::int16_t value) override;

    // The beam's afterglow follows it while it runs; a redraw then keeps the glow.
    void beamAt(double t, const Parameter& p) override;
    void beamStopped() override { m_beamRunning = false; }
    void msgBox(const std::string& prompt, const std::string& title) override;
    void doEvents() override;
    double clock() override { return m_host.clock(); }
    void sleep(double seconds) override;
    void endProgram() override;

private:
    ScreenPicture& picture(Picture which)
    {
        return which == Picture::Screen ? m_screen : m_speedBar;
    }
    void changed(Picture which);
    // A point of the screen's frame on the screen at 100 %, in logical pixels.
    PointF placeAtHundred(double x, double y) const;

    PageHost& m_host;
    ScreenPicture m_screen;
    ScreenPicture m_speedBar;
    // The overlays at 100 %, as the desktop's screen keeps them: the shapes' top-left corners,
    // the lines' ends, the stacking from the back.
    std::array<PointF, 3> m_shapes;
    std::array<std::array<PointF, 2>, 2> m_lines;
    std::array<Overlay, 5> m_stacking{{Overlay::DropToXAxis, Overlay::DropToYAxis,
                                       Overlay::BeamPoint, Overlay::YMarker, Overlay::XMarker}};
    bool m_ended = false;
    bool m_beamRunning = false;
    std::optional<double> m_beamT;
    Prediction m_prediction;
    std::unique_ptr<Form1> m_form;
};

} // namespace korvelian
