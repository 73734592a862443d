#pragma once

namespace korvelian {

// Every control event the window handles, named after its handler.
enum class Event {
    Form_Load,
    Form_Unload,
    Command1_Click,
    Command2_Click,
    Command5_Click,
    Command6_Click,
    Command7_Click,
    Command8_Click,
    cmdplusZaehler_Click,
    Command9_Click,
    cmdplusNenner_Click,
    Command10_Click,
    txtZaehler_Change,
    txtNenner_Change,
    hscAmp1_Change,
    hscAmp1_Scroll,
    HScroll1_Change,
    HScroll1_Scroll,
    hscAmp2_Change,
    hscAmp2_Scroll,
    hscPhase_Change,
    hscPhase_Scroll,
    Command1_MouseMove,
    Command2_MouseMove,
    Frame1_MouseMove,
    Frame2_MouseMove,
    Label4_MouseMove,
};

} // namespace korvelian
