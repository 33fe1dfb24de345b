#pragma once

// The nine values of the settings file, one instance for the whole run.
// Folder values end with "/" and paths are joined by plain concatenation.

#include <string>

namespace orvo::platform {
class Messages;
}

namespace orvo::config {

struct Settings {
    std::string tagTypeFile;
    std::string emotionMapFile;
    std::string previousImage;
    std::string nextImage;
    std::string debugFrameFile;
    std::string welcomePageFile;
    std::string settingDir;
    std::string tempDir;
    std::string workingDir;
};

// The process-wide instance: empty at start, filled once when the document is
// created, unchanged afterwards.
Settings& settings();

// Reads key=value lines into `into`. False (after a read-error box) when the
// file cannot be opened; the values are then left as they were.
bool readSettings(const std::string& path, Settings& into, platform::Messages& messages);

} // namespace orvo::config
