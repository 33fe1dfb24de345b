#pragma once

// The user's language for the program's fixed texts. The texts themselves are
// the message ids: the program shows them as written unless a translator has
// been installed, which the tool and the window do from the user's locale
// (the core reads no environment). Untranslated ids come back unchanged, so
// the C locale and a Japanese one show every text byte for byte.

#include <string>
#include <string_view>

namespace orvo::platform {

// Takes a UTF-8 text id (nul-terminated) and returns its UTF-8 translation,
// or null when there is none.
using Translator = const char* (*)(const char* utf8Id);

// Installs the process-wide translator; null removes it.
void setTranslator(Translator translator);

// The UTF-8 text in the user's language: the translation of `utf8Id`, or the
// id itself.
std::string translate(std::string_view utf8Id);

} // namespace orvo::platform
