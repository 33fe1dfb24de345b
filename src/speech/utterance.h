#pragma once

// A recorded utterance: 16-bit mono PCM at its own sample rate.

#include <cstdint>
#include <vector>

namespace orvo::speech {

struct Utterance {
    std::vector<std::int16_t> samples;
    int sampleRate = 16000;
};

} // namespace orvo::speech
