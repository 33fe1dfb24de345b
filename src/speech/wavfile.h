#pragma once

// Speech as a WAV file: RIFF, PCM, 16-bit mono, little-endian.

#include <cstdint>
#include <span>
#include <string>

namespace orvo::speech {

// The file's bytes for these samples.
std::string wavBytes(std::span<const std::int16_t> samples, int sampleRate);

// Writes the file; false, with `error` set, when it cannot be written.
bool writeWavFile(const std::string& path, std::span<const std::int16_t> samples, int sampleRate,
                  std::string& error);

} // namespace orvo::speech
