#pragma once

// Messages of the command-line tool: every box becomes one line on a stream
// (stderr in the tool). As text, as compilers print them:
//     FILE:LINE:COLUMN: CAPTION: TEXT (REASON)
// with only the parts that are known ("FILE: CAPTION: TEXT" for a file as a
// whole, "CAPTION: TEXT" for no file), warnings as "...: warning: CAPTION:
// TEXT". As JSON, one object per line:
//     {"type":"error"|"warning","id":...,"caption":...,"text":...,
//      "file":...,"line":...,"column":...,"reason":...}
// where file, line, column and reason appear only when known. Texts of the
// active code page are written as UTF-8, so a Shift-JIS run prints readable
// Japanese on a UTF-8 terminal. Questions are never put to the user here:
// they are printed the same way and answered No. The errors and warnings are
// counted for the exit status and the summary. Text lines show control
// characters as escapes (see visibleControls).

#include <cstddef>
#include <iosfwd>
#include <string>

#include "platform/messages.h"

namespace orvo::cli {

enum class MessageFormat { Text, Json };

// The JSON string literal of UTF-8 text, quotes included.
std::string jsonString(const std::string& utf8);

// UTF-8 text as it may go to a terminal: every control character but tab and
// line feed (C0, DEL and the C1 range) shown as a visible escape such as
// "\x1B". Tag names, paths and speech texts come from presentations that
// strangers wrote, and raw escape sequences in them would retitle, clear or
// rewrite the user's terminal. A line feed stays, as the program's own
// messages break lines with it and it moves nothing but the cursor.
std::string visibleControls(const std::string& utf8);

class StreamMessages final : public platform::Messages {
public:
    explicit StreamMessages(std::ostream& out, MessageFormat format = MessageFormat::Text)
        : m_out(out), m_format(format)
    {
    }

    void error(const std::string& text, const std::string& caption) override;
    bool ask(const std::string& text, const std::string& caption) override;
    void report(const platform::Message& message) override;

    // Text lines name the file at `path` as `shown` (the markup file as the
    // user named it rather than its absolute path); JSON keeps the path.
    void setDisplayName(std::string path, std::string shown);

    std::size_t errors() const { return m_errors; }
    std::size_t warnings() const { return m_warnings; }

private:
    void writeText(const char* type, const platform::Message& message);
    void writeJson(const char* type, const platform::Message& message);

    std::ostream& m_out;
    MessageFormat m_format;
    std::string m_displayPath;
    std::string m_displayName;
    std::size_t m_errors = 0;
    std::size_t m_warnings = 0;
};

} // namespace orvo::cli
