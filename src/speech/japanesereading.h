#pragma once

// The spoken reading of Japanese text in katakana, through MeCab and its
// dictionary's pronunciation field (so that the particle は reads ワ and a
// long vowel is written ー). Kana that MeCab does not know is kept as it is
// written, hiragana turned into katakana.

#include <memory>
#include <string>
#include <string_view>

namespace orvo::speech {

class JapaneseReading {
public:
    JapaneseReading();
    ~JapaneseReading();
    JapaneseReading(const JapaneseReading&) = delete;
    JapaneseReading& operator=(const JapaneseReading&) = delete;

    // False when MeCab or its dictionary is missing; read() then only turns
    // hiragana into katakana.
    bool available() const;

    // The katakana reading of UTF-8 `text`.
    std::string read(std::string_view text);

private:
    struct Tagger;
    std::unique_ptr<Tagger> m_tagger;
};

// Whether UTF-8 `text` holds kana or kanji.
bool hasJapanese(std::string_view text);

// Hiragana in UTF-8 `text` replaced by the matching katakana.
std::string toKatakana(std::string_view text);

} // namespace orvo::speech
