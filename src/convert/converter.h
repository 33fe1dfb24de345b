#pragma once

// The one entry into the converter: turns a presentation whose markup file
// has been read and parsed into the output folder (the markup folder followed
// by workingDir): the two navigation images, the debug frame page, the index
// page and one page file per page of the body; on request also the agent
// runtime that makes the pages play by themselves.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace orvo::platform {
class Messages;
}

namespace orvo::config {
class Presentation;
}

namespace orvo::convert {

// Called after each page file with the pages done and the page count.
using ProgressCallback = std::function<void(std::size_t done, std::size_t total)>;

// Asked before each page; true stops the conversion there.
using CancelCheck = std::function<bool()>;

struct ConvertOptions {
    ProgressCallback progress;
    // When it says so, the conversion stops before the next page: the pages
    // written so far stay, the tree stays, and convert returns false without
    // a message (the user asked for it).
    CancelCheck cancelRequested;
    // The agent runtime's script, as bytes. When set, it is written into the
    // output folder (kPlayerFileName) and every page loads it, so that the
    // folder plays in a browser by itself. Where the script comes from is the
    // caller's business. Unset: the plain conversion.
    std::optional<std::string> playerScript;
};

// True when the output folder was rebuilt and every page was attempted (pages
// that failed have shown their own messages); the tree is then released.
// False after a message when the output folder is unsafe or cannot be
// emptied, when the body or its pages are missing, or when the agent
// runtime's script cannot be written, or when the conversion was cancelled;
// the tree then stays.
bool convert(config::Presentation& presentation, platform::Messages& messages,
             const ConvertOptions& options = {});

} // namespace orvo::convert
