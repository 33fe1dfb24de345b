#pragma once

// Messages of the command-line tool: every box becomes one line on a stream
// (stderr in the tool), "CAPTION: TEXT", or with the JSON format one object
// per line, {"type":"error","caption":"...","text":"..."}. Text lines show
// control characters as escapes (see visibleControls). Texts of the active code page are
// written as UTF-8, so a Shift-JIS run prints readable Japanese on a UTF-8
// terminal. Questions are never put to the user here: they are printed the
// same way and answered No.

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

private:
    void write(const char* type, const std::string& text, const std::string& caption);

    std::ostream& m_out;
    MessageFormat m_format;
};

} // namespace orvo::cli
