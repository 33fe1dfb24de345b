#pragma once

// The two parts of the output folder rule: the markup folder, and the
// workingDir that names the output folder inside it. outputFolderOf
// (converter.h) puts them together for a presentation.

#include <string>
#include <string_view>

namespace orvo::convert {

// The markup path up to and including its last "/"; empty without one.
std::string markupFolderOf(std::string_view markupPath);

// True when workingDir is exactly one plain folder name followed by one "/":
// the name is not empty, not "." or "..", and holds no "/" or "\". Anything
// else could make the output folder the markup folder itself or a folder
// outside it, and the output folder is emptied by every conversion.
bool isSafeWorkingDir(std::string_view workingDir);

} // namespace orvo::convert
