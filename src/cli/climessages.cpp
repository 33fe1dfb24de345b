#include "cli/climessages.h"

#include <cstdio>
#include <ostream>

#include "platform/encoding.h"

namespace orvo::cli {

std::string jsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                // Six characters and the NUL always fit: nothing to check.
                static_cast<void>(std::snprintf(escaped, sizeof escaped, "\\u%04x", byte));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

void StreamMessages::write(const char* type, const std::string& text, const std::string& caption)
{
    // toUtf8 replaces whatever is not text of the active code page, so both
    // formats are valid UTF-8 whatever the presentation holds.
    const std::string utf8Caption = platform::toUtf8(caption);
    const std::string utf8Text = platform::toUtf8(text);
    if (m_format == MessageFormat::Json) {
        m_out << "{\"type\":\"" << type << "\",\"caption\":" << jsonString(utf8Caption)
              << ",\"text\":" << jsonString(utf8Text) << "}\n";
    } else {
        m_out << utf8Caption << ": " << utf8Text << '\n';
    }
    m_out.flush();
}

void StreamMessages::error(const std::string& text, const std::string& caption)
{
    write("error", text, caption);
}

bool StreamMessages::ask(const std::string& text, const std::string& caption)
{
    write("question", text, caption);
    return false;
}

} // namespace orvo::cli
