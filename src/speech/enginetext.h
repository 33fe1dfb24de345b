#pragma once

// The text that espeak-ng is given. For a word in some scripts other than
// the voice's own (Greek, Armenian, most Indic scripts, Georgian, Korean),
// the engine (1.51) switches to that language's dictionary in the middle of
// the sentence, and on some characters of those scripts (digits, signs,
// archaic letters, unassigned code points) it then reads memory that the
// switch freed. The character speaks English and Japanese: these scripts
// are left out of its speech rather than risk the fault. A voice of the
// script's own language never switches, and keeps them.

#include <string>
#include <string_view>

namespace orvo::speech {

// Replaces each character of a script that would switch the engine away
// from `voiceLanguage` (an espeak-ng language name such as "en-us", "ja" or
// "ko") with as many spaces as it has bytes, so that every byte offset into
// the text stays where it was. The text is valid UTF-8 (the synthesizer
// cleans it first).
void blankSwitchingScripts(std::string& utf8Text, std::string_view voiceLanguage);

} // namespace orvo::speech
