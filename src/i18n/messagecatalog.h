#pragma once

// The user's language for the tool and the window: installs the gettext
// catalog of the program's texts (domain "vieworvo") as the core's
// translator. gettext decides from the locale (LC_ALL, LC_MESSAGES, LANG and,
// outside the C locale, LANGUAGE): the C locale and a Japanese one have no
// catalog, so their texts stay as written.

#include <string>

namespace orvo::i18n {

inline constexpr const char* kDomain = "vieworvo";

// Where the compiled catalogs lie for a program at `executablePath`:
// <bin>/../share/locale in an installation (a program beside a
// share/vieworvo folder), else `buildTreeLocale`.
std::string findLocaleFolder(const std::string& executablePath, const std::string& buildTreeLocale);

// Sets LC_MESSAGES from the environment, binds the domain to `localeFolder`
// (when empty, a program without its share folder, to the system's) with
// UTF-8 output and installs the translator. Returns the language of the
// catalog in use ("en"), or "" when the texts stay as written.
std::string installMessageCatalog(const std::string& localeFolder);

} // namespace orvo::i18n
