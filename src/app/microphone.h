#pragma once

// Where the user's voice comes from while the listening key is held. The
// window reads the default sound input (Qt Multimedia); the environment
// variable VIEWORVO_MICROPHONE_WAV puts a WAV file in its place, so that
// the window can be made to hear on a machine without a microphone (the
// tests do): every recording then "hears" that file, and an empty value
// means that there is no microphone at all.

#include "speech/utterance.h"

#include <memory>

namespace orvo::app {

class Microphone {
public:
    Microphone() = default;
    virtual ~Microphone() = default;
    Microphone(const Microphone&) = delete;
    Microphone& operator=(const Microphone&) = delete;

    // Whether there is an input to record from now (devices come and go).
    virtual bool available() = 0;
    // Starts recording; false when the input could not be opened.
    virtual bool start() = 0;
    // Ends the recording and hands over what was heard since start(): mono
    // 16-bit PCM at the input's rate; empty when nothing was recorded.
    virtual speech::Utterance stop() = 0;
};

// The stand-in file when VIEWORVO_MICROPHONE_WAV is set, else the default
// sound input.
std::unique_ptr<Microphone> createMicrophone();

} // namespace orvo::app
