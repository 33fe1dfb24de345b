#include "convert/scriptstring.h"

namespace orvo::convert {

namespace {

constexpr std::string_view kSplitAfterLessThan = "\" & \"";
constexpr std::string_view kCarriageReturn = "\" & vbCr & \"";
constexpr std::string_view kLineFeed = "\" & vbLf & \"";

// The first byte at or after `from` that needs something: CR, LF, a double
// quote or "<". A plain loop: find_first_of looks each byte up in the set
// with a call of its own.
std::size_t nextToEscape(std::string_view text, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n' || c == '"' || c == '<') {
            return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

std::string scriptStringText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    appendScriptString(out, text);
    return out;
}

void appendScriptString(std::string& out, std::string_view text)
{
    ScriptText{text}.appendTo(out);
}

// Byte by byte: "<", "/", "!", "-", a double quote, CR and LF are all below
// 0x40 and so never the trail byte of a Shift-JIS character. A doubled quote
// is two quotes where the original had one, so the bytes that follow a "<"
// are the same either way: doubling while escaping gives what escaping the
// doubled text gives.
void ScriptText::appendTo(std::string& out) const
{
    // The runs between the few bytes that need something are appended whole.
    std::size_t from = 0;
    for (std::size_t i = nextToEscape(text, 0); i != std::string_view::npos;
         i = nextToEscape(text, i + 1)) {
        out.append(text.substr(from, i - from));
        from = i + 1;
        const char c = text[i];
        if (c == '\r') {
            out += kCarriageReturn;
        } else if (c == '\n') {
            out += kLineFeed;
        } else if (c == '"') {
            out += doubleQuotes ? "\"\"" : "\"";
        } else {
            out += c;
            if (text.substr(i + 1).starts_with("/") || text.substr(i + 1).starts_with("!--")) {
                out += kSplitAfterLessThan;
            }
        }
    }
    out.append(text.substr(from));
}

} // namespace orvo::convert
