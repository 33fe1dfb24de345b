#include "speech/synthesizer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/encoding.h"
#include "speech/speechinput.h"
#include "speech/voicelist.h"
#include "speech/wavfile.h"

namespace orvo::speech {
namespace {

class SynthesizerTest : public ::testing::Test {
protected:
    Speech say(std::string_view text, SpeakOptions options = {})
    {
        Speech speech;
        EXPECT_TRUE(synth.synthesize(text, options, speech)) << synth.error();
        return speech;
    }

    static std::vector<std::string> wordTexts(std::string_view text, const Speech& speech)
    {
        std::vector<std::string> words;
        for (const WordEvent& word : speech.words) {
            words.emplace_back(text.substr(word.textBegin, word.textEnd - word.textBegin));
        }
        return words;
    }

    Synthesizer synth;
};

TEST_F(SynthesizerTest, EnglishWordsArriveInOrderAndCoverEveryWord)
{
    ASSERT_TRUE(synth.ok()) << synth.error();
    const std::string text = "The quick brown fox jumps over the lazy dog.";
    const Speech speech = say(text);
    EXPECT_EQ(speech.sampleRate, synth.sampleRate());
    EXPECT_GT(speech.seconds(), 1.0);
    EXPECT_LT(speech.seconds(), 5.0);
    const std::vector<std::string> expected = {"The",  "quick", "brown", "fox", "jumps",
                                               "over", "the",   "lazy",  "dog"};
    EXPECT_EQ(wordTexts(text, speech), expected);
    for (std::size_t i = 1; i < speech.words.size(); ++i) {
        EXPECT_GT(speech.words[i].startSample, speech.words[i - 1].startSample);
        EXPECT_EQ(speech.words[i - 1].endSample, speech.words[i].startSample);
    }
    EXPECT_LE(speech.words.back().endSample, speech.samples.size());
    // Broken UTF-8 is read with "?" in its place; the events keep the caller's offsets.
    const std::string broken = "Hello \xff\xc3 world \xe3\x81";
    EXPECT_EQ(wordTexts(broken, say(broken)).back(), "world");
}

TEST_F(SynthesizerTest, TagsChangeTheSpeechAsTheySay)
{
    const double plain = say("Good morning. How are you today?").seconds();
    const double paused = say(R"(Good morning. \Pau=500\ How are you today?)").seconds();
    EXPECT_NEAR(paused - plain, 0.5, 0.05);
    EXPECT_GT(say(R"(\Spd=80\Good morning. How are you today?)").seconds(), plain * 1.3);
    EXPECT_LT(say(R"(\Spd=250\Good morning. How are you today?)").seconds(), plain * 0.8);
    // Tags without an effect on the voice leave it as it was (espeak-ng
    // varies its speech a little from one run to the next).
    const Speech skipped = say(R"(Good \Mrk=3\morning. \Bogus=1\How are you today?)");
    EXPECT_NEAR(skipped.seconds(), plain, 0.05);
    EXPECT_EQ(skipped.words.size(), 6u);
    const Speech quiet = say(R"(\Vol=6553\Good morning.)");
    const Speech loud = say("Good morning.");
    const auto peak = [](const Speech& s) {
        int most = 0;
        for (const std::int16_t v : s.samples) {
            most = std::max(most, std::abs(static_cast<int>(v)));
        }
        return most;
    };
    EXPECT_LT(peak(quiet) * 3, peak(loud));
    // The voice says the first half of a mapping; its word events point at the second.
    const std::string mapped = R"(Hello \Map="W W W"="Web"\ world)";
    const Speech map = say(mapped);
    EXPECT_EQ(wordTexts(mapped, map), (std::vector<std::string>{"Hello", "Web", "world"}));
}

TEST_F(SynthesizerTest, JapaneseIsReadThroughItsPronunciationOnTheKanjiText)
{
    const std::string text = "今日は良い天気です";
    const Speech speech = say(text);
    EXPECT_GT(speech.seconds(), 1.0);
    EXPECT_LT(speech.seconds(), 3.5);
    const auto words = wordTexts(text, speech);
    ASSERT_FALSE(words.empty());
    EXPECT_EQ(words.front(), "今日");
    std::string joined;
    for (const auto& word : words) {
        joined += word;
    }
    EXPECT_EQ(joined, text);
    // The same sentence in Shift-JIS reads the same once converted.
    const std::string sjis =
        platform::convertCodePage(text, platform::CodePage::Utf8, platform::CodePage::ShiftJis);
    EXPECT_EQ(speechTextAsUtf8(sjis, platform::CodePage::ShiftJis), text);
}

TEST_F(SynthesizerTest, LanguageAndVoiceChoices)
{
    EXPECT_EQ(detectLanguage("Hello"), Language::English);
    EXPECT_EQ(detectLanguage("Orvi です"), Language::Japanese);
    SpeakOptions options;
    options.voice = "no-such-voice";
    Speech speech;
    EXPECT_FALSE(synth.synthesize("Hello", options, speech));
    EXPECT_NE(synth.error().find("no-such-voice"), std::string::npos);
    const auto voices = installedVoices();
    const auto has = [&](const std::string& language) {
        return std::any_of(voices.begin(), voices.end(),
                           [&](const VoiceInfo& v) { return v.language == language; });
    };
    EXPECT_TRUE(has("en-us"));
    EXPECT_TRUE(has("ja"));

    // Scripts that would switch the engine to another dictionary are left
    // out (it read freed memory on these texts); the words around them keep
    // their offsets. A voice of the script's own language still speaks it.
    const std::string jamo = "Hello \u11c4 there";
    EXPECT_EQ(wordTexts(jamo, say(jamo)), (std::vector<std::string>{"Hello", "there"}));
    EXPECT_FALSE(say("4567890000\u058c0 now").samples.empty());
    EXPECT_FALSE(say("テスト\u0bef\u0d66です", {Language::Japanese, {}}).samples.empty());
    options.voice = "ko";
    EXPECT_GT(say("\uc548\ub155\ud558\uc138\uc694", options).seconds(), 0.3);
}

TEST_F(SynthesizerTest, SinkGetsPiecesAndCanStop)
{
    std::size_t calls = 0;
    std::size_t samples = 0;
    const bool good =
        synth.synthesize("One two three four five six seven eight nine ten.", {},
                         [&](std::span<const std::int16_t> run, std::span<const WordEvent>) {
                             ++calls;
                             samples += run.size();
                             return samples < 4000;
                         });
    EXPECT_TRUE(good);
    EXPECT_GE(calls, 2u);
    EXPECT_LT(samples, 4000u + static_cast<std::size_t>(synth.sampleRate()) / 5);
}

TEST(WavFile, HeaderDescribesSixteenBitMono)
{
    const std::int16_t samples[] = {0, 1, -1};
    const std::string bytes = wavBytes(samples, 22050);
    ASSERT_EQ(bytes.size(), 44u + 6u);
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(static_cast<unsigned char>(bytes[24]) | (static_cast<unsigned char>(bytes[25]) << 8),
              22050 & 0xFFFF);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(bytes.substr(46, 4), std::string("\x01\x00\xff\xff", 4));
}

} // namespace
} // namespace orvo::speech
