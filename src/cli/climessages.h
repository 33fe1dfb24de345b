#pragma once

// Messages of the command-line tool: every box becomes one line on a stream
// (stderr in the tool), "CAPTION: TEXT". Texts of the active code page are
// written as UTF-8, so a Shift-JIS run prints readable Japanese on a UTF-8
// terminal. Questions are never put to the user here: they are printed the
// same way and answered No.

#include <iosfwd>

#include "platform/messages.h"

namespace orvo::cli {

class StreamMessages final : public platform::Messages {
public:
    explicit StreamMessages(std::ostream& out) : m_out(out) {}

    void error(const std::string& text, const std::string& caption) override;
    bool ask(const std::string& text, const std::string& caption) override;

private:
    std::ostream& m_out;
};

} // namespace orvo::cli
