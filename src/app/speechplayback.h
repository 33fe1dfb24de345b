#pragma once

// One speech of the character, made and played at once: a worker thread
// synthesizes the text piece by piece while the first piece already plays,
// through QAudioSink on the default sound device. Without a device the
// samples are "played" by the clock alone, so that word events and the end
// come at the moments they would have with sound. Word events are reported
// when playback reaches them, as UTF-16 ranges of the text (what the page's
// script counts in).

#include "speech/synthesizer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class QAudioSink;

namespace orvo::app {

class PcmSource;

class SpeechPlayback final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpeechPlayback)

public:
    // `synthesizer` and `synthesizerLock` are shared by all speeches and
    // must outlive this one; the lock keeps one synthesis at a time.
    SpeechPlayback(speech::Synthesizer& synthesizer, QMutex& synthesizerLock, const QString& text,
                   const speech::SpeakOptions& options, bool useSoundDevice,
                   QObject* parent = nullptr);
    ~SpeechPlayback() override;

    void start();
    // Cuts the voice at once; nothing is reported afterwards.
    void stop();

    // Milliseconds from start() to the first sample handed to the device (or
    // the clock); -1 until then.
    qint64 firstSampleMs() const { return m_firstSampleMs; }

signals:
    void word(int begin, int end);
    // The last sample has been played (spoken), or the synthesis failed
    // (not spoken: the caller falls back to silent timing).
    void finished(bool spoken);

private:
    // On the worker thread; std::thread passes its own copies of the
    // arguments.
    void synthesize(const std::string& text, const speech::SpeakOptions& options);
    void poll();
    std::size_t playedSamples() const;
    void finish(bool spoken);

    speech::Synthesizer& m_synthesizer;
    QMutex& m_synthesizerLock;
    QString m_text;
    std::vector<int> m_utf16Offset; // UTF-16 offset of every UTF-8 byte offset
    speech::SpeakOptions m_options;
    bool m_useSoundDevice;

    // Filled by the worker, read by the UI thread.
    struct Made {
        QMutex mutex;
        std::vector<std::int16_t> samples;
        std::vector<speech::WordEvent> words;
        bool done = false;
        bool failed = false;
    };
    std::shared_ptr<Made> m_made;
    std::atomic<bool> m_cancel{false};
    std::thread m_worker;

    std::unique_ptr<PcmSource> m_source;
    QAudioSink* m_sink = nullptr;
    QElapsedTimer m_clock;     // since start()
    qint64 m_playStartMs = -1; // clock-only playback: when the first sample "played"
    qint64 m_firstSampleMs = -1;
    std::size_t m_nextWord = 0;
    bool m_finished = false;
    QTimer m_poll;
};

} // namespace orvo::app
