#pragma once

// The one entry into the converter: turns a presentation whose markup file
// has been read and parsed into the output folder (the markup folder followed
// by workingDir): the two navigation images, the debug frame page, the index
// page and one page file per page of the body.

#include <cstddef>
#include <functional>

namespace orvo::platform {
class Messages;
}

namespace orvo::config {
class Presentation;
}

namespace orvo::convert {

// Called after each page file with the pages done and the page count.
using ProgressCallback = std::function<void(std::size_t done, std::size_t total)>;

// True when the output folder was rebuilt and every page was attempted (pages
// that failed have shown their own messages); the tree is then released.
// False after a message when the output folder is unsafe or cannot be
// emptied, or when the body or its pages are missing; the tree then stays.
bool convert(config::Presentation& presentation, platform::Messages& messages,
             const ProgressCallback& progress = {});

} // namespace orvo::convert
