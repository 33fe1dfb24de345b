#pragma once

// Japanese text as its spoken reading. espeak-ng's Japanese voice reads
// kana but not kanji (it spells each as "Chinese letter"), so the text is
// first cut into words by MeCab and every word replaced by the pronunciation
// field of the IPA dictionary: katakana as it is said, so that the particle
// は comes out as "ワ". Each byte of the reading keeps the origin span of the
// word it reads, so word events still point at the kanji.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "speech/speechtags.h"

namespace orvo::speech {

class JapaneseReading {
public:
    // Starts MeCab with the system's dictionary; ok() says whether it did.
    JapaneseReading();
    ~JapaneseReading();
    JapaneseReading(const JapaneseReading&) = delete;
    JapaneseReading& operator=(const JapaneseReading&) = delete;

    bool ok() const;
    const std::string& error() const;

    // Replaces piece.spoken by its reading, words separated by spaces, and
    // piece.origin by the spans of the words read.
    bool read(SpeechPiece& piece);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace orvo::speech
