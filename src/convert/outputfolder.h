#pragma once

// The file-system side of a conversion: the markup and output folders, and
// the small operations that rebuild the output folder.

#include <functional>
#include <string>
#include <string_view>

namespace orvo::platform {
class Messages;
}

namespace orvo::convert {

// The markup path up to and including its last "/"; empty without one.
std::string markupFolderOf(std::string_view markupPath);

// True when workingDir is exactly one plain folder name followed by one "/":
// the name is not empty, not "." or "..", and holds no "/" or "\". Anything
// else could make the output folder the markup folder itself or a folder
// outside it, and the output folder is emptied by every conversion.
bool isSafeWorkingDir(std::string_view workingDir);

// Deletes a file; false when it is still there. Replaceable for tests.
using FileDeleter = std::function<bool(const std::string& path)>;
bool deletePlainFile(const std::string& path);

struct RemoveResult {
    // The folder itself was removed.
    bool removed = false;
    // A file that could not be deleted; empty when every delete succeeded.
    // The clean-up stops at the first such file.
    std::string undeletable;
};

// Deletes the plain files directly inside folder (which ends with "/"), then
// the folder. Subfolders are skipped with their contents, and a symbolic link
// is deleted as a link: nothing outside the folder is ever touched.
RemoveResult removeFolder(const std::string& folder, const FileDeleter& deleter = deletePlainFile);

// Creates one folder; false when it exists already or cannot be made.
bool createFolder(const std::string& folder);

// Writes bytes as they are into a file, replacing an existing one. False when
// the file cannot be created or not every byte was written.
bool writeFile(const std::string& target, std::string_view bytes);

// Copies one file byte for byte, replacing an existing target. False when the
// source cannot be read (a folder included) or the target cannot be written.
bool copyFile(const std::string& source, const std::string& target);

// The index page of the debug mode: one link per page, opening the pages in
// the frame "up_frame".
std::string indexPageText(int pageCount);
void writeIndexPage(const std::string& path, int pageCount, platform::Messages& messages);

} // namespace orvo::convert
