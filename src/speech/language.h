#pragma once

// The languages the voice speaks, how a text's language is told, and the
// voice that speaks each by default.

#include <string>
#include <string_view>

namespace orvo::speech {

enum class Language { Automatic, English, Japanese };

// Japanese when the text holds a kana or a kanji (half-width katakana
// included), else English.
Language detectLanguage(std::string_view utf8Text);

// "ja", "japanese" -> Japanese; "en", "english" -> English; "auto" ->
// Automatic (any case). False for anything else.
bool languageFromName(std::string_view name, Language& language);

// The espeak-ng voice that speaks the language when none is chosen.
std::string defaultVoice(Language language);

} // namespace orvo::speech
