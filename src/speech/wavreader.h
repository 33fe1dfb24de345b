#pragma once

// Reads a RIFF WAVE file into a mono 16-bit utterance: integer PCM of 8, 16,
// 24 or 32 bits and 32-bit float, any rate, any number of channels (mixed
// down to one).

#include <string>

#include "speech/utterance.h"

namespace orvo::speech {

// False with a one-line reason in `error` when the file cannot be read or is
// not a WAVE file of a kind listed above.
bool readWavFile(const std::string& path, Utterance& utterance, std::string& error);

// The same on the bytes of a whole file.
bool parseWav(const std::string& bytes, Utterance& utterance, std::string& error);

} // namespace orvo::speech
