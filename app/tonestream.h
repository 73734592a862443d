#pragma once

#include "handlers/soundoutput.h"

#include <QObject>
#include <QThread>

namespace korvelian {

class ToneFeeder;

// The tone to the system's audio output through Qt Multimedia. The sink, the device it pulls
// the samples from and every call that may wait for the audio server live on a thread of
// their own: the GUI thread only hands over settings, so neither a slow or missing audio
// server nor the animation's frame loop can hold up the other.
class ToneStream : public QObject, public SoundOutput
{
    Q_OBJECT

public:
    explicit ToneStream(QObject* parent = nullptr);
    ~ToneStream() override;

    // Looks for an audio output; the answer comes as availabilityChanged, again whenever the
    // system's outputs change.
    void probe();

    void play(const ToneSettings& settings) override;
    void fadeOut() override;
    void endNow() override;

signals:
    // why: one German sentence saying why there is no sound; empty when there is.
    void availabilityChanged(bool available, const QString& why);

private:
    void startThread();

    // Made with the first sound; owned, unless it does not end in time.
    QThread* m_thread = nullptr;
    ToneFeeder* m_feeder = nullptr;
    ToneSettings m_last;
    bool m_played = false;
};

} // namespace korvelian
