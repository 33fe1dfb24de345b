#pragma once

// Katakana readings turned into the phones of the English acoustic model:
// each mora becomes its nearest consonant and vowel (カ K AA, シ SH IY,
// ツ T S UW), a small ャュョ palatalises the mora before it, ン assimilates
// to the next consonant, and the geminate ッ and the long-vowel mark ー, which
// the English phones cannot express, are dropped.

#include <string_view>

#include "speech/pronunciationlexicon.h"

namespace orvo::speech {

// Phones for UTF-8 kana `reading` (katakana, or hiragana read as katakana);
// other characters are skipped. Empty when nothing could be pronounced.
Phones kanaToPhones(std::string_view reading);

} // namespace orvo::speech
