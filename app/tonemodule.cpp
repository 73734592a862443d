#include "tonemodule.h"

#include "tonestream.h"

extern "C" Q_DECL_EXPORT korvelian::SoundOutput*
korvelian_make_tone_output(const korvelian::ToneAnnounce& announce)
{
    auto* stream = new korvelian::ToneStream;
    QObject::connect(stream, &korvelian::ToneStream::availabilityChanged, stream, announce);
    stream->probe();
    return stream;
}
