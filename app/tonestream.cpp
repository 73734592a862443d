#include "tonestream.h"

#include "audiodevice.h"
#include "tonetexts.h"

#include <QAudioSink>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QTimer>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace korvelian {

namespace {

// What the sink may hold ahead of what is heard, so the longest a change waits (make
// check-audio measures 25 to 40 ms). Less let a busy machine run the sink dry, which clicks.
constexpr int kBufferMilliseconds = 60;
// The device is asked for samples this often, so that the sink is always nearly full. Qt's own
// pull timer hands over one period at a time and ran a buffer this short dry.
constexpr int kFeedMilliseconds = 5;
// What the audio server may still hold after taking the samples.
constexpr int kServerMilliseconds = 30;
// The longest the program's end waits for its fade to be heard.
constexpr int kEndWaitMilliseconds = 150;
// The longest the window's end waits for the tone's thread to let go of the audio system.
constexpr int kShutDownMilliseconds = 500;
// How often an output that is missing or was lost is looked for again.
constexpr int kProbeAgainMilliseconds = 2000;
// Qt makes a lost connection to the audio server again once, this long after losing it.
constexpr int kQtReconnectMilliseconds = 3000;

const char* const kNoOutput = kNoSoundOutput;
const char* const kNoFormat = "Kein Ton: Der Audioausgang nimmt keinen Stereoton an.";
const char* const kNotOpened = "Kein Ton: Der Audioausgang lässt sich nicht öffnen.";
const char* const kLost = "Kein Ton mehr: Der Audioausgang ist nicht mehr erreichbar.";
const char* const kNotTaken =
    "Kein Ton: Der Audioserver ist wieder da; für den Ton bitte das Programm neu starten.";
// What the teacher can do where the program cannot reach the audio system anew by itself.
const char* const kRestart =
    " Kommt der Ton nicht von selbst zurück, bitte das Programm neu starten.";

} // namespace

// Lives on the tone's thread, apart from hand() and waitUntilEnded(), which the GUI thread
// calls.
class ToneFeeder : public QObject
{
public:
    explicit ToneFeeder(ToneStream& stream) : m_stream(stream) {}

    // The sink is released once an ending fade has been heard.
    void hand(const ToneSettings& settings, bool ending)
    {
        bool wake = false;
        {
            const std::lock_guard lock(m_mutex);
            // No sink plays (it failed, or faded out already): there is nothing to fade, and
            // opening one for it would replace the reason a lost output gave.
            if (ending && !m_running)
                return;
            m_pending = settings;
            m_ending = ending;
            wake = !m_running;
            m_running = true;
        }
        if (wake)
            QMetaObject::invokeMethod(
                this, [this] { start(); }, Qt::QueuedConnection);
    }

    // The stream is gone: nothing is said to it any more.
    void forget()
    {
        const std::lock_guard lock(m_mutex);
        m_forgotten = true;
    }

    void waitUntilEnded(int milliseconds)
    {
        std::unique_lock lock(m_mutex);
        m_ended.wait_for(lock, std::chrono::milliseconds(milliseconds),
                         [this] { return !m_running; });
    }

    // afresh: the audio system is asked anew, not what it said before; never from within a
    // signal of m_devices, which it replaces.
    void probe(bool afresh = false)
    {
        if (afresh && !playing() && m_layer.renewable()) {
            m_devices.reset();
            m_layer.renew();
        }
        if (!m_devices) {
            m_devices = std::make_unique<QMediaDevices>();
            connect(m_devices.get(), &QMediaDevices::audioOutputsChanged, this,
                    [this] { probe(); });
        }
        if (playing())
            return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const std::optional<QAudioFormat> format =
            device.isNull() ? std::nullopt : stereoFormat(device);
        if (!format) {
            announce(false, device.isNull() ? kNoOutput : kNoFormat);
            return;
        }
        const QAudio::Error error = m_missed ? openError(device, *format) : QAudio::NoError;
        // The list, asked anew, names the output, but the sinks' connection is away: for good
        // once Qt's one new try is past.
        const bool refused = error == QAudio::FatalError && afresh && m_layer.renewable();
        if (error != QAudio::FatalError)
            m_refusedSince.invalidate();
        else if (refused && !m_refusedSince.isValid())
            m_refusedSince.start();
        if (error == QAudio::NoError)
            announce(true, nullptr);
        else if (refused && m_refusedSince.elapsed() > kQtReconnectMilliseconds)
            announce(false, kNotTaken);
        else
            announce(false, m_why ? m_why : kNotOpened);
    }

