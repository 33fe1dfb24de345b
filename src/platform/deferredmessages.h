#pragma once

// Messages held back and shown later, in the order they were given: for work
// whose messages must wait for the outcome of something still running on
// another thread (a page file being written) so that the user sees them in
// the order the work was done.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"

namespace orvo::platform {

class DeferredMessages final : public Messages {
public:
    // One held-back error box or report.
    struct Held {
        bool isReport = false;
        Message message;
    };
    using List = std::vector<Held>;

    // `target` shows the messages when they are replayed.
    explicit DeferredMessages(Messages& target) : m_target(target) {}

    // A question cannot wait for its answer: before it is asked, `show` shows
    // everything held back so far (also what other lists hold), then the list
    // being filled is replayed and the question goes straight to the target.
    void beforeQuestion(std::function<void()> show) { m_beforeQuestion = std::move(show); }

    // Where the messages go from now on; null: straight to the target.
    void holdIn(List* list) { m_list = list; }

    // Shows the messages of `list` in their order and empties it (keeping its
    // storage for the next use).
    void replay(List& list);

    Messages& target() { return m_target; }

    void error(const std::string& text, const std::string& caption) override;
    bool ask(const std::string& text, const std::string& caption) override;
    void report(const Message& message) override;

private:
    Messages& m_target;
    std::function<void()> m_beforeQuestion;
    List* m_list = nullptr;
};

} // namespace orvo::platform
