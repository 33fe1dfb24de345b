#pragma once

// The data folder of the program that runs, as the settings file reaches it.
//
// The user's settings file is made once and outlives the program that made
// it: a program run from a build tree, then installed, then updated. So the
// file does not name the data folder: an empty settingDir means the data
// folder of the program that runs (found beside the program, see
// platform/settingslocation.h), and an empty welcomePageFile the welcome
// page in it. A settingDir that names a folder which no longer exists would
// otherwise end in one message per table and resource; it gets one message
// that names the settings file and says how to reset it.

#include <string>

namespace orvo::platform {
class Messages;
}

namespace orvo::config {

struct Settings;

// The welcome page's name in the data folder.
inline constexpr const char* kWelcomePageName = "welcome.html";

// Completes `settings`, just read from `settingsPath`, with the program's
// data folder `programDataDir` (ending with "/"; empty when the program has
// none). False, after one message, when settingDir is empty and there is no
// data folder, or when settingDir names a folder that does not exist; the
// tables are then not worth loading.
bool completeDataFolder(Settings& settings, const std::string& programDataDir,
                        const std::string& settingsPath, platform::Messages& messages);

} // namespace orvo::config
