#include "prediction.h"

#include "model/constants.h"
#include "model/kgv.h"

namespace korvelian {

namespace {

// As for the afterglow: a jump of t larger than this comes from a redraw, not from the beam's
// run, and starts a new piece.
constexpr double kLongestPath = 1.0;

} // namespace

void Prediction::setMode(Mode mode)
{
    m_mode = mode;
    m_resolved = false;
    clearPath();
}

void Prediction::resolve()
{
    m_resolved = true;
    clearPath();
}

void Prediction::settingChanged()
{
    m_resolved = false;
    clearPath();
}

void Prediction::clearPath()
{
    m_path.clear();
    m_following = false;
    m_covered = 0;
    m_complete = false;
}

void Prediction::beamAt(double t, const Parameter& p)
{
    if (!drawsPath())
        return;
    const ClosingCount count = closingCount(p.numerator, p.denominator);
    if (count.fault != RatioFault::None)
        return;
    const double figure = loopEnd(count.value);
    if (!m_following || t < m_lastT || t - m_lastT > kLongestPath) {
        m_path.push_back({deflection(t, p)});
        m_following = true;
        m_lastT = t;
        return;
    }
    std::vector<Point>& piece = m_path.back();
    for (double s = m_lastT + kLoopStep; s < t; s += kLoopStep)
        piece.push_back(deflection(s, p));
    piece.push_back(deflection(t, p));
    m_covered += t - m_lastT;
    m_lastT = t;
    if (m_covered >= figure) {
        m_complete = true;
        m_path.clear();
    }
}

} // namespace korvelian
