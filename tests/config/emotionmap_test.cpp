#include "config/emotionmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/messages.h"
#include "support/tempdir.h"

using orvo::config::CharacterEmotions;
using orvo::config::EmotionEntry;
using orvo::config::EmotionMap;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;
using Strings = std::vector<std::string>;

namespace {

struct Loaded {
    TempDir dir;
    EmotionMap map;
    RecordingMessages messages;
    bool ok = false;
    explicit Loaded(const std::string& file)
    {
        map.setFileName(dir.write("emotions.txt", file));
        ok = map.load(messages);
    }
    const EmotionEntry* entry(const std::string& character, const std::string& emotion) const
    {
        const CharacterEmotions* c = map.lookup(character);
        return c == nullptr ? nullptr : c->lookup(emotion);
    }
};

} // namespace

TEST(EmotionMapLoad, EmotionLinesWithSixFields)
{
    Loaded m("# our character\r\n"
             "character = Robby \n"
             "happy:{Pleased, Wave}{\\Spd=120\\ }{RestPose}{ GestureLeft }{ 500 }{Blink,}\n"
             " sad : {Sad}{&\\Pit=80\\}{}{}{}{}\n"
             "odd:{a,,b}{x}{ , }\n");
    ASSERT_TRUE(m.ok);
    EXPECT_TRUE(m.messages.entries().empty());
    const EmotionEntry* happy = m.entry("Robby", "happy");
    ASSERT_NE(happy, nullptr);
    EXPECT_EQ(happy->speakBefore(), (Strings{"Pleased", "Wave"}));
    EXPECT_EQ(happy->speechPrefix(), "\\Spd=120\\ ");
    EXPECT_EQ(happy->speakAfter(), (Strings{"RestPose"}));
    EXPECT_EQ(happy->moveBefore(), (Strings{"GestureLeft"}));
    EXPECT_EQ(happy->moveSpeed(), " 500 ");
    EXPECT_EQ(happy->moveAfter(), (Strings{"Blink"}));

    const EmotionEntry* sad = m.entry("Robby", "sad");
    ASSERT_NE(sad, nullptr);
    EXPECT_EQ(sad->speechPrefix(), "&\\Pit=80\\");
    EXPECT_TRUE(sad->speakAfter().empty());

    const EmotionEntry* odd = m.entry("Robby", "odd");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(odd->speakBefore(), (Strings{"a", "", "b"}));
    // ", " holds one empty item: the comma ends it, the blank after gives none.
    EXPECT_EQ(odd->speakAfter(), (Strings{""}));
    EXPECT_TRUE(odd->moveSpeed().empty());
}

TEST(EmotionMapLoad, MissingBraceEmptiesTheRest)
{
    Loaded m("character=A\n"
             "cut:{One}{pre}{Two{Three}{x}\n"
             "late:{One}pre}{Two}\n"
             "open:{One}pre}\n");
    ASSERT_TRUE(m.ok);
    const EmotionEntry* cut = m.entry("A", "cut");
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->speakBefore(), (Strings{"One"}));
    EXPECT_EQ(cut->speechPrefix(), "pre");
    // "{Two{Three}": the text between the first "{" and the first "}".
    EXPECT_EQ(cut->speakAfter(), (Strings{"Two{Three"}));
    EXPECT_EQ(cut->moveBefore(), (Strings{"x"}));
    EXPECT_TRUE(cut->moveAfter().empty());

    // A "}" before the next "{" gives an empty field and is taken off.
    const EmotionEntry* late = m.entry("A", "late");
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->speechPrefix(), "");
    EXPECT_EQ(late->speakAfter(), (Strings{"Two"}));
    // No "{" at all: the field runs from the start up to the "}".
    const EmotionEntry* open = m.entry("A", "open");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->speechPrefix(), "pre");

    Loaded missing("character=A\nnone:{One}{pre\n");
    const EmotionEntry* none = missing.entry("A", "none");
    ASSERT_NE(none, nullptr);
    EXPECT_EQ(none->speakBefore(), (Strings{"One"}));
    EXPECT_EQ(none->speechPrefix(), "");
}

