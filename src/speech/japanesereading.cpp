#include "speech/japanesereading.h"

#include <mecab.h>

#include <vector>

namespace orvo::speech {

namespace {

// The pronunciation is the ninth field of an IPA dictionary entry, the
// reading the eighth; unknown words have fewer fields.
constexpr std::size_t kPronunciationField = 8;
constexpr std::size_t kReadingField = 7;

std::vector<std::string_view> splitFeatures(std::string_view feature)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = feature.find(',', start);
        fields.push_back(feature.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

// Decodes one UTF-8 character at `at`; 0 and one byte for a broken sequence.
char32_t decode(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80    ? 1
                         : lead >= 0xF0 ? 4
                         : lead >= 0xE0 ? 3
                         : lead >= 0xC0 ? 2
                                        : 0;
    if (length == 0 || at + length > text.size()) {
        ++at;
        return 0;
    }
    char32_t c = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u) {
            ++at;
            return 0;
        }
        c = (c << 6) | (byte(at + i) & 0x3Fu);
    }
    at += length;
    return c;
}

void encode(char32_t c, std::string& out)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isKanaOrKanji(char32_t c)
{
    return (c >= 0x3041 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF66 && c <= 0xFF9D);
}

} // namespace

struct JapaneseReading::Tagger {
    mecab_t* mecab = nullptr;
};

JapaneseReading::JapaneseReading() : m_tagger(std::make_unique<Tagger>())
{
    m_tagger->mecab = mecab_new2("");
}

JapaneseReading::~JapaneseReading()
{
    if (m_tagger->mecab != nullptr) {
        mecab_destroy(m_tagger->mecab);
    }
}

bool JapaneseReading::available() const
{
    return m_tagger->mecab != nullptr;
}

std::string JapaneseReading::read(std::string_view text)
{
    if (m_tagger->mecab == nullptr) {
        return toKatakana(text);
    }
    const mecab_node_t* node = mecab_sparse_tonode2(m_tagger->mecab, text.data(), text.size());
    std::string reading;
    for (; node != nullptr; node = node->next) {
        if (node->stat != MECAB_NOR_NODE && node->stat != MECAB_UNK_NODE) {
            continue;
        }
        const std::string_view surface(node->surface, node->length);
        const std::vector<std::string_view> fields =
            splitFeatures(node->feature == nullptr ? std::string_view() : node->feature);
        std::string_view spoken = surface;
        if (fields.size() > kPronunciationField && fields[kPronunciationField] != "*") {
            spoken = fields[kPronunciationField];
        } else if (fields.size() > kReadingField && fields[kReadingField] != "*") {
            spoken = fields[kReadingField];
        }
        reading += toKatakana(spoken);
    }
    return reading;
}

bool hasJapanese(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        if (isKanaOrKanji(decode(text, at))) {
            return true;
        }
    }
    return false;
}

std::string toKatakana(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t start = at;
        const char32_t c = decode(text, at);
        if (c >= 0x3041 && c <= 0x3096) {
            encode(c + 0x60, out);
        } else {
            out.append(text.substr(start, at - start));
        }
    }
    return out;
}

} // namespace orvo::speech
