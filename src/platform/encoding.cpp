#include "platform/encoding.h"

#include "platform/translation.h"

#include <iconv.h>
#include <cerrno>

namespace orvo::platform {

namespace {

const char* iconvName(CodePage page)
{
    return page == CodePage::ShiftJis ? "CP932" : "UTF-8";
}

// Replaces every byte that does not start a valid UTF-8 character by "?".
std::string sanitizeUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = charLength(text, i, CodePage::Utf8);
        const auto b = static_cast<unsigned char>(text[i]);
        if (len == 1 && b >= 0x80) {
            out.push_back('?');
        } else {
            out.append(text.substr(i, len));
        }
        i += len;
    }
    return out;
}

} // namespace

std::string convertCodePage(std::string_view text, CodePage from, CodePage to)
{
    if (from == to) {
        return to == CodePage::Utf8 ? sanitizeUtf8(text) : std::string(text);
    }
    iconv_t cd = iconv_open(iconvName(to), iconvName(from));
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size() * 2);
    std::string input(text);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, sizeof buffer - outLeft);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or unconvertible character: mark it and go on.
            out.push_back('?');
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

std::string localText(std::string_view utf8)
{
    return convertCodePage(translate(utf8), CodePage::Utf8, activeCodePage());
}

std::string toUtf8(std::string_view local)
{
    return convertCodePage(local, activeCodePage(), CodePage::Utf8);
}

} // namespace orvo::platform
