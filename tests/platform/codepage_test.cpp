#include "platform/codepage.h"

#include <gtest/gtest.h>

#include "platform/encoding.h"

namespace pf = orvo::platform;

namespace {

// Katakana whose second Shift-JIS byte is an ASCII character that the readers
// search for: ピ 83 73 ("s"), ソ 83 5C ("\"), ボ 83 7B ("{"), マ 83 7D ("}"),
// ポ 83 7C ("|").
const std::string kPi = "\x83\x73";
const std::string kSo = "\x83\x5C";
const std::string kBo = "\x83\x7B";
const std::string kMa = "\x83\x7D";
const std::string kPo = "\x83\x7C";

constexpr auto sjis = pf::CodePage::ShiftJis;
constexpr auto utf8 = pf::CodePage::Utf8;

} // namespace

TEST(ShiftJisSearch, NeverMatchesTheSecondByteOfACharacter)
{
    const std::string text = kPi + kSo + kBo + kMa + kPo;
    EXPECT_EQ(pf::find(text, "s", 0, sjis), pf::npos);
    EXPECT_EQ(pf::find(text, "\\", 0, sjis), pf::npos);
    EXPECT_EQ(pf::find(text, "{", 0, sjis), pf::npos);
    EXPECT_EQ(pf::find(text, "}", 0, sjis), pf::npos);
    EXPECT_EQ(pf::find(text, "|", 0, sjis), pf::npos);
    EXPECT_EQ(pf::rfind(text, "}", sjis), pf::npos);
    EXPECT_EQ(pf::findAnyOf(text, "{}|", 0, sjis), pf::npos);
    // The same bytes read as single bytes do match.
    EXPECT_EQ(pf::find(text, "s", 0, utf8), 1U);
}

TEST(ShiftJisSearch, FindsRealCharactersAfterDoubleByteOnes)
{
    const std::string text = kBo + "{" + kMa + "}" + kPi + "s";
    EXPECT_EQ(pf::find(text, "{", 0, sjis), 2U);
    EXPECT_EQ(pf::find(text, "}", 0, sjis), 5U);
    EXPECT_EQ(pf::find(text, "s", 0, sjis), 8U);
    EXPECT_EQ(pf::rfind(text, "}", sjis), 5U);
    EXPECT_EQ(pf::findAnyOf(text, "}s", 3, sjis), 5U);
    EXPECT_EQ(pf::find(text, kMa + "}", 0, sjis), 3U);
    EXPECT_EQ(pf::rfind(kPi + "s" + kPi + "s", "s", sjis), 5U);
}

TEST(ShiftJisSearch, LeadByteWithoutValidTrailStandsAlone)
{
    // 0x83 followed by "<" is no character pair: "<" is found.
    const std::string text = "\x83<a>";
    EXPECT_EQ(pf::find(text, "<", 0, sjis), 1U);
    EXPECT_EQ(pf::charLength(text, 0, sjis), 1U);
    // A lead byte at the very end is one byte.
    EXPECT_EQ(pf::charLength("a\x83", 1, sjis), 1U);
}

TEST(ShiftJisText, CaseConversionAndRemovalKeepCharactersWhole)
{
    const std::string text = "ab" + kPi + "{c}" + kBo;
    EXPECT_EQ(pf::toUpper(text, sjis), "AB" + kPi + "{C}" + kBo);
    EXPECT_EQ(pf::toLower("AB" + kPi + "S", sjis), "ab" + kPi + "s");
    EXPECT_EQ(pf::removeChars(text, "{}", sjis), "ab" + kPi + "c" + kBo);
    EXPECT_EQ(pf::replaceAll(kSo + "\\x\\", "\\", "/", sjis), kSo + "/x/");
}

TEST(Trim, RemovesSingleByteWhiteSpaceOnly)
{
    const std::string fullWidthSpace = "\x81\x40"; // Shift-JIS ideographic space
    EXPECT_EQ(pf::trim(" \t\r\n\v\fx y\t "), "x y");
    EXPECT_EQ(pf::trim(fullWidthSpace + "x" + fullWidthSpace + " "),
              fullWidthSpace + "x" + fullWidthSpace);
    EXPECT_EQ(pf::trim("\xE3\x80\x80x\xE3\x80\x80"), "\xE3\x80\x80x\xE3\x80\x80");
    EXPECT_EQ(pf::trimLeft("  a  "), "a  ");
    EXPECT_EQ(pf::trimRight("  a  "), "  a");
    EXPECT_EQ(pf::trim("   "), "");
}

TEST(CodePageChoice, EnvironmentThenLocaleThenUtf8)
{
    EXPECT_EQ(pf::chooseCodePage("shift_jis", "UTF-8"), sjis);
    EXPECT_EQ(pf::chooseCodePage("utf-8", "SJIS"), utf8);
    EXPECT_EQ(pf::chooseCodePage(nullptr, "SJIS"), sjis);
    EXPECT_EQ(pf::chooseCodePage("bogus", "CP932"), sjis);
    EXPECT_EQ(pf::chooseCodePage(nullptr, "ANSI_X3.4-1968"), utf8);
    EXPECT_EQ(pf::chooseCodePage(nullptr, nullptr), utf8);
}

TEST(Encoding, FixedTextsReachTheActiveCodePage)
{
    // Half-width katakana are single bytes in Shift-JIS.
    EXPECT_EQ(pf::convertCodePage("ﾌｧｲﾙ", utf8, sjis), "\xCC\xA7\xB2\xD9");
    EXPECT_EQ(pf::convertCodePage("\xCC\xA7\xB2\xD9", sjis, utf8), "ﾌｧｲﾙ");
    EXPECT_EQ(pf::convertCodePage("読み", utf8, sjis), "\x93\xC7\x82\xDD");
    // Bytes that are not text still give valid UTF-8, nothing is dropped whole.
    EXPECT_EQ(pf::convertCodePage("a\xFF"
                                  "b",
                                  utf8, utf8),
              "a?b");
    EXPECT_EQ(pf::convertCodePage("a\xFDz", sjis, utf8), "a?z");
}