    void shutDown()
    {
        stopSink();
        delete m_probeAgain;
        m_probeAgain = nullptr;
        m_devices.reset();
        m_device.reset();
    }

private:
    void start()
    {
        if (m_sink)
            return;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        const std::optional<QAudioFormat> format =
            device.isNull() ? std::nullopt : stereoFormat(device);
        if (!format) {
            fail(device.isNull() ? kNoOutput : kNoFormat);
            return;
        }
        // The tone goes on where it was, unless the rate changed with the device.
        if (!m_device || m_device->rate() != format->sampleRate())
            m_device = std::make_unique<ToneDevice>(format->sampleRate());
        m_sink = std::make_unique<QAudioSink>(device, *format);
        m_sink->setBufferSize(format->bytesForDuration(kBufferMilliseconds * 1000));
        m_io = m_sink->start();
        if (!m_io || m_sink->error() != QAudio::NoError) {
            fail(kNotOpened);
            return;
        }
        m_heardAfter =
            format->framesForDuration((kBufferMilliseconds + kServerMilliseconds) * 1000);
        if (!m_timer) {
            m_timer = new QTimer(this);
            m_timer->setTimerType(Qt::PreciseTimer);
            m_timer->setInterval(kFeedMilliseconds);
            connect(m_timer, &QTimer::timeout, this, [this] { feed(); });
        }
        m_timer->start();
        feed();
    }

    void feed()
    {
        const QAudio::Error error = m_sink->error();
        if (error == QAudio::OpenError || error == QAudio::IOError || error == QAudio::FatalError) {
            fail(kLost);
            return;
        }
        bool ending = false;
        {
            const std::lock_guard lock(m_mutex);
            if (m_pending)
                m_device->set(*m_pending);
            m_pending.reset();
            ending = m_ending;
        }
        // Samples the sink did not take wait for the next turn: dropping them would jump.
        if (m_backlog.empty()) {
            const qint64 frames = m_sink->bytesFree() / kFrameBytes;
            m_backlog.resize(static_cast<std::size_t>(frames * kChannels));
            m_device->read(reinterpret_cast<char*>(m_backlog.data()), frames * kFrameBytes);
        }
        if (!m_backlog.empty()) {
            const qint64 written =
                m_io->write(reinterpret_cast<const char*>(m_backlog.data()),
                            static_cast<qint64>(m_backlog.size()) * kSampleBytes);
            m_backlog.erase(m_backlog.begin(),
                            m_backlog.begin() + std::max<qint64>(0, written) / kSampleBytes);
        }
        if (!ending || m_device->silentFrames() < m_heardAfter)
            return;
        {
            const std::lock_guard lock(m_mutex);
            if (m_pending)
                return;
            m_running = false;
        }
        stopSink();
        m_ended.notify_all();
    }

    void stopSink()
    {
        if (m_timer)
            m_timer->stop();
        if (m_sink)
            m_sink->stop();
        m_sink.reset();
        m_io = nullptr;
        m_backlog.clear();
    }

    bool playing()
    {
        const std::lock_guard lock(m_mutex);
        return m_running;
    }

    // Once an output was missing or lost, the list of devices may name it all the same: only a
    // stream opened on it says that it is there again.
    static QAudio::Error openError(const QAudioDevice& device, const QAudioFormat& format)
    {
        QAudioSink sink(device, format);
        const QIODevice* io = sink.start();
        const QAudio::Error error = sink.error();
        sink.stop();
        return io || error != QAudio::NoError ? error : QAudio::OpenError;
    }

