#pragma once

// The default sound input, read through QAudioSource: 16 kHz mono 16-bit
// PCM where the device offers it (what the recognizer works in), else the
// device's own format, mixed down to mono 16-bit afterwards (the recognizer
// resamples any rate).

#include "app/microphone.h"

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>

#include <memory>

class QAudioSource;

namespace orvo::app {

class AudioSourceMicrophone final : public Microphone {
public:
    AudioSourceMicrophone();
    ~AudioSourceMicrophone() override;

    bool available() override;
    bool start() override;
    speech::Utterance stop() override;

private:
    std::unique_ptr<QAudioSource> m_source;
    QAudioFormat m_format;
    QByteArray m_recorded;
    QBuffer m_buffer;
};

// Interleaved frames of `format` as mono 16-bit samples (the channels
// averaged); formats other than unsigned 8-bit, 16-bit, 32-bit and float
// samples give nothing.
speech::Utterance monoUtterance(const QByteArray& bytes, const QAudioFormat& format);

} // namespace orvo::app
