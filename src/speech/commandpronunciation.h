#pragma once

// How each voice command may be said: its words, and for every word the
// pronunciations that the recognizer listens for. English words come from
// the model's dictionary, else from their spelling; Japanese words (kana or
// kanji) from their MeCab reading mapped onto the English phones.

#include <string>
#include <vector>

#include "speech/pronunciationlexicon.h"

namespace orvo::speech {

class JapaneseReading;

struct SpokenWord {
    std::string text;                   // the word as written in the command
    std::vector<Phones> pronunciations; // never empty
};

struct SpokenCommand {
    std::vector<SpokenWord> words; // empty when nothing of the command can be said
};

// The words of UTF-8 `command`: runs of letters, digits and apostrophes, ASCII
// letters lower-cased; a run with kana or kanji is one word.
std::vector<std::string> commandWords(const std::string& command);

// Pronunciations for every command in order, from the dictionary at
// `dictionaryPath` (read once for all commands) and the fallbacks above.
// `dictionaryRead` is false when that file could not be read; every word
// then has a pronunciation from its spelling.
std::vector<SpokenCommand> pronounceCommands(const std::vector<std::string>& commands,
                                             const std::string& dictionaryPath,
                                             JapaneseReading& japanese, bool& dictionaryRead);

} // namespace orvo::speech
