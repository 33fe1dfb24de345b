#include "app/audiosourcemicrophone.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orvo::app {

namespace {

// What the recognizer's acoustic model was trained on.
constexpr int kModelRate = 16000;

// One sample at `data` in `format`, scaled to -1..1.
double sampleAt(const char* data, QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::UInt8:
        return (static_cast<unsigned char>(*data) - 128) / 128.0;
    case QAudioFormat::Int16: {
        std::int16_t value = 0;
        std::memcpy(&value, data, sizeof value);
        return value / 32768.0;
    }
    case QAudioFormat::Int32: {
        std::int32_t value = 0;
        std::memcpy(&value, data, sizeof value);
        return value / 2147483648.0;
    }
    case QAudioFormat::Float: {
        float value = 0;
        std::memcpy(&value, data, sizeof value);
        return value;
    }
    default:
        return 0;
    }
}

} // namespace

speech::Utterance monoUtterance(const QByteArray& bytes, const QAudioFormat& format)
{
    speech::Utterance utterance;
    utterance.sampleRate = format.sampleRate();
    const qsizetype channels = format.channelCount();
    const qsizetype sampleBytes = format.bytesPerSample();
    const int frameBytes = format.bytesPerFrame();
    if (channels <= 0 || sampleBytes <= 0 || frameBytes <= 0 ||
        format.sampleFormat() == QAudioFormat::Unknown) {
        return utterance;
    }
    const qsizetype frames = bytes.size() / frameBytes;
    utterance.samples.reserve(static_cast<std::size_t>(frames));
    for (qsizetype frame = 0; frame < frames; ++frame) {
        const char* first = bytes.constData() + frame * frameBytes;
        double sum = 0;
        for (qsizetype channel = 0; channel < channels; ++channel) {
            sum += sampleAt(first + channel * sampleBytes, format.sampleFormat());
        }
        const double mono = std::clamp(sum / static_cast<double>(channels), -1.0, 1.0);
        utterance.samples.push_back(static_cast<std::int16_t>(std::lround(mono * 32767.0)));
    }
    return utterance;
}

AudioSourceMicrophone::AudioSourceMicrophone() : m_buffer(&m_recorded)
{
}

AudioSourceMicrophone::~AudioSourceMicrophone()
{
    if (m_source != nullptr) {
        m_source->stop();
    }
}

bool AudioSourceMicrophone::available()
{
    return !QMediaDevices::defaultAudioInput().isNull();
}

bool AudioSourceMicrophone::start()
{
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull()) {
        return false;
    }
    QAudioFormat wanted;
    wanted.setSampleRate(kModelRate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Int16);
    m_format = device.isFormatSupported(wanted) ? wanted : device.preferredFormat();
    m_source = std::make_unique<QAudioSource>(device, m_format);
    m_recorded.clear();
    m_buffer.open(QIODevice::WriteOnly | QIODevice::Truncate);
    m_source->start(&m_buffer);
    if (m_source->error() != QAudio::NoError) {
        m_source.reset();
        m_buffer.close();
        return false;
    }
    return true;
}

speech::Utterance AudioSourceMicrophone::stop()
{
    if (m_source == nullptr) {
        return {};
    }
    m_source->stop();
    m_source.reset();
    m_buffer.close();
    speech::Utterance utterance = monoUtterance(m_recorded, m_format);
    m_recorded.clear();
    return utterance;
}

} // namespace orvo::app
