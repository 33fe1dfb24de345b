#include "cli/climessages.h"

#include <cstdio>
#include <ostream>
#include <string_view>
#include <utility>

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

std::string visibleControls(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const auto escape = [&out](unsigned char byte) {
        char escaped[8];
        // Four characters and the terminator always fit.
        static_cast<void>(std::snprintf(escaped, sizeof escaped, "\\x%02X", byte));
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

void StreamMessages::setDisplayName(std::string path, std::string shown)
{
    m_displayPath = std::move(path);
    m_displayName = std::move(shown);
}

void StreamMessages::writeText(const char* type, const platform::Message& message)
{
    // toUtf8 replaces whatever is not text of the active code page, so both
    // formats are valid UTF-8 whatever the presentation holds.
    if (!message.file.empty()) {
        m_out << visibleControls(
            platform::toUtf8(message.file == m_displayPath ? m_displayName : message.file));
        if (message.line > 0) {
            m_out << ':' << message.line << ':' << message.column;
        }
        m_out << ": ";
    }
    if (std::string_view(type) == "warning") {
        m_out << "warning: ";
    }
    m_out << visibleControls(platform::toUtf8(message.caption)) << ": "
          << visibleControls(platform::toUtf8(message.text));
    if (!message.reason.empty()) {
        m_out << " (" << visibleControls(message.reason) << ')';
    }
    m_out << '\n';
}

void StreamMessages::writeJson(const char* type, const platform::Message& message)
{
    m_out << "{\"type\":\"" << type << '"';
    if (*message.id != '\0') {
        m_out << ",\"id\":" << jsonString(message.id);
    }
    m_out << ",\"caption\":" << jsonString(platform::toUtf8(message.caption))
          << ",\"text\":" << jsonString(platform::toUtf8(message.text));
    if (!message.file.empty()) {
        m_out << ",\"file\":" << jsonString(platform::toUtf8(message.file));
    }
    if (message.line > 0) {
        m_out << ",\"line\":" << message.line << ",\"column\":" << message.column;
    }
    if (!message.reason.empty()) {
        m_out << ",\"reason\":" << jsonString(message.reason);
    }
    m_out << "}\n";
}

void StreamMessages::report(const platform::Message& message)
{
    const bool warning = message.severity == platform::Message::Severity::Warning;
    ++(warning ? m_warnings : m_errors);
    const char* type = warning ? "warning" : "error";
    if (m_format == MessageFormat::Json) {
        writeJson(type, message);
    } else {
        writeText(type, message);
    }
    m_out.flush();
}

void StreamMessages::error(const std::string& text, const std::string& caption)
{
    platform::Message message;
    message.text = text;
    message.caption = caption;
    report(message);
}

bool StreamMessages::ask(const std::string& text, const std::string& caption)
{
    platform::Message message;
    message.text = text;
    message.caption = caption;
    if (m_format == MessageFormat::Json) {
        writeJson("question", message);
    } else {
        writeText("question", message);
    }
    m_out.flush();
    return false;
}

} // namespace orvo::cli
