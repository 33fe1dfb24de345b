#include "cli/climessages.h"

#include <ostream>

#include "platform/encoding.h"

namespace orvo::cli {

void StreamMessages::error(const std::string& text, const std::string& caption)
{
    m_out << platform::toUtf8(caption) << ": " << platform::toUtf8(text) << '\n';
    m_out.flush();
}

bool StreamMessages::ask(const std::string& text, const std::string& caption)
{
    error(text, caption);
    return false;
}

} // namespace orvo::cli
