#pragma once

// Speech synthesis on espeak-ng: UTF-8 text in, 16-bit mono PCM and one word
// event per word out. The audio always goes into memory (a buffer or a
// sink), never to a sound device, so every part of it can be tested without
// one. The text may carry the agent's speech tags (\Pau=N\, \Spd=N\, ...;
// see speechtags.h); Japanese text is read through its pronunciation, so that
// kanji are spoken as words while the word events still point into the
// original text.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "speech/language.h"

namespace orvo::speech {

struct WordEvent {
    // Byte range of the word in the text given to synthesize().
    std::size_t textBegin = 0;
    std::size_t textEnd = 0;
    // Samples of the word in the whole speech: from its first sample up to
    // the next word of the same stretch of speech (or the stretch's end).
    std::size_t startSample = 0;
    std::size_t endSample = 0;
};

struct SpeakOptions {
    // Automatic: Japanese when the text holds kana or kanji, else English.
    Language language = Language::Automatic;
    // An espeak-ng voice name or identifier ("en-us", "gmw/en-GB-x-rp");
    // empty: the language's default voice.
    std::string voice;
};

struct Speech {
    int sampleRate = 0;
    std::vector<std::int16_t> samples; // 16-bit mono PCM
    std::vector<WordEvent> words;      // in text order

    double seconds() const;
};

// Receives speech as it is made: a run of samples and the word events that
// became complete (their end is known) since the last call. Returning false
// stops the synthesis at once.
using SpeechSink =
    std::function<bool(std::span<const std::int16_t> samples, std::span<const WordEvent> words)>;

class Synthesizer {
public:
    // Starts espeak-ng (once per process) and MeCab (on the first Japanese
    // text). When espeak-ng or its data is missing, ok() is false and
    // error() says why.
    Synthesizer();
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    bool ok() const;
    // Why the last call failed (or why the engine did not start).
    const std::string& error() const;
    // Samples per second of everything this synthesizer makes.
    int sampleRate() const;

    // The whole speech into `speech`. False, with error(), when the voice is
    // unknown or the engine failed.
    bool synthesize(std::string_view utf8Text, const SpeakOptions& options, Speech& speech);
    // The speech piece by piece into `sink`, each piece as soon as it is
    // made; a sink that returns false ends it early (not a failure).
    bool synthesize(std::string_view utf8Text, const SpeakOptions& options, const SpeechSink& sink);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace orvo::speech
