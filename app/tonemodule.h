#pragma once

#include "handlers/soundoutput.h"

#include <QString>

#include <functional>

namespace korvelian {

// What the sound library offers: an output to the system's audio, which says through announce
// (on the GUI thread) whether it has one, first and whenever that changes. Made on the GUI
// thread; the caller owns it.
using ToneAnnounce = std::function<void(bool available, const QString& why)>;
using MakeToneOutput = SoundOutput* (*)(const ToneAnnounce& announce);
inline constexpr char kToneModule[] = "korvelian-ton";
inline constexpr char kMakeToneOutput[] = "korvelian_make_tone_output";

} // namespace korvelian
