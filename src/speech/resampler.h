#pragma once

// Sample-rate conversion of mono 16-bit PCM (libsoxr, high quality).

#include <cstdint>
#include <vector>

namespace orvo::speech {

// `samples` at `fromRate` Hz converted to `toRate` Hz; a copy when the rates
// are equal, empty when a rate is not positive.
std::vector<std::int16_t> resample(const std::vector<std::int16_t>& samples, int fromRate,
                                   int toRate);

} // namespace orvo::speech
