#include "audiodevice.h"

#include <QAudioDevice>
#include <QLibraryInfo>
#include <QVersionNumber>

#ifdef Q_OS_LINUX
#include <dlfcn.h>

// Qt's audio device layer, as far as it is used here (its header is private to Qt): the
// destructor is its first virtual function.
class QPlatformMediaDevices
{
public:
    virtual ~QPlatformMediaDevices();
};
#endif

namespace korvelian {

namespace {

constexpr int kSampleRate = 48000;

} // namespace

std::optional<QAudioFormat> stereoFormat(const QAudioDevice& device)
{
    QAudioFormat format;
    format.setChannelCount(kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    format.setSampleRate(kSampleRate);
    if (device.isFormatSupported(format))
        return format;
    format.setSampleRate(device.preferredFormat().sampleRate());
    if (format.sampleRate() > 0 && device.isFormatSupported(format))
        return format;
    return std::nullopt;
}

DeviceLayer::DeviceLayer()
{
#ifdef Q_OS_LINUX
    const QVersionNumber qt = QLibraryInfo::version();
    if (qt.majorVersion() != 6 || qt.minorVersion() != 4)
        return;
    m_instance =
        reinterpret_cast<Instance>(dlsym(RTLD_DEFAULT, "_ZN21QPlatformMediaDevices8instanceEv"));
    m_setDevices = reinterpret_cast<SetDevices>(
        dlsym(RTLD_DEFAULT, "_ZN21QPlatformMediaDevices10setDevicesEPS_"));
#endif
}

void DeviceLayer::renew()
{
#ifdef Q_OS_LINUX
    if (!renewable())
        return;
    QPlatformMediaDevices* old = m_instance();
    m_setDevices(nullptr);
    delete old;
#endif
}

ToneDevice::ToneDevice(int rate) : m_tone(rate), m_rate(rate)
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 ToneDevice::readData(char* data, qint64 maxSize)
{
    const qint64 frames = maxSize / kFrameBytes;
    auto* samples = reinterpret_cast<std::int16_t*>(data);
    m_tone.render(samples, static_cast<std::size_t>(frames));
    if (!m_tone.silent()) {
        m_silentFrames = 0;
    } else {
        qint64 zero = frames;
        while (zero > 0 && samples[2 * zero - 2] == 0 && samples[2 * zero - 1] == 0)
            --zero;
        m_silentFrames = zero == 0 ? m_silentFrames + frames : frames - zero;
    }
    return frames * kFrameBytes;
}

} // namespace korvelian
