#pragma once

// Walking UTF-8 text one character at a time. espeak-ng counts positions in
// characters, the word events in bytes; these helpers translate.

#include <cstddef>
#include <string_view>
#include <vector>

namespace orvo::speech {

struct Utf8Char {
    char32_t codePoint = 0;
    std::size_t length = 1; // bytes; 1 for a byte that starts no valid character
};

// The character that starts at text[pos] (pos < text.size()). An invalid
// byte is a character of its own with code point U+FFFD.
Utf8Char decodeUtf8(std::string_view text, std::size_t pos);

// Byte offset of every character, plus text.size() at the end.
std::vector<std::size_t> characterOffsets(std::string_view text);

} // namespace orvo::speech
