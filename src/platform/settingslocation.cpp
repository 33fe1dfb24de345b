#include "platform/settingslocation.h"

#include <filesystem>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/textfile.h"

namespace orvo::platform {

namespace fs = std::filesystem;

namespace {

bool isAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

std::string withSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

// $XDG_<x>_HOME when it is absolute, else $HOME/<fallback>; empty when
// neither is usable.
std::string baseFolder(const std::string& xdgValue, const std::string& home, const char* fallback)
{
    if (isAbsolute(xdgValue)) {
        return withSlash(xdgValue);
    }
    if (isAbsolute(home)) {
        return withSlash(home) + fallback;
    }
    return {};
}

} // namespace

bool usesUserSettingsFile(const SettingsSources& sources)
{
    return sources.option.empty() && sources.iniVariable.empty();
}

std::string settingsFilePath(const SettingsSources& sources)
{
    if (!sources.option.empty()) {
        return sources.option;
    }
    if (!sources.iniVariable.empty()) {
        return sources.iniVariable;
    }
    const std::string base = baseFolder(sources.configHome, sources.home, ".config/");
    return base.empty() ? std::string() : base + kSettingsFileName;
}

std::string userCacheFolder(const SettingsSources& sources)
{
    const std::string base = baseFolder(sources.cacheHome, sources.home, ".cache/");
    return base.empty() ? std::string() : base + "vieworvo/";
}

bool createSettingsFromTemplate(const std::string& templatePath, const std::string& target,
                                const std::string& dataDir, const std::string& cacheDir)
{
    TextReader reader;
    if (!reader.open(templatePath)) {
        return false;
    }
    std::string text;
    std::string line;
    while (reader.readLine(line)) {
        line = replaceAll(line, kDataDirMarker, dataDir);
        line = replaceAll(line, kCacheDirMarker, cacheDir);
        text += line;
        text += '\n';
    }
    if (reader.failed()) {
        return false;
    }
    const std::size_t slash = target.rfind('/');
    if (slash != std::string::npos && slash > 0 && !createFolderPath(target.substr(0, slash))) {
        return false;
    }
    // Written beside the target and renamed into place, so that an
    // interrupted first start leaves no half-written settings file behind.
    const std::string partial = target + ".partial";
    if (!writeTextFile(partial, text) || !renameFile(partial, target)) {
        deletePlainFile(partial);
        return false;
    }
    return true;
}

std::string prepareSettingsFile(const SettingsSources& sources, const std::string& dataDir)
{
    const std::string path = settingsFilePath(sources);
    if (!usesUserSettingsFile(sources) || path.empty()) {
        return path;
    }
    // The cache folder may have been cleaned away since the first start;
    // without it no echo file could be written and no table would load.
    const std::string cacheDir = userCacheFolder(sources);
    if (!cacheDir.empty()) {
        createFolderPath(cacheDir);
    }
    // Without a data folder there is no template; the missing settings file
    // is then reported when it is read.
    if (!dataDir.empty() && !pathExists(path)) {
        createSettingsFromTemplate(dataDir + kSettingsTemplateName, path, dataDir, cacheDir);
    }
    return path;
}

std::string findDataFolder(const std::string& executablePath, const std::string& buildTreeDataDir)
{
    const fs::path installed =
        (fs::path(executablePath).parent_path() / ".." / "share" / "vieworvo" / "data")
            .lexically_normal();
    if (isRegularFile((installed / kSettingsTemplateName).string())) {
        return withSlash(installed.string());
    }
    return withSlash(buildTreeDataDir);
}

} // namespace orvo::platform
