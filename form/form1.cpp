#include "form1.h"

#include "model/constants.h"
#include "layout.h"
#include "handlers/windowoperations.h"

namespace korvelian {

Form1::Form1(WindowOperations& ops)
    : m_ops(ops), m_hint(ops), m_plotter(ops, m_vars, m_hint),
      m_frequency(ops, m_plotter, m_vars.ratio, m_hint), m_drift(ops, m_vars),
      m_oscillation(ops, m_vars, m_drift), m_speed(ops, m_vars), m_sound(ops, m_vars.ratio, m_hint)
{
}

void Form1::handle(Event event)
{
    endDriftOnEntry(event);
    switch (event) {
    case Event::Form_Load:
        startUp();
        break;
    case Event::Form_Unload:
        // Closing the window ends the program as "Programm beenden" does, so that a running
        // animation loop cannot outlive it.
    case Event::Command5_Click:
        quit();
        break;
    case Event::Command1_Click:
        m_plotter.redraw();
        break;
    // The y amplitude bar redraws like the other three, as a user expects of four alike bars.
    case Event::hscAmp1_Change:
    case Event::hscAmp1_Scroll:
    case Event::HScroll1_Change:
    case Event::HScroll1_Scroll:
    case Event::hscAmp2_Change:
    case Event::hscAmp2_Scroll:
    case Event::hscPhase_Change:
    case Event::hscPhase_Scroll:
        m_sound.follow();
        m_plotter.redraw();
        break;
    case Event::Command2_Click:
        m_oscillation.run();
        break;
    case Event::Command6_Click:
        showInformation();
        break;
    case Event::Command7_Click:
        m_speed.faster();
        break;
    case Event::Command8_Click:
        m_speed.slower();
        break;
    case Event::cmdplusZaehler_Click:
        m_frequency.increment(TextBox::Numerator);
        break;
    case Event::Command9_Click:
        m_frequency.decrement(TextBox::Numerator);
        break;
    case Event::cmdplusNenner_Click:
        m_frequency.increment(TextBox::Denominator);
        break;
    case Event::Command10_Click:
        m_frequency.decrement(TextBox::Denominator);
        break;
    case Event::txtZaehler_Change:
    case Event::txtNenner_Change:
        m_frequency.recount();
        m_sound.follow();
        break;
    case Event::Command1_MouseMove:
    case Event::Command2_MouseMove:
    case Event::Frame1_MouseMove:
    case Event::Frame2_MouseMove:
    case Event::Label4_MouseMove:
        showHint(event);
        break;
    }
}

void Form1::endDriftOnEntry(Event event)
{
    if (m_drift.moving() || !m_drift.ticked() || m_oscillation.runs() == 0)
        return;
    switch (event) {
    case Event::txtZaehler_Change:
    case Event::txtNenner_Change:
    case Event::hscAmp1_Change:
    case Event::hscAmp1_Scroll:
    case Event::HScroll1_Change:
    case Event::HScroll1_Scroll:
    case Event::hscAmp2_Change:
    case Event::hscAmp2_Scroll:
    case Event::hscPhase_Change:
    case Event::hscPhase_Scroll:
        m_drift.takeOver();
        break;
    default:
        break;
    }
}

void Form1::startUp()
{
    m_ops.setFrame(Picture::Screen, -kScreenEdge, -kScreenEdge, kScreenEdge, kScreenEdge);
    // The speed bar's frame is set here only; the faster command draws in it but never sets it.
    m_ops.setFrame(Picture::SpeedBar, 0, 0, static_cast<float>(kSpeedBarEnd), 1);
    m_plotter.redraw();
    // dt is still 0 here: this draws the empty bar and leaves dt at 0.
    m_speed.faster();
}

void Form1::quit()
{
    m_ops.setCheckValue(1);
    m_sound.end();
    m_ops.endProgram();
}

void Form1::setTextbook(bool on)
{
    if (m_vars.ratio.textbook == on)
        return;
    m_vars.ratio.textbook = on;
    m_sound.follow();
    m_plotter.redraw();
}

void Form1::showInformation()
{
    m_ops.msgBox("Ansgor Kelmtorp, TU Oldenvast", "Feeware, programmiert von");
}

void Form1::showHint(Event mouseMove)
{
    for (const ControlLayout& control : kControls) {
        if (control.mouseMove == mouseMove && control.hint) {
            m_ops.setText(TextBox::Hint, control.hint);
            return;
        }
    }
}

} // namespace korvelian