TEST(EmotionMapLoad, CharacterLinesAndSections)
{
    Loaded m("early:{Skip}{}{}{}{}{}\n"
             "characterBob\n"
             "x:{1}{}{}{}{}{}\n"
             " character=NotACharacter:{2}{}{}{}{}{}\n"
             "charactery:{3}{}{}{}{}{}\n"
             "character=Ann\n"
             "\n"
             "a:{old}{}{}{}{}{}\n"
             "a:{new}{}{}{}{}{}\n"
             "character=Ann\n"
             "b:{b}{}{}{}{}{}\n");
    ASSERT_TRUE(m.ok);
    // "characterBob" has no "=": the whole trimmed line names the character.
    ASSERT_NE(m.map.lookup("characterBob"), nullptr);
    EXPECT_NE(m.entry("characterBob", "x"), nullptr);
    // An emotion line beginning with a blank is no character line.
    ASSERT_NE(m.entry("characterBob", "character=NotACharacter"), nullptr);
    // A line beginning with "character" always is one.
    EXPECT_NE(m.map.lookup("charactery:{3}{}{}{}{}{}"), nullptr);
    // The second section of Ann replaced the first.
    ASSERT_NE(m.map.lookup("Ann"), nullptr);
    EXPECT_EQ(m.entry("Ann", "a"), nullptr);
    EXPECT_EQ(m.entry("Ann", ""), nullptr);
    EXPECT_NE(m.entry("Ann", "b"), nullptr);
    EXPECT_EQ(m.map.lookup("ann"), nullptr);

    Loaded twice("character=Ann\n\na:{old}{}{}{}{}{}\na:{new}{}{}{}{}{}\n");
    ASSERT_NE(twice.entry("Ann", "a"), nullptr);
    EXPECT_EQ(twice.entry("Ann", "a")->speakBefore(), (Strings{"new"}));
    // A blank line is an emotion with an empty name and six empty fields.
    const EmotionEntry* blank = twice.entry("Ann", "");
    ASSERT_NE(blank, nullptr);
    EXPECT_TRUE(blank->speakBefore().empty());
    EXPECT_TRUE(blank->speechPrefix().empty());
}

TEST(EmotionMapNextItem, TakesTrimmedItemsOffTheFront)
{
    std::string text = "  a , b,,c ,";
    std::string item;
    Strings items;
    while (EmotionMap::nextItem(text, ",", item)) {
        items.push_back(item);
    }
    EXPECT_EQ(items, (Strings{"a", "b", "", "c"}));
    std::string blank = "   ";
    EXPECT_FALSE(EmotionMap::nextItem(blank, ",", item));
}

// Each item taken off the front of a list field copied the whole rest of the
// field, so a field of n items took n^2 time (a 400 KB line fed to
// fuzz_emotionmap ran for a minute). A 12 MB field must load in linear time;
// the test's time limit in CTest is the bound.
TEST(EmotionMapLoad, AListOfFourMillionItemsIsSplitInLinearTime)
{
    constexpr std::size_t kItems = 4'000'000;
    std::string line = "many:{";
    for (std::size_t i = 0; i < kItems; ++i) {
        line += i % 2 == 0 ? "a," : " b ,";
    }
    line += "}{}{}{}{}{z}\n";
    Loaded m("character=Ann\n" + line);
    ASSERT_TRUE(m.ok);
    const EmotionEntry* many = m.entry("Ann", "many");
    ASSERT_NE(many, nullptr);
    ASSERT_EQ(many->speakBefore().size(), kItems);
    EXPECT_EQ(many->speakBefore().front(), "a");
    EXPECT_EQ(many->speakBefore()[1], "b");
    EXPECT_EQ(many->speakBefore().back(), "b");
    EXPECT_EQ(many->moveAfter(), (Strings{"z"}));
}

TEST(EmotionMapFiles, ReadAndWriteErrorsAndTheEcho)
{
    Loaded m("character=Robby\nhappy:{Pleased, Wave}{&x }{A,B}{}{ 9 }{C}\n");
    ASSERT_TRUE(m.ok);
    ASSERT_TRUE(m.map.writeEcho(m.dir.file("echo.txt"), m.messages));
    // List items run together in the echo; strings are written as they stand.
    EXPECT_EQ(m.dir.read("echo.txt"),
              "character=Robby\r\nhappy:{PleasedWave}{&x }{AB}{}{ 9 }{C}\r\n");

    const std::string echoPath = m.dir.file("no/such/echo.txt");
    EXPECT_FALSE(m.map.writeEcho(echoPath, m.messages));
    ASSERT_EQ(m.messages.count(), 1U);
    EXPECT_EQ(m.messages.entries()[0].text, "ﾌｧｲﾙ" + echoPath + "がｵｰﾌﾟﾝできない");
    EXPECT_EQ(m.messages.entries()[0].caption, "書き込みｴﾗｰ");
    EXPECT_NE(m.map.lookup("Robby"), nullptr);

    EmotionMap failing;
    RecordingMessages messages;
    failing.setFileName(m.dir.path());
    EXPECT_FALSE(failing.load(messages));
    ASSERT_EQ(messages.count(), 1U);
    EXPECT_EQ(messages.entries()[0].text, "ﾌｧｲﾙ" + m.dir.path() + "がｵｰﾌﾟﾝできない");
    EXPECT_EQ(messages.entries()[0].caption, "読み出しｴﾗｰ");
}
