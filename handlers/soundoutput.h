#pragma once

#include "model/stereotone.h"

namespace korvelian {

// Where the tone of the two oscillations goes: the system's audio output in the program, a
// recorder in the tests. Every call comes from the GUI thread and returns at once.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;

    // New settings at any time, heard within a few hundredths of a second and ramped, so that
    // no change clicks. The first call starts the output.
    virtual void play(const ToneSettings& settings) = 0;
    // Both channels ramp down to silence; the output is released once that has been heard.
    virtual void fadeOut() = 0;
    // As fadeOut, but waits until the silence has been heard, a tenth of a second at most:
    // the program ends right after, and cutting off a tone clicks.
    virtual void endNow() = 0;
};

} // namespace korvelian
