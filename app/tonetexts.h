#pragma once

namespace korvelian {

// Said where there is no sound output at all, whether the audio server does not answer or the
// program's own sound library is missing.
inline constexpr char kNoSoundOutput[] =
    "Kein Ton: Es gibt keinen Audioausgang (kein Gerät, oder der Audioserver antwortet nicht).";

} // namespace korvelian
