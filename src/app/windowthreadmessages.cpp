#include "app/windowthreadmessages.h"

#include <QMetaObject>
#include <QThread>

namespace orvo::app {

void WindowThreadMessages::error(const std::string& text, const std::string& caption)
{
    if (QThread::currentThread() == m_home.thread()) {
        m_target.error(text, caption);
        return;
    }
    QMetaObject::invokeMethod(
        &m_home, [&] { m_target.error(text, caption); }, Qt::BlockingQueuedConnection);
}

bool WindowThreadMessages::ask(const std::string& text, const std::string& caption)
{
    if (QThread::currentThread() == m_home.thread()) {
        return m_target.ask(text, caption);
    }
    bool yes = false;
    QMetaObject::invokeMethod(
        &m_home, [&] { yes = m_target.ask(text, caption); }, Qt::BlockingQueuedConnection);
    return yes;
}

} // namespace orvo::app
