#pragma once

// The index page of the debug mode, debugMain.html: one link per page,
// opening the pages in the frame "up_frame" of the debug frame page.

#include <string>

namespace orvo::platform {
class Messages;
class OpenFolder;
} // namespace orvo::platform

namespace orvo::convert {

std::string indexPageText(int pageCount);

// Writes the index page; false after a message when it cannot be written.
bool writeIndexPage(const std::string& path, int pageCount, platform::Messages& messages);
// The same, as the new file "debugMain.html" of an opened output folder.
bool writeIndexPage(const platform::OpenFolder& output, int pageCount,
                    platform::Messages& messages);

} // namespace orvo::convert
