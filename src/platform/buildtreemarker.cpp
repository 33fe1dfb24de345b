#include "platform/buildtreemarker.h"

#include <filesystem>
#include <string_view>

#include "platform/textfile.h"

namespace orvo::platform {

BuildTreePaths readBuildTreeMarker(const std::string& executablePath)
{
    BuildTreePaths paths;
    if (executablePath.empty()) {
        return paths;
    }
    const std::filesystem::path marker =
        std::filesystem::path(executablePath).parent_path() / kBuildTreeMarkerName;
    TextReader reader;
    if (!reader.open(marker.string())) {
        return paths;
    }
    std::string line;
    while (reader.readLine(line)) {
        const std::string_view text = line;
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = text.substr(0, equals);
        const std::string value(text.substr(equals + 1));
        if (key == "dataDir") {
            paths.dataDir = value;
            if (!paths.dataDir.empty() && paths.dataDir.back() != '/') {
                paths.dataDir.push_back('/');
            }
        } else if (key == "playerBundle") {
            paths.playerBundle = value;
        } else if (key == "localeDir") {
            paths.localeDir = value;
        }
    }
    return paths;
}

} // namespace orvo::platform
