#pragma once

// Plays speech on the default sound device for `orvo speak`, through the
// PulseAudio client library (which PipeWire also serves), so that the tool
// needs no GUI toolkit.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace orvo::cli {

class AudioPlayback {
public:
    AudioPlayback();
    ~AudioPlayback();
    AudioPlayback(const AudioPlayback&) = delete;
    AudioPlayback& operator=(const AudioPlayback&) = delete;

    // Connects to the default device for 16-bit mono at `sampleRate`; false,
    // with `error`, when there is none.
    bool open(int sampleRate, std::string& error);
    // Queues samples; blocks while the device's buffer is full.
    bool write(std::span<const std::int16_t> samples, std::string& error);
    // Waits until everything queued has been heard.
    bool drain(std::string& error);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace orvo::cli
