#include "i18n/messagecatalog.h"

#include <libintl.h>

#include <clocale>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/translation.h"

namespace orvo::i18n {

namespace {

const char* translateWithCatalog(const char* utf8Id)
{
    // The empty id is the catalog's header, never a text of the program.
    if (*utf8Id == '\0') {
        return nullptr;
    }
    const char* translated = ::dgettext(kDomain, utf8Id);
    return translated == utf8Id ? nullptr : translated;
}

// The "Language:" field of the header of the catalog in use.
std::string catalogLanguage()
{
    const char* header = ::dgettext(kDomain, "");
    if (header == nullptr || *header == '\0') {
        return {};
    }
    const std::string_view text(header);
    constexpr std::string_view kField = "Language: ";
    const std::size_t at = text.find(kField);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::size_t begin = at + kField.size();
    const std::size_t end = text.find('\n', begin);
    return std::string(text.substr(begin, end == std::string_view::npos ? end : end - begin));
}

} // namespace

std::string findLocaleFolder(const std::string& executablePath, const std::string& buildTreeLocale)
{
    const std::filesystem::path share =
        (std::filesystem::path(executablePath).parent_path() / ".." / "share").lexically_normal();
    std::error_code error;
    if (!executablePath.empty() && std::filesystem::is_directory(share / "vieworvo", error)) {
        return (share / "locale").string();
    }
    return buildTreeLocale;
}

std::string installMessageCatalog(const std::string& localeFolder)
{
    // Without the user's locale the messages stay those of the C locale, the
    // program's own texts: nothing to report.
    static_cast<void>(std::setlocale(LC_MESSAGES, ""));
    if (!localeFolder.empty()) {
        ::bindtextdomain(kDomain, localeFolder.c_str());
    }
    ::bind_textdomain_codeset(kDomain, "UTF-8");
    std::string language = catalogLanguage();
    platform::setTranslator(language.empty() ? nullptr : &translateWithCatalog);
    return language;
}

} // namespace orvo::i18n
