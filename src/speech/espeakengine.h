#pragma once

// The one espeak-ng engine of the process. espeak-ng keeps its state in
// globals, so it is started once, in synchronous mode (audio comes back
// through the synth callback, never to a device), and every use holds its
// lock.

#include <mutex>
#include <string>

namespace orvo::speech {

struct EspeakEngine {
    std::mutex mutex;
    int sampleRate = 0; // 0 when the engine did not start
    std::string error;
};

// Starts the engine on first use.
EspeakEngine& espeakEngine();

} // namespace orvo::speech
