#include "form1.h"

#include "windowoperations.h"

namespace korvelian {

Form1::Form1(WindowOperations& ops)
    : m_ops(ops), m_plotter(ops, m_vars), m_frequency(ops, m_plotter), m_oscillation(ops, m_vars),
      m_speed(ops, m_vars)
{
}

void Form1::handle(Event event)
{
    switch (event) {
    case Event::Form_Load:
        Form_Load();
        break;
    case Event::Form_Unload:
        Form_Unload();
        break;
    case Event::Command1_Click:
    // The y amplitude bar redraws like the other three, as a user expects of four alike bars.
    case Event::hscAmp1_Change:
    case Event::hscAmp1_Scroll:
    case Event::HScroll1_Change:
    case Event::HScroll1_Scroll:
    case Event::hscAmp2_Change:
    case Event::hscAmp2_Scroll:
    case Event::hscPhase_Change:
    case Event::hscPhase_Scroll:
        m_plotter.Command1_Click();
        break;
    case Event::Command2_Click:
        m_oscillation.Command2_Click();
        break;
    case Event::Command5_Click:
        Command5_Click();
        break;
    case Event::Command6_Click:
        Command6_Click();
        break;
    case Event::Command7_Click:
        m_speed.Command7_Click();
        break;
    case Event::Command8_Click:
        m_speed.Command8_Click();
        break;
    case Event::cmdplusZaehler_Click:
        m_frequency.cmdplusZaehler_Click();
        break;
    case Event::Command9_Click:
        m_frequency.Command9_Click();
        break;
    case Event::cmdplusNenner_Click:
        m_frequency.cmdplusNenner_Click();
        break;
    case Event::Command10_Click:
        m_frequency.Command10_Click();
        break;
    case Event::txtZaehler_Change:
        m_frequency.txtZaehler_Change();
        break;
    case Event::txtNenner_Change:
        m_frequency.txtNenner_Change();
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

void Form1::Form_Load()
{
    m_ops.scale(Picture::Bildschirm, -2, -2, 2, 2);
    // The speed bar's frame is set here only; the faster command draws in it but never sets it.
    m_ops.scale(Picture::Velo, 0, 0, 0.2f, 1);
    m_plotter.Command1_Click();
    // dt is still 0 here: this draws the empty bar and leaves dt at 0.
    m_speed.Command7_Click();
}

void Form1::Form_Unload()
{
    // Closing the window ends the program as "Programm beenden" does, so that a running
    // animation loop cannot outlive it.
    Command5_Click();
}

void Form1::Command5_Click()
{
    m_ops.setCheckValue(1);
    m_ops.endProgram();
}

void Form1::Command6_Click()
{
    m_ops.msgBox("Ansgor Kelmtorp, TU Oldenvast", "Feeware, programmiert von");
}

void Form1::showHint(Event mouseMove)
{
    const char* hint = "";
    switch (mouseMove) {
    case Event::Command1_MouseMove:
        hint = "Korvelian-Figur zeigen";
        break;
    case Event::Command2_MouseMove:
        hint = "Schwingung zeigen";
        break;
    case Event::Frame1_MouseMove:
        hint = "Schwingung auf der x-Achse einstellen";
        break;
    case Event::Frame2_MouseMove:
        hint = "Schwingung auf der y-Achse einstellen";
        break;
    case Event::Label4_MouseMove:
        hint = "Frequenz der y-Schwingung = Frequenzfaktor * Frequenz der x-Schwingung (als Bruch)";
        break;
    default:
        return;
    }
    m_ops.setText(TextBox::Hilfe, hint);
}

} // namespace korvelian
