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

#include "convert/forward.h"

namespace orvo::convert {

// Called after each page file with the pages done and the page count.
using ProgressCallback = std::function<void(std::size_t done, std::size_t total)>;

// Asked before each page; true stops the conversion there.
using CancelCheck = std::function<bool()>;

struct ConvertOptions {
    ProgressCallback progress;
    // When it says so, the conversion stops before the next page: the pages
    // written so far stay, the tree stays, and the result says Cancelled,
    // without a message (the user asked for it).
    CancelCheck cancelRequested;
    // The agent runtime's script, as bytes. When set, it is written into the
    // output folder (kPlayerFileName) and every page loads it, so that the
    // folder plays in a browser by itself. Where the script comes from is the
    // caller's business. Unset: the plain conversion.
    std::optional<std::string> playerScript;
};

// What a conversion did. It converts to true when the output folder was
// rebuilt and every page was attempted (pages that failed have shown their own
// messages and are counted in `problems`); the tree is then released.
// Otherwise `status` says which stage stopped it, after a message, and the
// tree stays.
struct ConvertResult {
    enum class Status {
        Ok,
        UnsafeOutputFolder, // workingDir is not one plain folder name
        UndeletableFile,    // the old output folder could not be emptied
        PlayerNotWritten,   // the agent runtime's script could not be written
        NoBody,             // the tree has no "body" tag
        NoPages,            // the body has no children
        Cancelled,          // asked to stop (no message): the pages so far stay
    };

    Status status = Status::Ok;
    // Where the pages are; empty when the folder was refused as unsafe.
    std::string outputFolder;
    // The pages of the body, and those whose file was written.
    std::size_t pageCount = 0;
    std::size_t pagesWritten = 0;
    // Files that could not be written although the conversion went on: page
    // files and the index page.
    std::size_t problems = 0;

    bool ok() const { return status == Status::Ok; }
    explicit operator bool() const { return ok(); }
};

// Where the presentation's pages go: its markup folder followed by the
// settings' workingDir. Nullopt when workingDir is not exactly one plain
// folder name and "/", since the output folder is emptied by every conversion.
std::optional<std::string> outputFolderOf(const config::Presentation& presentation);

[[nodiscard]] ConvertResult convert(config::Presentation& presentation,
                                    platform::Messages& messages,
                                    const ConvertOptions& options = {});

} // namespace orvo::convert
