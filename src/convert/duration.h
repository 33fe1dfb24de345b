#pragma once

// Durations as the markup writes them in "begin" attributes: a number with an
// optional unit letter, "s" (seconds, the default), "m" (minutes) or "h"
// (hours). The unit letters are taken out wherever they stand, so "500ms"
// reads as 500 minutes and "1.5s" as 1 second.

#include <cstdint>
#include <string_view>

namespace orvo::convert {

// Milliseconds, or -1 when the number is 0 or missing. Kept in 64 bits: an
// hour count near the 32-bit limit would otherwise overflow.
std::int64_t parseDuration(std::string_view text);

} // namespace orvo::convert
