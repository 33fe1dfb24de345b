#include "platform/codepage.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace orvo::platform {

namespace {

std::atomic<CodePage> g_activePage{CodePage::Utf8};

unsigned char byteAt(std::string_view text, std::size_t pos)
{
    return static_cast<unsigned char>(text[pos]);
}

bool isSjisLead(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isSjisTrail(unsigned char b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Bytes below 0x40 are never a Shift-JIS trail byte, and ASCII is never part
// of a UTF-8 sequence: a plain byte search for a needle that starts with such a
// byte can only match on a character boundary.
bool plainSearchIsSafe(std::string_view needle, CodePage page)
{
    if (page == CodePage::Utf8 || needle.empty()) {
        return true;
    }
    return static_cast<unsigned char>(needle.front()) < 0x40;
}

std::string asciiCase(std::string_view text, CodePage page, bool upper)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t len = charLength(out, i, page);
        if (len == 1) {
            char& c = out[i];
            if (upper && c >= 'a' && c <= 'z') {
                c = static_cast<char>(c - 'a' + 'A');
            } else if (!upper && c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        i += len;
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

CodePage activeCodePage()
{
    return g_activePage.load(std::memory_order_relaxed);
}

void setActiveCodePage(CodePage page)
{
    g_activePage.store(page, std::memory_order_relaxed);
}

bool codePageFromName(std::string_view name, CodePage& page)
{
    for (std::string_view utf8 : {"utf-8", "utf8"}) {
        if (equalsIgnoreCase(name, utf8)) {
            page = CodePage::Utf8;
            return true;
        }
    }
    for (std::string_view sjis :
         {"shift_jis", "shift-jis", "sjis", "cp932", "ms932", "windows-31j"}) {
        if (equalsIgnoreCase(name, sjis)) {
            page = CodePage::ShiftJis;
            return true;
        }
    }
    return false;
}

CodePage chooseCodePage(const char* envValue, const char* localeCodeset)
{
    CodePage page = CodePage::Utf8;
    if (envValue != nullptr && codePageFromName(envValue, page)) {
        return page;
    }
    if (localeCodeset != nullptr && codePageFromName(localeCodeset, page)) {
        return page;
    }
    return CodePage::Utf8;
}

std::size_t charLength(std::string_view text, std::size_t pos, CodePage page)
{
    const unsigned char b = byteAt(text, pos);
    if (b < 0x80) {
        return 1;
    }
    if (page == CodePage::ShiftJis) {
        return (isSjisLead(b) && pos + 1 < text.size() && isSjisTrail(byteAt(text, pos + 1))) ? 2
                                                                                              : 1;
    }
    std::size_t want = 1;
    if (b >= 0xC2 && b <= 0xDF) {
        want = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        want = 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
        want = 4;
    }
    if (pos + want > text.size()) {
        return 1;
    }
    for (std::size_t k = 1; k < want; ++k) {
        if ((byteAt(text, pos + k) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return want;
}

namespace {

// AddressSanitizer checks the whole rest of the text on every memmem, which
// makes a run of searches through one long text quadratic there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemmemIsLinear = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kMemmemIsLinear = false;
#else
constexpr bool kMemmemIsLinear = true;
#endif
#else
constexpr bool kMemmemIsLinear = true;
#endif

// glibc's memmem beats the first-byte-then-compare loop of string_view::find
// on text where the needle's first byte is common (the s of "src" in page
// text); a single byte is a memchr either way.
std::size_t plainFind(std::string_view text, std::string_view needle, std::size_t from)
{
    if (!kMemmemIsLinear || needle.size() < 2) {
        return text.find(needle, from);
    }
    if (text.size() - from < needle.size()) {
        return npos;
    }
    const void* hit =
        ::memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return hit == nullptr ? npos
                          : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

} // namespace

std::size_t find(std::string_view text, std::string_view needle, std::size_t from, CodePage page)
{
    if (from > text.size()) {
        return npos;
    }
    if (plainSearchIsSafe(needle, page)) {
        return plainFind(text, needle, from);
    }
    const char first = needle.front();
    for (std::size_t i = from; i + needle.size() <= text.size();) {
        if (text[i] == first && text.compare(i, needle.size(), needle) == 0) {
            return i;
        }
        i += charLength(text, i, page);
    }
    return npos;
}

std::size_t findAnyOf(std::string_view text, std::string_view chars, std::size_t from,
                      CodePage page)
{
    if (from >= text.size()) {
        return npos;
    }
    const bool plain = page == CodePage::Utf8 ||
                       std::all_of(chars.begin(), chars.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x40; });
    if (plain) {
        return text.find_first_of(chars, from);
    }
    for (std::size_t i = from; i < text.size();) {
        const std::size_t len = charLength(text, i, page);
        if (len == 1 && chars.find(text[i]) != std::string_view::npos) {
            return i;
        }
        i += len;
    }
    return npos;
}

std::size_t rfind(std::string_view text, std::string_view needle, CodePage page)
{
    if (plainSearchIsSafe(needle, page)) {
        return text.rfind(needle);
    }
    // Shift-JIS can only be segmented from the front.
    std::size_t last = npos;
    for (std::size_t pos = find(text, needle, 0, page); pos != npos;
         pos = find(text, needle, pos + charLength(text, pos, page), page)) {
        last = pos;
    }
    return last;
}

// White space bytes are below 0x40, so they never end a double-byte character:
// trimming them byte by byte keeps every character whole.
std::string_view trimLeftView(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    return text.substr(i);
}

std::string_view trimRightView(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && isSpace(text[n - 1])) {
        --n;
    }
    return text.substr(0, n);
}

std::string_view trimView(std::string_view text)
{
    return trimRightView(trimLeftView(text));
}

std::string trim(std::string_view text)
{
    return std::string(trimView(text));
}

std::string trimLeft(std::string_view text)
{
    return std::string(trimLeftView(text));
}

std::string trimRight(std::string_view text)
{
    return std::string(trimRightView(text));
}

std::string toUpper(std::string_view text, CodePage page)
{
    return asciiCase(text, page, true);
}

std::string toLower(std::string_view text, CodePage page)
{
    return asciiCase(text, page, false);
}

std::string removeChars(std::string_view text, std::string_view chars, CodePage page)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = charLength(text, i, page);
        if (len != 1 || chars.find(text[i]) == std::string_view::npos) {
            out.append(text.substr(i, len));
        }
        i += len;
    }
    return out;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to,
                       CodePage page)
{
    if (from.empty()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t pos = find(text, from, 0, page); pos != npos;
         pos = find(text, from, start, page)) {
        out.append(text.substr(start, pos - start));
        out.append(to);
        start = pos + from.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace orvo::platform
