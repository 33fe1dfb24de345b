#pragma once

// Where the settings file lies on Linux, and its creation on first start.
//
// The settings file is, in this order of precedence: the file named by the
// command line's --settings, the file named by $VIEWORVO_INI, or the user
// file $XDG_CONFIG_HOME/ViewOrvo.ini (~/.config/ViewOrvo.ini). Only the user
// file is created when it is missing: from the installation's template, with
// tempDir naming the user's cache folder $XDG_CACHE_HOME/vieworvo/
// (~/.cache/vieworvo/). The template leaves settingDir empty, which the
// programs read as their own data folder (config/datafolder.h), so that the
// file keeps working when the program is installed elsewhere or updated. A file named
// explicitly is never created, so that a wrong name is reported, not papered
// over.
//
// The core reads no environment: the caller passes the values in.

#include <string>

namespace orvo::platform {

// The inputs that decide the location, as the caller read them; an empty
// string stands for "not given" or "not set".
struct SettingsSources {
    std::string option;      // --settings FILE
    std::string iniVariable; // $VIEWORVO_INI
    std::string configHome;  // $XDG_CONFIG_HOME
    std::string cacheHome;   // $XDG_CACHE_HOME
    std::string home;        // $HOME
};

inline constexpr const char* kSettingsFileName = "ViewOrvo.ini";
// The template in the installation's data folder. Its "@DATA_DIR@" and
// "@CACHE_DIR@" become the data folder and the cache folder.
inline constexpr const char* kSettingsTemplateName = "ViewOrvo.ini.template";
inline constexpr const char* kDataDirMarker = "@DATA_DIR@";
inline constexpr const char* kCacheDirMarker = "@CACHE_DIR@";

// True when neither --settings nor $VIEWORVO_INI names a file.
bool usesUserSettingsFile(const SettingsSources& sources);

// The settings file to read. A relative XDG value is ignored, as the XDG base
// directory rules ask; without any base folder the user file has no place
// and the result is empty (which then reads as a file that cannot be opened).
std::string settingsFilePath(const SettingsSources& sources);

// The user's cache folder for the echo files, ending with "/"; empty when
// there is no base folder.
std::string userCacheFolder(const SettingsSources& sources);

// Writes `target` from the template at `templatePath` with the two markers
// replaced, creating the folders on the way. The file appears whole or not
// at all. False when the template cannot be read or the file not written.
bool createSettingsFromTemplate(const std::string& templatePath, const std::string& target,
                                const std::string& dataDir, const std::string& cacheDir);

// What a program does before it reads its settings: decides the settings
// file and, when it is the user file, creates it on first start and makes sure
// the cache folder exists. `dataDir` is the installation's data folder,
// ending with "/", or empty when there is none (nothing is created then).
// Returns the path to read; any failure on the way shows later as a settings
// file that cannot be opened or an echo file that cannot be written.
std::string prepareSettingsFile(const SettingsSources& sources, const std::string& dataDir);

// The installation's data folder for a program at `executablePath`:
// <bin>/../share/vieworvo/data/ when that holds the settings template (an
// installed program; the examples lie beside it in ../examples/), else
// `buildTreeDataDir` (a program run from its build tree, which uses the
// source tree's data/ without installing; see buildtreemarker.h). Empty when
// neither is known: a copied program without its data.
std::string findDataFolder(const std::string& executablePath, const std::string& buildTreeDataDir);

} // namespace orvo::platform
