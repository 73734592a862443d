#pragma once

#include "model/stereotone.h"

#include <QAudioFormat>
#include <QIODevice>

#include <cstdint>
#include <optional>

class QAudioDevice;
class QPlatformMediaDevices;

namespace korvelian {

inline constexpr int kChannels = 2;
inline constexpr qint64 kSampleBytes = sizeof(std::int16_t);
inline constexpr qint64 kFrameBytes = kChannels * kSampleBytes;

// 16-bit stereo at 48 kHz, or at the output's own rate where it takes no 48 kHz; none where it
// takes no 16-bit stereo at all.
std::optional<QAudioFormat> stereoFormat(const QAudioDevice& device);

// Qt 6.4 on Linux reaches the audio server through two connections of PulseAudio's interface,
// each made when first needed and made again once, 3 s after the server went: one for the list
// of devices, one for every sink. A server that starts later, or comes back later, is never
// seen again. The list's connection is remade with the layer that holds it, so that a server
// that starts after the program is found: the sinks' connection is first made then. The sinks'
// connection cannot be remade: a server away for longer than Qt waits takes "Ton" with it
// until the program starts again, and the entry says so. The layer is private to Qt, so it is
// looked up by name at run time, in the Qt it was written for only.
class DeviceLayer
{
public:
    DeviceLayer();

    bool renewable() const { return m_instance && m_setDevices; }

    // No sink and no QMediaDevices may be left on the old layer: they would reach the new one.
    void renew();

private:
    using Instance = QPlatformMediaDevices* (*)();
    using SetDevices = void (*)(QPlatformMediaDevices*);
    Instance m_instance = nullptr;
    SetDevices m_setDevices = nullptr;
};

// The device the sink's samples are pulled from: renders as much of the tone as is asked for.
class ToneDevice : public QIODevice
{
public:
    explicit ToneDevice(int rate);

    int rate() const { return m_rate; }
    void set(const ToneSettings& settings) { m_tone.set(settings); }
    // Frames of silence rendered since the tone fell silent.
    qint64 silentFrames() const { return m_silentFrames; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    StereoTone m_tone;
    int m_rate;
    qint64 m_silentFrames = 0;
};

} // namespace korvelian
