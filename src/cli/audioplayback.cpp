#include "cli/audioplayback.h"

#include <pulse/error.h>
#include <pulse/simple.h>

namespace orvo::cli {

struct AudioPlayback::Impl {
    pa_simple* stream = nullptr;
};

AudioPlayback::AudioPlayback() : impl_(std::make_unique<Impl>())
{
}

AudioPlayback::~AudioPlayback()
{
    if (impl_->stream != nullptr) {
        pa_simple_free(impl_->stream);
    }
}

bool AudioPlayback::open(int sampleRate, std::string& error)
{
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16LE;
    spec.rate = static_cast<std::uint32_t>(sampleRate);
    spec.channels = 1;
    int code = 0;
    impl_->stream = pa_simple_new(nullptr, "orvo", PA_STREAM_PLAYBACK, nullptr, "speech", &spec,
                                  nullptr, nullptr, &code);
    if (impl_->stream == nullptr) {
        error = std::string("there is no sound device to play on (") + pa_strerror(code) +
                "); write the speech to a file with --output FILE.wav";
        return false;
    }
    return true;
}

bool AudioPlayback::write(std::span<const std::int16_t> samples, std::string& error)
{
    if (samples.empty()) {
        return true;
    }
    int code = 0;
    if (pa_simple_write(impl_->stream, samples.data(), samples.size_bytes(), &code) < 0) {
        error = std::string("playing failed: ") + pa_strerror(code);
        return false;
    }
    return true;
}

bool AudioPlayback::drain(std::string& error)
{
    int code = 0;
    if (pa_simple_drain(impl_->stream, &code) < 0) {
        error = std::string("playing failed: ") + pa_strerror(code);
        return false;
    }
    return true;
}

} // namespace orvo::cli
