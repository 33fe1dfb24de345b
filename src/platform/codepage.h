#pragma once

// Multibyte-aware text operations for the two code pages the system reads and
// writes: UTF-8 and Shift-JIS (Windows code page 932).
//
// Text is a byte string in the active code page. Every search here starts on a
// character boundary and never reports a match that begins on the second byte
// of a double-byte character; trims remove single-byte white space only (space,
// tab, LF, VT, FF, CR), never a full-width space.
//
// A Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC) forms a double-byte character
// only when a valid trail byte (0x40-0x7E, 0x80-0xFC) follows it; otherwise it
// stands alone. Trail bytes are never below 0x40, so a byte below 0x40 (white
// space, quotes, "<", ">", "/", ",", ";", "=", ":") is always a character of
// its own. UTF-8 is self-synchronising: a valid needle cannot match inside a
// multibyte sequence, so its operations are plain byte operations.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvo::platform {

enum class CodePage { Utf8, ShiftJis };

// The code page in force for the whole process. Chosen once at start-up.
CodePage activeCodePage();
void setActiveCodePage(CodePage page);

// Parses "utf-8"/"utf8" or "shift_jis"/"sjis"/"cp932" (any case). False when
// the name is none of these.
[[nodiscard]] bool codePageFromName(std::string_view name, CodePage& page);

// The code page from ORVO_CODEPAGE when it names one, else from the locale's
// character set (Shift-JIS when the locale's codeset is one of its names), else
// UTF-8. The caller passes the values in, so that the core reads no environment.
CodePage chooseCodePage(const char* envValue, const char* localeCodeset);

inline constexpr std::size_t npos = std::string_view::npos;

// Byte length of the character that starts at text[pos] (1 or 2 in Shift-JIS,
// 1 to 4 in UTF-8; 1 for a byte that starts no valid character).
std::size_t charLength(std::string_view text, std::size_t pos, CodePage page);
inline std::size_t charLength(std::string_view text, std::size_t pos)
{
    return charLength(text, pos, activeCodePage());
}

// First occurrence of needle at or after `from`, which must be a character
// boundary. npos when there is none. An empty needle matches at `from`.
std::size_t find(std::string_view text, std::string_view needle, std::size_t from, CodePage page);
inline std::size_t find(std::string_view text, std::string_view needle, std::size_t from = 0)
{
    return find(text, needle, from, activeCodePage());
}

// First character at or after `from` that is one of the single-byte `chars`.
std::size_t findAnyOf(std::string_view text, std::string_view chars, std::size_t from,
                      CodePage page);
inline std::size_t findAnyOf(std::string_view text, std::string_view chars, std::size_t from = 0)
{
    return findAnyOf(text, chars, from, activeCodePage());
}

// Last occurrence of needle that starts on a character boundary.
std::size_t rfind(std::string_view text, std::string_view needle, CodePage page);
inline std::size_t rfind(std::string_view text, std::string_view needle)
{
    return rfind(text, needle, activeCodePage());
}

// Inline: the parsers ask about every byte between tags.
inline bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
std::string_view trimView(std::string_view text);
std::string_view trimLeftView(std::string_view text);
std::string_view trimRightView(std::string_view text);
std::string trim(std::string_view text);
std::string trimLeft(std::string_view text);
std::string trimRight(std::string_view text);

// Upper or lower case of the single-byte letters A-Z/a-z; double-byte
// characters (whose trail bytes may look like letters) are left whole.
std::string toUpper(std::string_view text, CodePage page);
std::string toLower(std::string_view text, CodePage page);
inline std::string toUpper(std::string_view text)
{
    return toUpper(text, activeCodePage());
}
inline std::string toLower(std::string_view text)
{
    return toLower(text, activeCodePage());
}

// Removes every occurrence of the single-byte characters in `chars`.
std::string removeChars(std::string_view text, std::string_view chars, CodePage page);
inline std::string removeChars(std::string_view text, std::string_view chars)
{
    return removeChars(text, chars, activeCodePage());
}

// Replaces every occurrence of `from` by `to` (no match inside a character).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to,
                       CodePage page);
inline std::string replaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    return replaceAll(text, from, to, activeCodePage());
}

} // namespace orvo::platform
