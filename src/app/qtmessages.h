#pragma once

// Message boxes of the window: the core's errors and questions shown with
// QMessageBox. Texts and captions arrive in the active code page and are
// decoded for display.

#include "platform/messages.h"

class QString;

namespace orvo::app {

class QtMessages final : public platform::Messages {
public:
    // An application-modal box without owner, the error icon and OK.
    void error(const std::string& text, const std::string& caption) override;
    // A Yes/No box without icon; true for Yes.
    bool ask(const std::string& text, const std::string& caption) override;
};

// Text of the active code page as Qt shows it.
QString displayText(const std::string& localText);

} // namespace orvo::app
