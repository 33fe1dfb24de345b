#include "speech/espeakengine.h"

#include <espeak-ng/speak_lib.h>

namespace orvo::speech {

namespace {

// Audio comes back to the callback in runs of this many ms: short enough
// that playback can start on the first run while the rest is made.
constexpr int kBufferMs = 50;

} // namespace

EspeakEngine& espeakEngine()
{
    static EspeakEngine* engine = [] {
        auto* created = new EspeakEngine; // lives as long as espeak-ng's own globals
        // DONT_EXIT: a missing data folder is reported, not a reason to exit.
        const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kBufferMs, nullptr,
                                           espeakINITIALIZE_DONT_EXIT);
        if (rate <= 0) {
            created->error = "espeak-ng cannot start (install espeak-ng-data)";
        } else {
            created->sampleRate = rate;
        }
        return created;
    }();
    return *engine;
}

} // namespace orvo::speech
