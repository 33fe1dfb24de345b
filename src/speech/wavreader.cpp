#include "speech/wavreader.h"

#include "platform/files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <sstream>

namespace orvo::speech {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

std::uint32_t little32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

std::uint16_t little16(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

struct Format {
    std::uint16_t code = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
};

// One sample of any supported kind, scaled to [-1, 1].
double sampleAt(const std::string& bytes, std::size_t at, const Format& format)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    switch (format.bits) {
    case 8:
        return (static_cast<int>(byte(0)) - 128) / 128.0;
    case 16:
        return static_cast<std::int16_t>(little16(bytes, at)) / 32768.0;
    case 24: {
        std::int32_t value = static_cast<std::int32_t>(static_cast<std::uint32_t>(byte(0)) << 8 |
                                                       static_cast<std::uint32_t>(byte(1)) << 16 |
                                                       static_cast<std::uint32_t>(byte(2)) << 24);
        return (value >> 8) / 8388608.0;
    }
    default: {
        const std::uint32_t raw = little32(bytes, at);
        if (format.code == kFormatFloat) {
            float value = 0;
            std::memcpy(&value, &raw, sizeof value);
            return std::isfinite(value) ? static_cast<double>(value) : 0.0;
        }
        return static_cast<std::int32_t>(raw) / 2147483648.0;
    }
    }
}

bool supported(const Format& format)
{
    if (format.code == kFormatFloat) {
        return format.bits == 32;
    }
    return format.code == kFormatPcm &&
           (format.bits == 8 || format.bits == 16 || format.bits == 24 || format.bits == 32);
}

} // namespace

bool parseWav(const std::string& bytes, Utterance& utterance, std::string& error)
{
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        error = "not a WAVE file";
        return false;
    }
    Format format;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = little32(bytes, at + 4);
        const std::size_t body = at + 8;
        // A recorder that was stopped early leaves a data size beyond the end.
        const std::size_t available = std::min(size, bytes.size() - body);
        if (id == "fmt ") {
            if (available < 16) {
                error = "the WAVE format chunk is too short";
                return false;
            }
            format.code = little16(bytes, body);
            format.channels = little16(bytes, body + 2);
            format.rate = little32(bytes, body + 4);
            format.bits = little16(bytes, body + 14);
            if (format.code == kFormatExtensible && available >= 26) {
                format.code = little16(bytes, body + 24);
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                error = "the WAVE data comes before its format";
                return false;
            }
            if (!supported(format) || format.channels == 0 || format.rate == 0 ||
                format.rate > 1000000) {
                std::ostringstream text;
                text << "unsupported WAVE format (code " << format.code << ", " << format.bits
                     << " bits, " << format.channels << " channels, " << format.rate
                     << " Hz): use PCM or 32-bit float";
                error = text.str();
                return false;
            }
            const std::size_t frameBytes = std::size_t{format.channels} * (format.bits / 8u);
            const std::size_t frames = available / frameBytes;
            utterance.sampleRate = static_cast<int>(format.rate);
            utterance.samples.clear();
            utterance.samples.reserve(frames);
            for (std::size_t frame = 0; frame < frames; ++frame) {
                double sum = 0;
                for (std::size_t channel = 0; channel < format.channels; ++channel) {
                    sum += sampleAt(bytes, body + frame * frameBytes + channel * (format.bits / 8u),
                                    format);
                }
                const double mono = std::clamp(sum / format.channels, -1.0, 1.0);
                utterance.samples.push_back(static_cast<std::int16_t>(std::lround(mono * 32767.0)));
            }
            return true;
        }
        // Chunks are padded to an even size.
        at = body + size + (size & 1u);
    }
    error = haveFormat ? "the WAVE file has no data" : "the WAVE file has no format";
    return false;
}

bool readWavFile(const std::string& path, Utterance& utterance, std::string& error)
{
    std::string bytes;
    if (!platform::readWholeFile(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    return parseWav(bytes, utterance, error);
}

} // namespace orvo::speech
