#include "platform/deferredmessages.h"

namespace orvo::platform {

void DeferredMessages::replay(List& list)
{
    for (const Held& held : list) {
        if (held.isReport) {
            m_target.report(held.message);
        } else {
            m_target.error(held.message.text, held.message.caption);
        }
    }
    list.clear();
}

void DeferredMessages::error(const std::string& text, const std::string& caption)
{
    if (m_list == nullptr) {
        m_target.error(text, caption);
        return;
    }
    Held& held = m_list->emplace_back();
    held.message.text = text;
    held.message.caption = caption;
}

void DeferredMessages::report(const Message& message)
{
    if (m_list == nullptr) {
        m_target.report(message);
        return;
    }
    m_list->push_back(Held{true, message});
}

bool DeferredMessages::ask(const std::string& text, const std::string& caption)
{
    if (m_list != nullptr) {
        List* const list = m_list;
        if (m_beforeQuestion) {
            m_beforeQuestion();
        }
        replay(*list);
    }
    return m_target.ask(text, caption);
}

} // namespace orvo::platform
