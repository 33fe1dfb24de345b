#include "speech/recognizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "speech/synthesizer.h"

// PocketSphinx's grammar parser keeps a little of every grammar it reads
// (libsphinxbase 0.8): not ours to free, so LeakSanitizer is told (see
// lsan.supp for the same list).
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libsphinxbase\n";
}

namespace orvo::speech {
namespace {

// The bundled tour's commands and enough other words for a page that offers
// many: the grammar holds all of them at once. ("start" is left out: the
// synthesized word fits the English model so badly that it is mostly not
// heard at all.)
const std::vector<std::string> kCommands{"pages",   "emotions", "goodbye", "answer", "garden",
                                         "louder",  "menu",     "music",   "help",   "question",
                                         "travel",  "weather",  "yes",     "repeat", "stop",
                                         "picture", "family",   "morning", "library"};

class RecognizerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        recognizer = new Recognizer();
        synthesizer = new Synthesizer();
    }
    static void TearDownTestSuite()
    {
        delete recognizer;
        delete synthesizer;
    }

    static Utterance say(const std::string& text)
    {
        Speech speech;
        EXPECT_TRUE(synthesizer->synthesize(text, {}, speech)) << synthesizer->error();
        return Utterance{speech.samples, speech.sampleRate};
    }

    static Recognizer* recognizer;
    static Synthesizer* synthesizer;
};

Recognizer* RecognizerTest::recognizer = nullptr;
Synthesizer* RecognizerTest::synthesizer = nullptr;

TEST_F(RecognizerTest, HearsEachCommandOfTheListAtTwoRatesAndTwoPitches)
{
    ASSERT_TRUE(recognizer->ready()) << recognizer->error();
    ASSERT_TRUE(synthesizer->ok()) << synthesizer->error();
    ASSERT_TRUE(recognizer->setCommands(kCommands)) << recognizer->error();
    EXPECT_TRUE(recognizer->unpronounceable().empty());

    int right = 0;
    int wrong = 0;
    int total = 0;
    for (const char* rate : {"\\Spd=140\\", "\\Spd=200\\"}) {
        for (const char* pitch : {"\\Pit=90\\", "\\Pit=160\\"}) {
            for (std::size_t i = 0; i < kCommands.size(); ++i) {
                const auto heard =
                    recognizer->recognize(say(rate + std::string(pitch) + kCommands[i]));
                ++total;
                if (heard && heard->index == i) {
                    ++right;
                } else if (heard) {
                    ++wrong;
                    ADD_FAILURE() << rate << pitch << ' ' << kCommands[i] << " heard as "
                                  << heard->command;
                } else {
                    std::cout << rate << pitch << ' ' << kCommands[i] << " not heard\n";
                }
            }
        }
    }
    std::cout << "recognized " << right << " of " << total << " commands, " << wrong
              << " wrongly\n";
    EXPECT_GE(right * 100, total * 95);
}

TEST_F(RecognizerTest, SilenceNoiseAndOtherWordsGiveNothing)
{
    ASSERT_TRUE(recognizer->ready()) << recognizer->error();
    ASSERT_TRUE(recognizer->setCommands(kCommands)) << recognizer->error();

    EXPECT_FALSE(recognizer->recognize(Utterance{std::vector<std::int16_t>(16000, 0), 16000}));

    std::mt19937 random(7);
    std::normal_distribution<double> hiss(0.0, 3000.0);
    std::vector<std::int16_t> noise(16000);
    for (std::int16_t& sample : noise) {
        sample = static_cast<std::int16_t>(std::clamp(hiss(random), -32768.0, 32767.0));
    }
    EXPECT_FALSE(recognizer->recognize(Utterance{noise, 16000}));

    for (const char* word : {"banana", "elephant"}) {
        const auto heard = recognizer->recognize(say(word));
        EXPECT_FALSE(heard) << word << " heard as " << heard->command;
    }
}

TEST_F(RecognizerTest, NewCommandsReplaceTheOldOnes)
{
    ASSERT_TRUE(recognizer->ready()) << recognizer->error();
    ASSERT_TRUE(recognizer->setCommands({"pages", "goodbye"}));
    const Utterance goodbye = say("goodbye");
    const auto first = recognizer->recognize(goodbye);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->command, "goodbye");

    // The same token names now stand for other words: "goodbye" must not
    // keep its old pronunciation under the new command's name.
    ASSERT_TRUE(recognizer->setCommands({"music", "garden"}));
    EXPECT_FALSE(recognizer->recognize(goodbye));
    const auto second = recognizer->recognize(say("garden"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->index, 1u);
}

} // namespace
} // namespace orvo::speech
