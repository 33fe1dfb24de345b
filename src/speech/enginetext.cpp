#include "speech/enginetext.h"

#include <array>
#include <cstddef>

#include "speech/utf8.h"

namespace orvo::speech {

namespace {

struct Script {
    char32_t first;
    char32_t last;
    std::string_view language; // the dictionary that the engine switches to
};

// The scripts whose words make espeak-ng switch dictionaries, in ascending
// order. Telugu and Oriya, which the engine speaks with the voice's own
// dictionary, are not among them.
constexpr std::array kSwitching{
    Script{0x0370, 0x03FF, "el"}, Script{0x0530, 0x058F, "hy"}, Script{0x0900, 0x097F, "hi"},
    Script{0x0980, 0x09FF, "bn"}, Script{0x0A00, 0x0A7F, "pa"}, Script{0x0A80, 0x0AFF, "gu"},
    Script{0x0B80, 0x0BFF, "ta"}, Script{0x0C80, 0x0CFF, "kn"}, Script{0x0D00, 0x0D7F, "ml"},
    Script{0x0D80, 0x0DFF, "si"}, Script{0x10A0, 0x10FF, "ka"}, Script{0x1100, 0x11FF, "ko"},
    Script{0x3130, 0x318F, "ko"}, Script{0xA960, 0xA97F, "ko"}, Script{0xAC00, 0xD7FF, "ko"},
};

// The language part of a language name: "en" of "en-us".
std::string_view primaryLanguage(std::string_view name)
{
    return name.substr(0, name.find('-'));
}

const Script* switchingScriptOf(char32_t codePoint)
{
    if (codePoint < kSwitching.front().first) {
        return nullptr;
    }
    for (const Script& script : kSwitching) {
        if (codePoint <= script.last) {
            return codePoint >= script.first ? &script : nullptr;
        }
    }
    return nullptr;
}

} // namespace

void blankSwitchingScripts(std::string& utf8Text, std::string_view voiceLanguage)
{
    const std::string_view own = primaryLanguage(voiceLanguage);
    for (std::size_t pos = 0; pos < utf8Text.size();) {
        const Utf8Char c = decodeUtf8(utf8Text, pos);
        const Script* script = switchingScriptOf(c.codePoint);
        if (script != nullptr && script->language != own) {
            utf8Text.replace(pos, c.length, c.length, ' ');
        }
        pos += c.length;
    }
}

} // namespace orvo::speech
