// The settings reader: a fuzzed settings file, read into Settings as the
// program reads its own at start-up.

#include <cstddef>
#include <cstdint>
#include <string>

#include "config/settings.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "support/tempdir.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace config = orvo::config;
namespace pf = orvo::platform;

namespace {

// A value is what follows the first "=" of its line, trimmed: it never holds
// a line end and never begins or ends with single-byte white space.
bool isCleanValue(const std::string& value)
{
    if (value.find('\n') != std::string::npos) {
        return false;
    }
    return value.empty() || (!pf::isSpace(value.front()) && !pf::isSpace(value.back()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    const std::string path = fz::workFolder().write("ViewOrvo.ini", input.bytes);
    config::Settings settings;
    pf::RecordingMessages messages;
    fz::require(config::readSettings(path, settings, messages), "a readable settings file reads");
    fz::require(messages.count() == 0, "reading a settings file shows no message");
    for (const std::string* value :
         {&settings.tagTypeFile, &settings.emotionMapFile, &settings.previousImage,
          &settings.nextImage, &settings.debugFrameFile, &settings.welcomePageFile,
          &settings.settingDir, &settings.tempDir, &settings.workingDir}) {
        fz::require(isCleanValue(*value), "settings values are trimmed single lines");
        fz::require(value->size() < input.bytes.size() || value->empty(),
                    "a value is a part of its line");
    }
    return 0;
}
