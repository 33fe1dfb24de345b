#include "config/settings.h"

#include <array>
#include <string_view>
#include <utility>

#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::config {

namespace pf = orvo::platform;

namespace {

// "Setting file : %s cannot be opened".
constexpr const char* kCannotOpenSettings = "Setting file : %sがｵｰﾌﾟﾝできない";

struct Key {
    std::string_view name;
    std::string Settings::*field;
};

// The keys in the order of the fields; each key bears its field's name.
constexpr std::array<Key, 9> kKeys{{
    {"tagTypeFile", &Settings::tagTypeFile},
    {"emotionMapFile", &Settings::emotionMapFile},
    {"previousImage", &Settings::previousImage},
    {"nextImage", &Settings::nextImage},
    {"debugFrameFile", &Settings::debugFrameFile},
    {"welcomePageFile", &Settings::welcomePageFile},
    {"settingDir", &Settings::settingDir},
    {"tempDir", &Settings::tempDir},
    {"workingDir", &Settings::workingDir},
}};

} // namespace

Settings& settings()
{
    static Settings instance;
    return instance;
}

bool readSettings(const std::string& path, Settings& into, pf::Messages& messages)
{
    pf::TextReader reader;
    if (!reader.open(path)) {
        std::string reason = pf::lastSystemReason();
        pf::reportFileError(messages, pf::ids::kSettingsUnreadable,
                            pf::fillLocalTemplate(kCannotOpenSettings, path),
                            pf::localText(pf::texts::kReadError), path, std::move(reason));
        return false;
    }
    std::string line;
    while (reader.readLine(line)) {
        const std::size_t equals = pf::find(line, "=");
        if (equals == pf::npos) {
            continue;
        }
        const std::string_view view = line;
        const std::string_view key = pf::trimView(view.substr(0, equals));
        for (const Key& known : kKeys) {
            if (key == known.name) {
                into.*known.field = pf::trim(view.substr(equals + 1));
                break;
            }
        }
    }
    return true;
}

} // namespace orvo::config
