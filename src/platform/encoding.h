#pragma once

// Conversions between UTF-8 and the active code page. The program's fixed
// Japanese texts are kept in UTF-8 in the source and converted before use;
// output that must be UTF-8 (JSON messages, the shell's display) is converted
// back. Bytes that cannot be converted are replaced by "?" so that no text is
// ever lost whole.

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace orvo::platform {

std::string convertCodePage(std::string_view text, CodePage from, CodePage to);

// UTF-8 source text in the user's language (see translation.h), in the
// active code page.
std::string localText(std::string_view utf8);
// Text of the active code page as UTF-8 (valid UTF-8 in every case).
std::string toUtf8(std::string_view local);

} // namespace orvo::platform
