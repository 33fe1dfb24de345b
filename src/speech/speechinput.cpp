#include "speech/speechinput.h"

#include "platform/encoding.h"

namespace orvo::speech {

std::string speechTextAsUtf8(std::string_view text, platform::CodePage page)
{
    return platform::convertCodePage(text, page, platform::CodePage::Utf8);
}

} // namespace orvo::speech
