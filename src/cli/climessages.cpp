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
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string visibleControls(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const auto escape = [&out](unsigned char byte) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        out += escaped;
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7F) {
            escape(byte);
        } else if (byte == 0xC2 && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80) {
            // U+0080 to U+009F: the C1 controls, CSI (U+009B) among them,
            // which some terminals obey like ESC [.
            escape(byte);
            escape(static_cast<unsigned char>(utf8[++i]));
        } else {
            out += utf8[i];
        }
    }
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
        m_out << visibleControls(utf8Caption) << ": " << visibleControls(utf8Text) << '\n';
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
