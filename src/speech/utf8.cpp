#include "speech/utf8.h"

#include "platform/codepage.h"

namespace orvo::speech {

Utf8Char decodeUtf8(std::string_view text, std::size_t pos)
{
    const std::size_t length = platform::charLength(text, pos, platform::CodePage::Utf8);
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (length == 1) {
        return {lead < 0x80 ? char32_t{lead} : char32_t{0xFFFD}, 1};
    }
    char32_t value = lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3Fu);
    }
    return {value, length};
}

std::vector<std::size_t> characterOffsets(std::string_view text)
{
    std::vector<std::size_t> offsets;
    offsets.reserve(text.size() + 1);
    for (std::size_t pos = 0; pos < text.size();) {
        offsets.push_back(pos);
        pos += platform::charLength(text, pos, platform::CodePage::Utf8);
    }
    offsets.push_back(text.size());
    return offsets;
}

} // namespace orvo::speech
