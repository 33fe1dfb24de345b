#include "app/voicebridge.h"

#include "app/speechplayback.h"

namespace orvo::app {

namespace {

constexpr int kJapaneseLanguageId = 0x0411;

} // namespace

VoiceBridge::VoiceBridge(bool useSoundDevice, QObject* parent)
    : QObject(parent), m_useSoundDevice(useSoundDevice)
{
}

VoiceBridge::~VoiceBridge()
{
    stopAll();
}

bool VoiceBridge::enabled() const
{
    return m_enabled && m_synthesizer.ok();
}

void VoiceBridge::setEnabled(bool enabled)
{
    if (enabled == m_enabled) {
        return;
    }
    m_enabled = enabled;
    if (!enabled) {
        stopAll();
    }
    emit enabledChanged(this->enabled());
}

void VoiceBridge::speak(int id, const QString& text, int languageId)
{
    stop(id);
    if (!enabled()) {
        emit finished(id, false);
        return;
    }
    speech::SpeakOptions options;
    options.language =
        languageId == kJapaneseLanguageId ? speech::Language::Japanese : m_defaultLanguage;
    auto playback = std::make_unique<SpeechPlayback>(m_synthesizer, m_synthesizerLock, text,
                                                     options, m_useSoundDevice);
    SpeechPlayback* raw = playback.get();
    connect(raw, &SpeechPlayback::word, this,
            [this, id](int begin, int end) { emit word(id, begin, end); });
    connect(raw, &SpeechPlayback::finished, this, [this, id, raw](bool spoken) {
        // Not deleted inside its own signal.
        QMetaObject::invokeMethod(
            this, [this, id, raw] { release(id, raw); }, Qt::QueuedConnection);
        emit finished(id, spoken);
    });
    m_playing[id] = std::move(playback);
    raw->start();
}

qint64 VoiceBridge::firstSampleMs(int id) const
{
    const auto found = m_playing.find(id);
    return found != m_playing.end() ? found->second->firstSampleMs() : -1;
}

void VoiceBridge::stop(int id)
{
    const auto found = m_playing.find(id);
    if (found != m_playing.end()) {
        found->second->stop();
        m_playing.erase(found);
    }
}

void VoiceBridge::stopAll()
{
    for (auto& [id, playback] : m_playing) {
        playback->stop();
    }
    m_playing.clear();
}

void VoiceBridge::release(int id, const SpeechPlayback* playback)
{
    const auto found = m_playing.find(id);
    if (found != m_playing.end() && found->second.get() == playback) {
        found->second->stop();
        m_playing.erase(found);
    }
}

} // namespace orvo::app
