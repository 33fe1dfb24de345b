#pragma once

// The one road by which the core shows something to the user: error boxes,
// warnings and Yes/No questions. Texts and captions are bytes in the active
// code page, exactly as the program defines them; the shell, the CLI and the
// tests each provide an implementation.

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace orvo::platform {

// An error or a warning with what a reader of the text would have to guess:
// which kind of message it is and where its cause lies.
struct Message {
    enum class Severity { Error, Warning };
    Severity severity = Severity::Error;
    // Stable per kind of message (messageids.h), so that tools need not
    // parse texts, which depend on the language.
    const char* id = "";
    std::string text;
    std::string caption;
    // The file it is about (active code page); empty when none.
    std::string file;
    // 1-based position in `file`; 0 when the message is about the whole file.
    std::size_t line = 0;
    std::size_t column = 0;
    // The operating system's reason when a file operation failed (UTF-8).
    std::string reason;
};

class Messages {
public:
    virtual ~Messages();
    // An error box: task-modal, error icon, one OK button.
    virtual void error(const std::string& text, const std::string& caption) = 0;
    // A Yes/No question without icon; true for Yes.
    virtual bool ask(const std::string& text, const std::string& caption) = 0;
    // An error with its id and position, or a warning. By default an error is
    // shown as error(text, caption), the box it always was, and a warning is
    // not shown: only the tools that check a presentation list them.
    virtual void report(const Message& message);
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
    // Records errors as error() does, and every report, warnings included.
    void report(const Message& message) override;

    void queueAnswer(bool yes);
    const std::vector<Entry>& entries() const { return m_entries; }
    std::size_t count() const { return m_entries.size(); }
    const std::vector<Message>& reports() const { return m_reports; }
    void reset()
    {
        m_entries.clear();
        m_reports.clear();
    }

private:
    std::vector<Entry> m_entries;
    std::vector<Message> m_reports;
    std::deque<bool> m_answers;
};

} // namespace orvo::platform
