#include "convert/actiongenerator.h"

#include "config/emotionmap.h"
#include "convert/convertsupport.h"
#include "convert/duration.h"
#include "convert/position.h"
#include "convert/treeindex.h"
#include "markup/tagnode.h"

#include <gtest/gtest.h>

namespace {

using orvo::convert::generateMove;
using orvo::convert::generatePlay;
using orvo::convert::generateSpeak;
using orvo::convert::parseDuration;
using orvo::convert::Position;
using orvo::convert::resolvePosition;
using orvo::convert::TreeIndex;
using orvo::markup::TagNode;
using orvo::test::addChild;

TEST(DurationTest, ExamplesOfTheMarkup)
{
    EXPECT_EQ(parseDuration("2s"), 2000);
    EXPECT_EQ(parseDuration("2"), 2000);
    EXPECT_EQ(parseDuration("3m"), 180000);
    EXPECT_EQ(parseDuration("1h"), 3600000);
    EXPECT_EQ(parseDuration("1.5s"), 1000);
    EXPECT_EQ(parseDuration("0s"), -1);
    EXPECT_EQ(parseDuration(""), -1);
    // The letter m makes the unit minutes, whatever follows it.
    EXPECT_EQ(parseDuration("500ms"), 500 * 60000);
    // Hours win over minutes; unit letters count wherever they stand.
    EXPECT_EQ(parseDuration("2mh"), 2 * 3600000);
    EXPECT_EQ(parseDuration("s4"), 4000);
    EXPECT_EQ(parseDuration(" -3s"), -3000);
    EXPECT_EQ(parseDuration("abc"), -1);
    // Beyond the 32-bit range of milliseconds, without overflow.
    EXPECT_EQ(parseDuration("1000000h"), std::int64_t{1000000} * 3600000);
}

struct Tree {
    TagNode root{"orvo", 1, std::string(), nullptr};
    TagNode& page = addChild(root, "page");
};

TEST(ActionGeneratorTest, PlayAndItsPauseLine)
{
    Tree tree;
    EXPECT_EQ(generatePlay(addChild(tree.page, "play")), "\tDoll.Play \"\" \n");
    EXPECT_EQ(generatePlay(addChild(tree.page, "play", {{"act", "Wave"}, {"begin", "1.5s"}})),
              "\tDoll.Speak(\" \\Pau=1000\\ \")\n\tDoll.Play \"Wave\" \n");
    for (const char* nothing : {"0s", "0", "soon", "-2s"}) {
        EXPECT_EQ(generatePlay(addChild(tree.page, "play", {{"act", "A"}, {"begin", nothing}})),
                  "\tDoll.Play \"A\" \n")
            << nothing;
    }
}

TEST(ActionGeneratorTest, SpeakOutsideAndInsideEmotions)
{
    Tree tree;
    orvo::config::CharacterEmotions emotions("Merlin");
    auto plain = std::make_unique<orvo::config::EmotionEntry>("plain");
    plain->addSpeakBefore("A");
    plain->addSpeakBefore("");
    plain->setSpeechPrefix("\\Spd=50\\");
    plain->addSpeakAfter("B");
    emotions.store(std::move(plain));
    auto words = std::make_unique<orvo::config::EmotionEntry>("words");
    words->setSpeechPrefix("&x");
    emotions.store(std::move(words));
    emotions.store(std::make_unique<orvo::config::EmotionEntry>("empty"));

    TagNode& outside = addChild(tree.page, "speak", {{"begin", "2s"}}, "Hi \"you\"");
    EXPECT_EQ(generateSpeak(outside, &emotions),
              "\tDoll.Speak(\" \\Pau=2000\\ \")\n\tDoll.Speak(\"  Hi \"\"you\"\" \")\n");
    EXPECT_EQ(generateSpeak(outside, nullptr),
              "\tDoll.Speak(\" \\Pau=2000\\ \")\n\tDoll.Speak(\"  Hi \"\"you\"\" \")\n");

    TagNode& withPlain =
        addChild(addChild(tree.page, "emotion", {{"type", "plain"}}), "speak", {}, "one two");
    EXPECT_EQ(generateSpeak(withPlain, &emotions), "\tDoll.Play \"A\" \n"
                                                   "\tDoll.Play \"\" \n"
                                                   "\tDoll.Speak(\" \\Spd=50\\ one two \")\n"
                                                   "\tDoll.Play \"B\" \n");

    TagNode& wordsEmotion = addChild(tree.page, "emotion", {{"type", "words"}});
    EXPECT_EQ(generateSpeak(addChild(wordsEmotion, "speak", {}, "one two three"), &emotions),
              "\tDoll.Speak(\"  one xtwo xthree \")\n");
    // Only a space starts a word; a leading space prefixes the first word too;
    // quotes of the text are doubled before the prefix goes in.
    EXPECT_EQ(generateSpeak(addChild(wordsEmotion, "speak", {}, " a\tb  \"c\""), &emotions),
              "\tDoll.Speak(\"   xa\tb  x\"\"c\"\" \")\n");

    TagNode& empty = addChild(tree.page, "emotion", {{"type", "empty"}});
    EXPECT_EQ(generateSpeak(addChild(empty, "speak", {}, "t"), &emotions),
              "\tDoll.Speak(\"  t \")\n");

    // The innermost emotion counts; an unknown emotion or character drops the
    // speech and keeps only the pause.
    TagNode& nested = addChild(addChild(tree.page, "emotion", {{"type", "plain"}}), "emotion",
                               {{"type", "words"}});
    EXPECT_EQ(generateSpeak(addChild(nested, "speak", {}, "a b"), &emotions),
              "\tDoll.Speak(\"  a xb \")\n");
    TagNode& unknown = addChild(addChild(tree.page, "emotion", {{"type", "angry"}}), "speak",
                                {{"begin", "1s"}}, "lost");
    EXPECT_EQ(generateSpeak(unknown, &emotions), "\tDoll.Speak(\" \\Pau=1000\\ \")\n");
    EXPECT_EQ(generateSpeak(withPlain, nullptr), "");
}

TEST(ActionGeneratorTest, MoveOutsideAndInsideEmotions)
{
    Tree tree;
    orvo::config::CharacterEmotions emotions("Merlin");
    auto fast = std::make_unique<orvo::config::EmotionEntry>("fast");
    fast->addMoveBefore("Run");
    fast->setMoveSpeed("500");
    fast->addMoveAfter("Stop");
    fast->addMoveAfter("Bow");
    emotions.store(std::move(fast));
    auto calm = std::make_unique<orvo::config::EmotionEntry>("calm");
    calm->addMoveBefore("Think");
    emotions.store(std::move(calm));
    TreeIndex index(tree.root);

    EXPECT_EQ(
        generateMove(addChild(tree.page, "move", {{"x", "100"}, {"y", "50"}}), &emotions, index),
        "\tDoll.MoveTo 100,50 \n");
    EXPECT_EQ(generateMove(addChild(addChild(tree.page, "emotion", {{"type", "fast"}}), "move",
                                    {{"area", "left_bottom"}, {"begin", "2s"}}),
                           &emotions, index),
              "\tDoll.Speak(\" \\Pau=2000\\ \")\n"
              "\tDoll.Play \"Run\" \n"
              "\tDoll.MoveTo 0,360,500 \n"
              "\tDoll.Play \"Stop\" \n"
              "\tDoll.Play \"Bow\" \n");
    EXPECT_EQ(generateMove(addChild(addChild(tree.page, "emotion", {{"type", "calm"}}), "move",
                                    {{"x", "7"}}),
                           &emotions, index),
              "\tDoll.Play \"Think\" \n\tDoll.MoveTo 7,0 \n");
    TagNode& lost = addChild(addChild(tree.page, "emotion", {{"type", "sleepy"}}), "move",
                             {{"x", "7"}, {"begin", "1s"}});
    EXPECT_EQ(generateMove(lost, &emotions, index), "\tDoll.Speak(\" \\Pau=1000\\ \")\n");
    EXPECT_EQ(generateMove(lost, nullptr, index), "\tDoll.Speak(\" \\Pau=1000\\ \")\n");
}

TEST(ActionGeneratorTest, PositionsFromCoordinatesAreasAndSpots)
{
    Tree tree;
    addChild(tree.root, "place", {{"id", "door"}, {"location", " 10 , 20 "}});
    addChild(tree.root, "place", {{"id", "edge"}, {"location", "7"}});
    addChild(tree.root, "place", {{"id", "bare"}});
    TreeIndex index(tree.root);
    const auto at = [&](std::map<std::string, std::string> attributes) {
        return resolvePosition(addChild(tree.page, "move", attributes), index);
    };

    EXPECT_EQ(at({}), (Position{0, 0}));
    EXPECT_EQ(at({{"x", " -15px"}, {"y", "abc"}}), (Position{-15, 0}));
    EXPECT_EQ(at({{"x", "100"}, {"y", "50"}, {"area", "right_bottom"}}), (Position{600, 360}));
    const std::pair<const char*, Position> areas[] = {
        {"left_top", {0, 0}},    {"left_middle", {0, 210}},    {"left_bottom", {0, 360}},
        {"right_top", {600, 0}}, {"right_middle", {600, 210}}, {"right_bottom", {600, 360}}};
    for (const auto& [area, position] : areas) {
        EXPECT_EQ(at({{"x", "1"}, {"y", "2"}, {"area", area}}), position) << area;
    }
    EXPECT_EQ(at({{"x", "1"}, {"y", "2"}, {"area", "Left_Top"}}), (Position{1, 2}));
    EXPECT_EQ(at({{"x", "100"}, {"y", "50"}, {"area", "right_bottom"}, {"spot", "door"}}),
              (Position{10, 20}));
    EXPECT_EQ(at({{"spot", "edge"}}), (Position{7, 0}));
    EXPECT_EQ(at({{"x", "3"}, {"spot", "bare"}}), (Position{0, 0}));
    // A spot that names no node keeps the position from x, y and area.
    EXPECT_EQ(at({{"x", "3"}, {"area", "right_top"}, {"spot", "nowhere"}}), (Position{600, 0}));
}

} // namespace

