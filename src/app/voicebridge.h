#pragma once

// The character's voice for the agent runtime in the page: an object that
// the view publishes on the page's web channel as "orvoVoice". The runtime's
// native voice asks it to speak a speech text (with its speech tags) and
// hears back each word as playback reaches it and the end of the audio.
// Turned off (View menu), the runtime keeps its silent reading-pace timing.

#include "speech/synthesizer.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <map>
#include <memory>

namespace orvo::app {

class SpeechPlayback;

class VoiceBridge final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VoiceBridge)
    Q_PROPERTY(bool enabled READ enabled NOTIFY enabledChanged)

public:
    // `useSoundDevice` false: every speech is timed by the clock alone (tests).
    explicit VoiceBridge(bool useSoundDevice = true, QObject* parent = nullptr);
    ~VoiceBridge() override;

    bool enabled() const;
    void setEnabled(bool enabled);
    // The language when a page does not ask for one (the user's choice).
    void setDefaultLanguage(speech::Language language) { m_defaultLanguage = language; }

    // Speaks `text` as request `id` of the page; languageId is the Agent
    // character's LanguageID (0x0411 asks for Japanese; the converter writes
    // 0x0409 for every page, so English is only a default: text with kana or
    // kanji is still read in Japanese).
    Q_INVOKABLE void speak(int id, const QString& text, int languageId);
    Q_INVOKABLE void stop(int id);
    // Cuts every voice at once: Stop on the page, leaving it, closing.
    Q_INVOKABLE void stopAll();

    // Speeches now playing.
    int playingCount() const { return static_cast<int>(m_playing.size()); }
    // Time from speak() to the first sample of speech `id` that is playing;
    // -1 before that sample (or when it is not playing).
    qint64 firstSampleMs(int id) const;

signals:
    void enabledChanged(bool enabled);
    // A word of speech `id` is being said: its UTF-16 range in the text.
    void word(int id, int begin, int end);
    // Speech `id` has ended; spoken is false when it could not be made.
    void finished(int id, bool spoken);

private:
    // Drops a finished speech, unless a newer one has taken its id.
    void release(int id, const SpeechPlayback* playback);

    bool m_enabled = true;
    bool m_useSoundDevice;
    speech::Language m_defaultLanguage = speech::Language::Automatic;
    speech::Synthesizer m_synthesizer;
    QMutex m_synthesizerLock;
    std::map<int, std::unique_ptr<SpeechPlayback>> m_playing;
};

} // namespace orvo::app
