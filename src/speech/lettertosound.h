#pragma once

// English pronunciations made from spelling, for words that the model's
// dictionary lacks (names, coined words). Rules of thumb over letter groups:
// good enough for a word to be told apart from a few other commands, not a
// dictionary.

#include <string_view>

#include "speech/pronunciationlexicon.h"

namespace orvo::speech {

// Phones of the acoustic model for `word` (ASCII letters and digits; other
// bytes are skipped). Empty when nothing in it can be pronounced.
Phones lettersToSound(std::string_view word);

} // namespace orvo::speech
