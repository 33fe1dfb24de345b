#include "speech/speechtags.h"

#include <gtest/gtest.h>

namespace orvo::speech {
namespace {

std::string originText(std::string_view text, const SpeechPiece& piece, std::size_t byte)
{
    const Span span = piece.origin.at(byte);
    return std::string(text.substr(span.begin, span.end - span.begin));
}

TEST(SpeechTags, SettingsSplitPiecesAndTagsWithoutEffectDoNot)
{
    const std::string text =
        R"(Hello \Mrk=1\\Foo\there \Spd=400\fast \Pau=99999999\\Rst\ back \\ x)";
    const auto pieces = parseSpeechTags(text);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].spoken, "Hello there ");
    EXPECT_EQ(pieces[1].spoken, "fast ");
    EXPECT_EQ(pieces[1].voice.wordsPerMinute, kMaxWordsPerMinute);
    ASSERT_EQ(pieces[1].pauses.size(), 1u);
    EXPECT_EQ(pieces[1].pauses[0].offset, 5u);
    EXPECT_EQ(pieces[1].pauses[0].ms, kMaxPauseMs);
    EXPECT_EQ(pieces[2].spoken, " back \\ x");
    EXPECT_EQ(pieces[2].voice, VoiceSettings{});
    // Every spoken byte points at the byte it came from, across the skipped tags.
    EXPECT_EQ(originText(text, pieces[0], 6), "t");
    EXPECT_EQ(originText(text, pieces[2], 6), "\\\\");
}

TEST(SpeechTags, EmphasisTakesTheNextWordAndMapSpeaksForTheShownText)
{
    const std::string text = R"(a \Emp\  big \Chr="Whisper"\\Map="Orvo ""one"""="Orvi"\ end)";
    const auto pieces = parseSpeechTags(text);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].spoken, "a   ");
    EXPECT_EQ(pieces[1].spoken, "big ");
    EXPECT_TRUE(pieces[1].voice.emphasis);
    EXPECT_EQ(pieces[2].spoken, "Orvo \"one\" end");
    EXPECT_EQ(pieces[2].voice.style, VoiceStyle::Whisper);
    EXPECT_FALSE(pieces[2].voice.emphasis);
    EXPECT_EQ(originText(text, pieces[2], 2), "Orvi");
    EXPECT_EQ(originText(text, pieces[2], 11), "e");
    // Stressed words one after another are one piece.
    const auto stressed = parseSpeechTags(R"(This \Emp\is \Emp\big \Emp\news!)");
    ASSERT_EQ(stressed.size(), 2u);
    EXPECT_EQ(stressed[1].spoken, "is big news!");
}

TEST(SpeechTags, MalformedTagsAreSkipped)
{
    const auto pieces = parseSpeechTags(R"(one \Pau=x\\Spd\\Map="a"\\Chr="Loud"\ two \Pit=9)");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].spoken, "one  two ");
    EXPECT_EQ(pieces[0].voice, VoiceSettings{});
}

} // namespace
} // namespace orvo::speech
