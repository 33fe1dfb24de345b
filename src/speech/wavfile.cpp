#include "speech/wavfile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace orvo::speech {

namespace {

void put16(std::string& out, std::uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFFu));
    out.push_back(static_cast<char>((value >> 8) & 0xFFu));
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xFFFFu);
    put16(out, value >> 16);
}

} // namespace

std::string wavBytes(std::span<const std::int16_t> samples, int sampleRate)
{
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);       // size of the format chunk
    put16(out, 1);        // PCM
    put16(out, 1);        // mono
    put32(out, rate);     // samples per second
    put32(out, rate * 2); // bytes per second
    put16(out, 2);        // bytes per sample frame
    put16(out, 16);       // bits per sample
    out += "data";
    put32(out, dataBytes);
    for (const std::int16_t sample : samples) {
        put16(out, static_cast<std::uint16_t>(sample));
    }
    return out;
}

bool writeWavFile(const std::string& path, std::span<const std::int16_t> samples, int sampleRate,
                  std::string& error)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
        const std::string bytes = wavBytes(samples, sampleRate);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
    }
    if (!file) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace orvo::speech
