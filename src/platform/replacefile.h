#pragma once

// Replacing a file as a whole, for files written into folders that others may
// write to as well (the echo files go to tempDir, which may be a shared /tmp).
// Opening the path itself would follow a symbolic link planted there and
// overwrite whatever it points to; instead the text goes into a new file of
// its own beside the path, which is then renamed onto it. A link at the path
// is replaced, never followed, and readers never see a half-written file.

#include <string>
#include <string_view>

namespace orvo::platform {

// Writes text with every LF as CR LF to a new temporary file in path's folder
// (created exclusively, readable by the user only) and renames it onto path.
// False when any step fails; the temporary file is then removed and path is
// left as it was.
bool replaceTextFile(const std::string& path, std::string_view text);

} // namespace orvo::platform
