#pragma once

#include "handlers/soundoutput.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <thread>

namespace korvelian {

// The sound output, whose library (Qt Multimedia and the audio server's client with its
// codecs) is loaded on a thread of its own once asked for, so that neither the start nor the
// event thread waits for it. What is played before it is there is played once it is.
class ToneLoader : public QObject, public SoundOutput
{
    Q_OBJECT

public:
    // library: the file name without its ending; another than the program's in the tests.
    explicit ToneLoader(QObject* parent = nullptr, const QString& library = {});
    ~ToneLoader() override;

    // Loads the library, then looks for an audio output; the answer comes as
    // availabilityChanged, again whenever the system's outputs change.
    void probe();

    void play(const ToneSettings& settings) override;
    void fadeOut() override;
    void endNow() override;

signals:
    // why: one German sentence saying why there is no sound; empty when there is.
    void availabilityChanged(bool available, const QString& why);

private:
    void loaded(void (*make)());

    QString m_library;
    std::thread m_loading;
    std::unique_ptr<SoundOutput> m_output;
    std::optional<ToneSettings> m_waiting;
    bool m_failed = false;
};

} // namespace korvelian
