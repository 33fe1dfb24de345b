#include "app/speechplayback.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMutexLocker>

#include <algorithm>

namespace orvo::app {

namespace {

// Word events and the end are checked this often: well below what the eye
// notices in a balloon.
constexpr int kPollMs = 10;

// The UTF-16 offset of every byte offset of the text's UTF-8 form (and of
// its end), so that byte ranges from the synthesizer become ranges of the
// page's string.
std::vector<int> utf16Offsets(const QString& text)
{
    std::vector<int> offsets;
    offsets.reserve(static_cast<std::size_t>(text.size()) * 3 + 1);
    for (int i = 0; i < text.size();) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                               ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                               : text.at(i).unicode();
        const int units = c > 0xFFFF ? 2 : 1;
        const int bytes = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        offsets.insert(offsets.end(), static_cast<std::size_t>(bytes), i);
        i += units;
    }
    offsets.push_back(static_cast<int>(text.size()));
    return offsets;
}

} // namespace

// Hands the samples made so far to QAudioSink, which pulls them.
class PcmSource final : public QIODevice {
public:
    explicit PcmSource(std::shared_ptr<void> made, std::vector<std::int16_t>& samples,
                       QMutex& mutex)
        : m_keep(std::move(made)), m_samples(samples), m_mutex(mutex)
    {
    }

    bool isSequential() const override { return true; }

    qint64 bytesAvailable() const override
    {
        QMutexLocker lock(&m_mutex);
        return static_cast<qint64>((m_samples.size() - m_read) * 2) + QIODevice::bytesAvailable();
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        QMutexLocker lock(&m_mutex);
        const std::size_t count =
            std::min(m_samples.size() - m_read, static_cast<std::size_t>(maxSize / 2));
        std::copy_n(reinterpret_cast<const char*>(m_samples.data() + m_read), count * 2, data);
        m_read += count;
        return static_cast<qint64>(count) * 2;
    }

    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::shared_ptr<void> m_keep;
    std::vector<std::int16_t>& m_samples;
    QMutex& m_mutex;
    std::size_t m_read = 0;
};

SpeechPlayback::SpeechPlayback(speech::Synthesizer& synthesizer, QMutex& synthesizerLock,
                               const QString& text, const speech::SpeakOptions& options,
                               bool useSoundDevice, QObject* parent)
    : QObject(parent), m_synthesizer(synthesizer), m_synthesizerLock(synthesizerLock), m_text(text),
      m_utf16Offset(utf16Offsets(text)), m_options(options), m_useSoundDevice(useSoundDevice),
      m_made(std::make_shared<Made>())
{
    m_poll.setInterval(kPollMs);
    m_poll.setTimerType(Qt::PreciseTimer);
    connect(&m_poll, &QTimer::timeout, this, &SpeechPlayback::poll);
}

SpeechPlayback::~SpeechPlayback()
{
    stop();
}

void SpeechPlayback::start()
{
    m_clock.start();
    m_worker = std::thread(&SpeechPlayback::synthesize, this, m_text.toStdString(), m_options);
    if (m_useSoundDevice) {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        QAudioFormat format;
        format.setSampleRate(m_synthesizer.sampleRate());
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isNull() && device.isFormatSupported(format)) {
            m_source = std::make_unique<PcmSource>(m_made, m_made->samples, m_made->mutex);
            m_source->open(QIODevice::ReadOnly);
            m_sink = new QAudioSink(device, format, this);
        }
    }
    m_poll.start();
}

