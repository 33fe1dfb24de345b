#include "platform/translation.h"

namespace orvo::platform {

namespace {

Translator g_translator = nullptr;

} // namespace

void setTranslator(Translator translator)
{
    g_translator = translator;
}

std::string translate(std::string_view utf8Id)
{
    std::string id(utf8Id);
    if (g_translator == nullptr) {
        return id;
    }
    const char* translated = g_translator(id.c_str());
    return translated == nullptr ? id : std::string(translated);
}

} // namespace orvo::platform
