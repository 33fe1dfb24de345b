#pragma once

// Speech text comes from presentations and command lines in the active code
// page; the synthesizer reads UTF-8. Shift-JIS is converted first, and
// invalid bytes become "?" so that espeak-ng never sees broken UTF-8.

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace orvo::speech {

std::string speechTextAsUtf8(std::string_view text, platform::CodePage page);

} // namespace orvo::speech
