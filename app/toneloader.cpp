#include "toneloader.h"

#include "modulelibrary.h"
#include "tonemodule.h"
#include "tonetexts.h"

namespace korvelian {

ToneLoader::ToneLoader(QObject* parent, const QString& library)
    : QObject(parent), m_library(library.isEmpty() ? QString::fromLatin1(kToneModule) : library)
{
}

ToneLoader::~ToneLoader()
{
    if (m_loading.joinable())
        m_loading.join();
}

void ToneLoader::probe()
{
    if (m_loading.joinable() || m_output || m_failed)
        return;
    m_loading = std::thread([this, library = m_library] {
        const QFunctionPointer make = ModuleLibrary::resolve(library, kMakeToneOutput, nullptr);
        QMetaObject::invokeMethod(
            this, [this, make] { loaded(make); }, Qt::QueuedConnection);
    });
}

void ToneLoader::loaded(void (*make)())
{
    if (!make) {
        m_failed = true;
        m_waiting.reset();
        emit availabilityChanged(false, QString::fromUtf8(kNoSoundOutput));
        return;
    }
    const ToneAnnounce announce = [this](bool available, const QString& why) {
        emit availabilityChanged(available, why);
    };
    m_output.reset(reinterpret_cast<MakeToneOutput>(make)(announce));
    if (m_waiting)
        m_output->play(*m_waiting);
    m_waiting.reset();
}

void ToneLoader::play(const ToneSettings& settings)
{
    if (m_output) {
        m_output->play(settings);
        return;
    }
    if (!m_failed)
        m_waiting = settings;
    probe();
}

void ToneLoader::fadeOut()
{
    if (m_output)
        m_output->fadeOut();
    m_waiting.reset();
}

void ToneLoader::endNow()
{
    if (m_output)
        m_output->endNow();
    m_waiting.reset();
}

} // namespace korvelian
