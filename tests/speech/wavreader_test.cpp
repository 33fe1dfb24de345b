#include "speech/wavreader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace orvo::speech {
namespace {

std::string little(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
    return out;
}

std::string wave(std::uint16_t code, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                 const std::string& data, std::uint32_t dataSize)
{
    const std::string format = little(code, 2) + little(channels, 2) + little(rate, 4) +
                               little(rate * channels * bits / 8, 4) +
                               little(channels * bits / 8u, 2) + little(bits, 2);
    const std::string body =
        "WAVE" + std::string("fmt ") + little(16, 4) + format + "data" + little(dataSize, 4) + data;
    return "RIFF" + little(static_cast<std::uint32_t>(body.size()), 4) + body;
}

TEST(WavReaderTest, MixesChannelsDownAndKeepsTheRate)
{
    // Two 8-bit stereo frames: full scale on the left, silence on the right.
    Utterance utterance;
    std::string error;
    ASSERT_TRUE(
        parseWav(wave(1, 2, 22050, 8, std::string("\xFF\x80\x00\x80", 4), 4), utterance, error))
        << error;
    EXPECT_EQ(utterance.sampleRate, 22050);
    ASSERT_EQ(utterance.samples.size(), 2u);
    EXPECT_NEAR(utterance.samples[0], 16256, 2);
    EXPECT_NEAR(utterance.samples[1], -16384, 2);
}

TEST(WavReaderTest, ReadsWhatARecordingStoppedEarlyHolds)
{
    // The data size says a million bytes; three samples are there, the last
    // one cut in half.
    Utterance utterance;
    std::string error;
    ASSERT_TRUE(parseWav(wave(1, 1, 16000, 16, std::string("\x01\x00\x02\x00\x03", 5), 1000000),
                         utterance, error))
        << error;
    EXPECT_EQ(utterance.samples, (std::vector<std::int16_t>{1, 2}));
}

TEST(WavReaderTest, RefusesWhatItCannotRead)
{
    Utterance utterance;
    std::string error;
    EXPECT_FALSE(parseWav("RIFF....AVI ", utterance, error));
    EXPECT_EQ(error, "not a WAVE file");
    EXPECT_FALSE(parseWav(wave(2, 1, 16000, 4, "ab", 2), utterance, error));
    EXPECT_NE(error.find("unsupported WAVE format"), std::string::npos);
    EXPECT_FALSE(parseWav(wave(1, 0, 16000, 16, "ab", 2), utterance, error));
}

} // namespace
} // namespace orvo::speech
