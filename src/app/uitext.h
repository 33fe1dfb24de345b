#pragma once

// The window's fixed texts (apptexts.h) in the user's language: the Japanese
// text is the source of the translation, so without a translator (the C
// locale, a Japanese one) it is shown as written.

class QString;

namespace orvo::app {

// The translation context of every text of the window.
inline constexpr const char* kTranslationContext = "ViewOrvo";

QString uiText(const char* utf8);

} // namespace orvo::app
