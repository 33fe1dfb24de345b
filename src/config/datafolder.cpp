#include "config/datafolder.h"

#include <filesystem>
#include <system_error>

#include "config/settings.h"
#include "platform/messages.h"
#include "platform/textformat.h"

namespace orvo::config {

namespace {

constexpr const char* kDataFolderCaption = "settingDir";
constexpr platform::Template<platform::Text> kNoDataFolder{
    "This program's data folder was not found: it belongs in ../share/vieworvo/data/ "
    "beside the program. Reinstall ViewOrvo, or name a data folder with settingDir in "
    "the settings file %s"};
constexpr platform::Template<platform::Text, platform::Text> kMissingDataFolder{
    "The settings file %s names the data folder %s (settingDir), which does not exist. "
    "To reset it, empty or remove the settingDir line of that file, which then means "
    "the data folder of the installed program; or delete the file, which is made again "
    "at the next start"};

} // namespace

bool completeDataFolder(Settings& settings, const std::string& programDataDir,
                        const std::string& settingsPath, platform::Messages& messages)
{
    if (settings.settingDir.empty()) {
        if (programDataDir.empty()) {
            messages.error(platform::fillTemplate(kNoDataFolder, settingsPath), kDataFolderCaption);
            return false;
        }
        settings.settingDir = programDataDir;
    } else {
        std::error_code error;
        if (!std::filesystem::is_directory(settings.settingDir, error)) {
            messages.error(
                platform::fillTemplate(kMissingDataFolder, settingsPath, settings.settingDir),
                kDataFolderCaption);
            return false;
        }
    }
    if (settings.welcomePageFile.empty()) {
        settings.welcomePageFile = settings.settingDir + kWelcomePageName;
    }
    return true;
}

} // namespace orvo::config