void SpeechPlayback::stop()
{
    m_finished = true;
    m_poll.stop();
    m_cancel = true;
    if (m_sink != nullptr) {
        m_sink->stop();
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void SpeechPlayback::synthesize(const std::string& text, const speech::SpeakOptions& options)
{
    const std::shared_ptr<Made> made = m_made;
    QMutexLocker lock(&m_synthesizerLock);
    const bool good = m_synthesizer.synthesize(
        text, options,
        [&](std::span<const std::int16_t> samples, std::span<const speech::WordEvent> words) {
            QMutexLocker madeLock(&made->mutex);
            const bool first = made->samples.empty() && !samples.empty();
            made->samples.insert(made->samples.end(), samples.begin(), samples.end());
            made->words.insert(made->words.end(), words.begin(), words.end());
            if (first) {
                // Playback starts now, not at the next poll.
                QMetaObject::invokeMethod(this, &SpeechPlayback::poll, Qt::QueuedConnection);
            }
            return !m_cancel.load();
        });
    QMutexLocker madeLock(&made->mutex);
    made->done = true;
    made->failed = !good;
}

std::size_t SpeechPlayback::playedSamples() const
{
    const auto rate = static_cast<std::size_t>(m_synthesizer.sampleRate());
    if (m_sink != nullptr) {
        // What the device took, less what still waits in its buffer.
        const auto processed =
            static_cast<qint64>(m_sink->processedUSecs()) * static_cast<qint64>(rate) / 1000000;
        const qint64 queued = qMax<qint64>(m_sink->bufferSize() - m_sink->bytesFree(), 0) / 2;
        return static_cast<std::size_t>(qMax<qint64>(processed - queued, 0));
    }
    if (m_playStartMs < 0) {
        return 0;
    }
    return static_cast<std::size_t>(m_clock.elapsed() - m_playStartMs) * rate / 1000;
}

void SpeechPlayback::poll()
{
    if (m_finished) {
        return;
    }
    std::vector<speech::WordEvent> words;
    std::size_t made = 0;
    bool done = false;
    bool failed = false;
    {
        QMutexLocker lock(&m_made->mutex);
        made = m_made->samples.size();
        done = m_made->done;
        failed = m_made->failed;
        words.assign(m_made->words.begin() + static_cast<std::ptrdiff_t>(m_nextWord),
                     m_made->words.end());
    }
    if (failed) {
        finish(false);
        return;
    }
    if (made > 0 && m_firstSampleMs < 0) {
        // The first piece is ready: playback starts while the rest is made.
        m_firstSampleMs = m_clock.elapsed();
        if (m_sink != nullptr) {
            m_sink->start(m_source.get());
        } else {
            m_playStartMs = m_firstSampleMs;
        }
    }
    if (m_sink != nullptr && m_sink->error() != QAudio::NoError &&
        m_sink->error() != QAudio::UnderrunError) {
        // The device failed (unplugged, taken away): the clock plays on from
        // where it was, so that the speech still ends on time.
        const auto rate = static_cast<qint64>(m_synthesizer.sampleRate());
        m_playStartMs = m_clock.elapsed() - static_cast<qint64>(playedSamples()) * 1000 / rate;
        m_sink->stop();
        m_sink->deleteLater();
        m_sink = nullptr;
    }
    std::size_t played = playedSamples();
    if (m_sink == nullptr && played > made && !done) {
        // The clock waits for samples not made yet, as a device would.
        m_playStartMs += static_cast<qint64>((played - made) * 1000 /
                                             static_cast<std::size_t>(m_synthesizer.sampleRate()));
        played = made;
    }
    if (m_sink != nullptr && done && m_sink->state() == QAudio::IdleState &&
        m_source->bytesAvailable() == 0) {
        // The device has played everything (its clock rounds to whole
        // microseconds, so it may count a sample short).
        played = made;
    }
    bool allWords = true;
    for (const speech::WordEvent& event : words) {
        if (event.startSample > played) {
            allWords = false;
            break;
        }
        ++m_nextWord;
        const std::size_t last = m_utf16Offset.size() - 1;
        emit word(m_utf16Offset[std::min(event.textBegin, last)],
                  m_utf16Offset[std::min(event.textEnd, last)]);
        if (m_finished) {
            return;
        }
    }
    const bool drained = m_sink == nullptr || m_sink->state() != QAudio::ActiveState;
    if (done && played >= made && drained && allWords) {
        finish(true);
    }
}

void SpeechPlayback::finish(bool spoken)
{
    m_finished = true;
    m_poll.stop();
    if (m_sink != nullptr) {
        m_sink->stop();
    }
    emit finished(spoken);
}

} // namespace orvo::app
