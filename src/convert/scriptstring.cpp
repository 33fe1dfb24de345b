#include "convert/scriptstring.h"

namespace orvo::convert {

namespace {

constexpr std::string_view kSplitAfterLessThan = "\" & \"";
constexpr std::string_view kCarriageReturn = "\" & vbCr & \"";
constexpr std::string_view kLineFeed = "\" & vbLf & \"";

} // namespace

// Byte by byte: "<", "/", "!", "-", CR and LF are all below 0x40 and so never
// the trail byte of a Shift-JIS character.
std::string scriptStringText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += kCarriageReturn;
        } else if (c == '\n') {
            out += kLineFeed;
        } else {
            out += c;
            if (c == '<' &&
                (text.substr(i + 1).starts_with("/") || text.substr(i + 1).starts_with("!--"))) {
                out += kSplitAfterLessThan;
            }
        }
    }
    return out;
}

} // namespace orvo::convert
