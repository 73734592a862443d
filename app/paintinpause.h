#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace korvelian {

// A frame's repaint held back from its pump and done at the start of its pause, so that the
// painting lies within the pause instead of lengthening every frame: the beam keeps the pace
// of the plain screen whatever the views draw. Only the windows' own repaint requests wait; a
// menu or a dialog open in the pump paints as it comes.
class PaintInPause : public QObject
{
public:
    PaintInPause();

    // While pumping, the windows' repaint requests are held.
    void setPumping(bool pumping) { m_pumping = pumping; }
    // The held repaints, done now; whether there were any.
    bool paint();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_pumping = false;
    bool m_painting = false;
    bool m_paintQueued = false;
    std::vector<QPointer<QWidget>> m_held;
};

} // namespace korvelian
