#pragma once

// The one road by which the core shows something to the user: error boxes and
// Yes/No questions. Texts and captions are bytes in the active code page,
// exactly as the program defines them; the shell, the CLI and the tests each
// provide an implementation.

#include <deque>
#include <string>
#include <vector>

namespace orvo::platform {

class Messages {
public:
    virtual ~Messages();
    // An error box: task-modal, error icon, one OK button.
    virtual void error(const std::string& text, const std::string& caption) = 0;
    // A Yes/No question without icon; true for Yes.
    virtual bool ask(const std::string& text, const std::string& caption) = 0;
};

// Records every message, for tests. Questions are answered from a queue of
// scripted answers (No once the queue is empty).
class RecordingMessages final : public Messages {
public:
    enum class Kind { Error, Question };
    struct Entry {
        Kind kind;
        std::string text;
        std::string caption;
        bool operator==(const Entry&) const = default;
    };

    void error(const std::string& text, const std::string& caption) override;
    bool ask(const std::string& text, const std::string& caption) override;

    void queueAnswer(bool yes);
    const std::vector<Entry>& entries() const { return m_entries; }
    std::size_t count() const { return m_entries.size(); }
    void reset() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
    std::deque<bool> m_answers;
};

} // namespace orvo::platform
