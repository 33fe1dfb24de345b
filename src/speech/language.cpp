#include "speech/language.h"

#include <algorithm>
#include <cctype>

#include "speech/utf8.h"

namespace orvo::speech {

namespace {

bool isJapaneseCodePoint(char32_t c)
{
    return (c >= 0x3040 && c <= 0x30FF)     // hiragana, katakana
           || (c >= 0x3400 && c <= 0x4DBF)  // CJK extension A
           || (c >= 0x4E00 && c <= 0x9FFF)  // CJK unified ideographs
           || (c >= 0xF900 && c <= 0xFAFF)  // compatibility ideographs
           || (c >= 0xFF66 && c <= 0xFF9F); // half-width katakana
}

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return out;
}

} // namespace

Language detectLanguage(std::string_view utf8Text)
{
    for (std::size_t pos = 0; pos < utf8Text.size();) {
        const Utf8Char c = decodeUtf8(utf8Text, pos);
        if (isJapaneseCodePoint(c.codePoint)) {
            return Language::Japanese;
        }
        pos += c.length;
    }
    return Language::English;
}

bool languageFromName(std::string_view name, Language& language)
{
    const std::string lower = lowerAscii(name);
    if (lower == "ja" || lower == "japanese") {
        language = Language::Japanese;
    } else if (lower == "en" || lower == "english") {
        language = Language::English;
    } else if (lower == "auto") {
        language = Language::Automatic;
    } else {
        return false;
    }
    return true;
}

std::string defaultVoice(Language language)
{
    return language == Language::Japanese ? "ja" : "en-us";
}

} // namespace orvo::speech