    void fail(const char* why)
    {
        stopSink();
        {
            const std::lock_guard lock(m_mutex);
            m_pending.reset();
            m_running = false;
        }
        m_ended.notify_all();
        announce(false, why);
    }

    void announce(bool available, const char* why)
    {
        // Looked for again now and then while there is none, on this thread: the GUI never
        // waits for it.
        m_missed = m_missed || !available;
        if (!available && !m_probeAgain) {
            m_probeAgain = new QTimer(this);
            m_probeAgain->setInterval(kProbeAgainMilliseconds);
            connect(m_probeAgain, &QTimer::timeout, this, [this] { probe(true); });
        }
        if (m_probeAgain) {
            if (available)
                m_probeAgain->stop();
            else
                m_probeAgain->start();
        }
        if (m_available == available && m_why == why)
            return;
        m_available = available;
        m_why = why;
        const std::lock_guard lock(m_mutex);
        if (m_forgotten)
            return;
        ToneStream* stream = &m_stream;
        QString text = why ? QString::fromUtf8(why) : QString();
        if (!m_layer.renewable() && (why == kLost || why == kNoOutput))
            text += QString::fromUtf8(kRestart);
        QMetaObject::invokeMethod(
            stream,
            [stream, available, text] { emit stream->availabilityChanged(available, text); },
            Qt::QueuedConnection);
    }

    ToneStream& m_stream;
    std::mutex m_mutex;
    std::condition_variable m_ended;
    std::optional<ToneSettings> m_pending;
    bool m_ending = false;
    // A sink plays, or is about to.
    bool m_running = false;
    bool m_forgotten = false;

    DeviceLayer m_layer;
    QElapsedTimer m_refusedSince;
    std::unique_ptr<QMediaDevices> m_devices;
    std::unique_ptr<ToneDevice> m_device;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_io = nullptr;
    QTimer* m_timer = nullptr;
    QTimer* m_probeAgain = nullptr;
    // What was last said about the output, and whether it ever was that there is none.
    bool m_available = false;
    bool m_missed = false;
    const char* m_why = nullptr;
    std::vector<std::int16_t> m_backlog;
    qint64 m_heardAfter = 0;
};

ToneStream::ToneStream(QObject* parent) : QObject(parent) {}

ToneStream::~ToneStream()
{
    if (!m_feeder)
        return;
    QMetaObject::invokeMethod(
        m_feeder,
        [feeder = m_feeder, thread = m_thread] {
            feeder->shutDown();
            thread->quit();
        },
        Qt::QueuedConnection);
    // A thread held up by an audio server that does not answer is left to the process's end,
    // with what it uses: the window goes at once all the same.
    if (!m_thread->wait(QDeadlineTimer(kShutDownMilliseconds))) {
        m_feeder->forget();
        return;
    }
    delete m_feeder;
    delete m_thread;
}

void ToneStream::startThread()
{
    if (m_feeder)
        return;
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("korvelian-ton"));
    m_feeder = new ToneFeeder(*this);
    m_feeder->moveToThread(m_thread);
    m_thread->start();
}

void ToneStream::probe()
{
    startThread();
    QMetaObject::invokeMethod(
        m_feeder, [feeder = m_feeder] { feeder->probe(); }, Qt::QueuedConnection);
}

void ToneStream::play(const ToneSettings& settings)
{
    startThread();
    m_last = settings;
    m_played = true;
    m_feeder->hand(settings, false);
}

void ToneStream::fadeOut()
{
    if (!m_played)
        return;
    m_played = false;
    ToneSettings quiet = m_last;
    quiet.gainX = 0;
    quiet.gainY = 0;
    m_feeder->hand(quiet, true);
}

void ToneStream::endNow()
{
    fadeOut();
    if (m_feeder)
        m_feeder->waitUntilEnded(kEndWaitMilliseconds);
}

} // namespace korvelian
