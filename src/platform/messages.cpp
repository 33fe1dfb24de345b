#include "platform/messages.h"

namespace orvo::platform {

Messages::~Messages() = default;

void Messages::report(const Message& message)
{
    if (message.severity == Message::Severity::Error) {
        error(message.text, message.caption);
    }
}

void RecordingMessages::report(const Message& message)
{
    m_reports.push_back(message);
    Messages::report(message);
}

void RecordingMessages::error(const std::string& text, const std::string& caption)
{
    m_entries.push_back({Kind::Error, text, caption});
}

bool RecordingMessages::ask(const std::string& text, const std::string& caption)
{
    m_entries.push_back({Kind::Question, text, caption});
    if (m_answers.empty()) {
        return false;
    }
    const bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingMessages::queueAnswer(bool yes)
{
    m_answers.push_back(yes);
}

} // namespace orvo::platform
