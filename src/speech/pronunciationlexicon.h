#pragma once

// The pronunciations of a few words, taken from the acoustic model's
// dictionary (CMUdict format: "word PH ON ES", alternatives as "word(2) ...").
// Only the words asked for are kept, so the 130 000-word file is streamed
// once and never held in memory.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::speech {

using Phones = std::vector<std::string>;

// Appends the blank-separated phones of `text` ("HH AH L OW") to `phones`.
void appendPhones(Phones& phones, std::string_view text);

class PronunciationLexicon {
public:
    // Reads the pronunciations of `words` (lower case) from `dictionaryPath`.
    // False when the file cannot be read.
    bool load(const std::string& dictionaryPath, const std::set<std::string>& words);

    // Every pronunciation of `word`, first the main one; empty when unknown.
    const std::vector<Phones>& lookup(const std::string& word) const;

private:
    std::map<std::string, std::vector<Phones>> m_entries;
};

} // namespace orvo::speech
