#include "speech/commandpronunciation.h"

#include <set>

#include "speech/japanesereading.h"
#include "speech/kanaphones.h"
#include "speech/language.h"
#include "speech/lettertosound.h"
#include "speech/speechtags.h"

namespace orvo::speech {

namespace {

bool isWordByte(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '\'' || c >= 0x80;
}

// Japanese punctuation and spaces (、。・「」 and the like, U+3000-U+303F, and
// the full-width forms U+FF01-U+FF0F) separate words as ASCII punctuation does.
bool isJapanesePunctuation(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    if (at + 3 > text.size()) {
        return false;
    }
    return (byte(0) == 0xE3 && byte(1) == 0x80) ||
           (byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x81 && byte(2) <= 0x8F);
}

// The kana reading of a Japanese word, as the voice reads it; the word as
// written (kana stays kana) when MeCab is missing.
std::string readingOf(const std::string& word, JapaneseReading& japanese)
{
    SpeechPiece piece;
    piece.spoken = word;
    for (std::size_t i = 0; i < word.size(); ++i) {
        piece.origin.push_back(Span{i, i + 1});
    }
    if (!japanese.ok() || !japanese.read(piece)) {
        return word;
    }
    return piece.spoken;
}

} // namespace

std::vector<std::string> commandWords(const std::string& command)
{
    std::vector<std::string> words;
    std::string word;
    for (std::size_t at = 0; at < command.size();) {
        const auto c = static_cast<unsigned char>(command[at]);
        if (isJapanesePunctuation(command, at)) {
            at += 3;
        } else if (isWordByte(c)) {
            word.push_back(c < 0x80 && c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a')
                                                            : static_cast<char>(c));
            ++at;
            continue;
        } else {
            ++at;
        }
        if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    }
    if (!word.empty()) {
        words.push_back(std::move(word));
    }
    // A run of apostrophes alone is no word.
    std::erase_if(
        words, [](const std::string& w) { return w.find_first_not_of('\'') == std::string::npos; });
    return words;
}

std::vector<SpokenCommand> pronounceCommands(const std::vector<std::string>& commands,
                                             const std::string& dictionaryPath,
                                             JapaneseReading& japanese, bool& dictionaryRead)
{
    std::vector<std::vector<std::string>> split;
    std::set<std::string> wanted;
    for (const std::string& command : commands) {
        split.push_back(commandWords(command));
        wanted.insert(split.back().begin(), split.back().end());
    }
    PronunciationLexicon lexicon;
    dictionaryRead = lexicon.load(dictionaryPath, wanted);

    std::vector<SpokenCommand> spoken(commands.size());
    for (std::size_t i = 0; i < split.size(); ++i) {
        for (const std::string& text : split[i]) {
            SpokenWord word{text, lexicon.lookup(text)};
            if (word.pronunciations.empty()) {
                Phones phones = detectLanguage(text) == Language::Japanese
                                    ? kanaToPhones(readingOf(text, japanese))
                                    : lettersToSound(text);
                if (!phones.empty()) {
                    word.pronunciations.push_back(std::move(phones));
                }
            }
            if (!word.pronunciations.empty()) {
                spoken[i].words.push_back(std::move(word));
            }
        }
    }
    return spoken;
}

} // namespace orvo::speech
