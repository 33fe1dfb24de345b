#pragma once

// A hash for the short texts that the parser and the checker look up by the
// thousand (ids, tag names, file names): FNV-1a, inline, since a call to a
// general hash costs more than a few bytes do. Like any such hash, texts made
// to collide slow a table down; they cannot change its answers.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvo::platform {

inline std::size_t shortTextHash(std::string_view text)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    // Tables take the low bits: fold the high ones into them.
    return static_cast<std::size_t>(hash ^ (hash >> 32U));
}

} // namespace orvo::platform