// What goes into a string literal of the script element can neither end the
// element ("</") nor change how the browser finds its end ("<!--"), and a
// CR or LF does not end the literal; every other text stays as it was.
TEST(ActionGeneratorTest, ScriptLiteralsCannotEndTheScriptElementOrTheirLine)
{
    Tree tree;
    orvo::config::CharacterEmotions emotions("Merlin");
    auto words = std::make_unique<orvo::config::EmotionEntry>("words");
    words->setSpeechPrefix("&x");
    words->addSpeakBefore("Lo</ok");
    emotions.store(std::move(words));

    EXPECT_EQ(generateSpeak(addChild(tree.page, "speak", {},
                                     "Hi </SCRIPT><script>alert(1)</script> <!-- a\rb\nc <x/>"),
                            nullptr),
              "\tDoll.Speak(\"  Hi <\" & \"/SCRIPT><script>alert(1)<\" & \"/script> <\" & "
              "\"!-- a\" & vbCr & \"b\" & vbLf & \"c <x/> \")\n");
    // The words are prefixed first: the pieces hold spaces of their own.
    TagNode& wordsEmotion = addChild(tree.page, "emotion", {{"type", "words"}});
    EXPECT_EQ(generateSpeak(addChild(wordsEmotion, "speak", {}, "a </b"), &emotions),
              "\tDoll.Play \"Lo<\" & \"/ok\" \n\tDoll.Speak(\"  a x<\" & \"/b \")\n");
    EXPECT_EQ(generatePlay(addChild(tree.page, "play", {{"act", "W\r</x"}})),
              "\tDoll.Play \"W\" & vbCr & \"<\" & \"/x\" \n");
    // "<" alone, "/" alone and "<!-" are left as they are.
    EXPECT_EQ(generatePlay(addChild(tree.page, "play", {{"act", "a<b/c<!-d"}})),
              "\tDoll.Play \"a<b/c<!-d\" \n");
}
