#pragma once

// The one message for a file that cannot be opened, read or written: "File %s
// cannot be opened", with a caption that says which way the file was used
// (texts::kReadError, kWriteError or kWriteOutError).

#include <string>

namespace orvo::platform {

class Messages;

// `captionUtf8` is one of the captions of standardtexts.h; both texts reach
// the user in the active code page.
void reportCannotOpen(Messages& messages, const std::string& path, const char* captionUtf8);

} // namespace orvo::platform
