#pragma once

// Messages that may come from any thread and are always shown on the
// window's: from another thread (a conversion on a worker) each message is
// handed over to the thread that made this object, and the caller waits
// until it was shown and answered. So the messages keep their order, and
// whatever raised one goes on only after the user saw it, as with a message
// box on the window's own thread.

#include "platform/messages.h"

#include <QObject>

namespace orvo::app {

class WindowThreadMessages final : public platform::Messages {
public:
    // `target` shows the messages; it must outlive this object.
    explicit WindowThreadMessages(platform::Messages& target) : m_target(target) {}

    void error(const std::string& text, const std::string& caption) override;
    bool ask(const std::string& text, const std::string& caption) override;

private:
    // Lives in the thread that made this object: the messages run there.
    QObject m_home;
    platform::Messages& m_target;
};

} // namespace orvo::app
