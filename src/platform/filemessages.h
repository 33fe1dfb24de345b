#pragma once

// Messages about one file: the one for a file that cannot be opened, read or
// written, "File %s cannot be opened", with a caption that says which way the
// file was used (texts::kReadError, kWriteError or kWriteOutError), and any
// other error that a failed file operation causes. Each names the file and
// the operating system's reason.

#include <string>

#include "platform/messages.h"

namespace orvo::platform {

// The operating system's reason for the last failed call (errno), or "" when
// there is none. Take it right after the call, before anything else runs.
std::string lastSystemReason();

// `captionUtf8` is one of the captions of standardtexts.h; both texts reach
// the user in the active code page. The id follows the caption.
void reportCannotOpen(Messages& messages, const std::string& path, const char* captionUtf8);

// An error about `path` with the reason of the file operation that failed.
void reportFileError(Messages& messages, const char* id, std::string text, std::string caption,
                     const std::string& path, std::string reason);

} // namespace orvo::platform
