// The emotion map loader on arbitrary file bytes, and its echo file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "config/emotionmap.h"
#include "platform/messages.h"
#include "support/tempdir.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace config = orvo::config;
namespace pf = orvo::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    const orvo::test::TempDir& folder = fz::workFolder();
    config::EmotionMap map;
    map.setFileName(folder.write("emotionmap.txt", input.bytes));
    pf::RecordingMessages messages;
    fz::require(map.load(messages), "a readable emotion map loads");
    fz::require(map.writeEcho(folder.file("emotionmap-echo.txt"), messages),
                "the echo of a loaded map is written");
    fz::require(messages.count() == 0, "loading and echoing a readable file show no message");

    if (const config::CharacterEmotions* character = map.lookup("Orvi")) {
        character->lookup("happy");
    }
    return 0;
}
