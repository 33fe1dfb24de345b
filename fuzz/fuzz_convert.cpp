// The whole conversion: a fuzzed markup file, beside two fixed source pages,
// read, parsed and converted with the data folder's tables into an output
// folder below the work folder, as `orvo convert` does it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "config/presentation.h"
#include "config/settings.h"
#include "convert/converter.h"
#include "platform/messages.h"
#include "support/tempdir.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace config = orvo::config;
namespace convert = orvo::convert;
namespace pf = orvo::platform;

namespace {

// Upper case, a relative background, a Shift-JIS character whose trail byte
// is a backslash, and everything on few lines.
constexpr std::string_view kPageA =
    "<HTML><HEAD><TITLE>\x95\x5c A</TITLE>\r\n"
    "</HEAD>\r\n"
    "<BODY BACKGROUND=\"back.gif\"><IMG SRC=\"pic.gif\"><IMG SRC=http://x/y.gif>\r\n"
    "<P>\x82\xa0\x82\xa2 text</P></BODY></HTML>\r\n";
// Lower case, a body start tag that ends on a later line, and no line end at
// the end of the file.
constexpr std::string_view kPageB = "<html>\n<head></head><body\n"
                                    " bgcolor=\"white\">\n<img src = 'sub/pic.gif'>\n"
                                    "</body></html>";
constexpr std::string_view kPlayerScript = "/* the agent runtime */\n";

config::Settings makeSettings(const orvo::test::TempDir& folder)
{
    config::Settings settings;
    settings.tagTypeFile = "tagtypes.txt";
    settings.emotionMapFile = "emotionmap.txt";
    settings.previousImage = "previous.gif";
    settings.nextImage = "next.gif";
    settings.debugFrameFile = "DebugFrame.html";
    settings.welcomePageFile = fz::dataFolder() + "welcome.html";
    settings.settingDir = fz::dataFolder();
    settings.tempDir = folder.file("tmp/");
    settings.workingDir = "out/";
    std::filesystem::create_directories(settings.tempDir);
    folder.write("a.html", kPageA);
    folder.write("b.html", kPageB);
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    const orvo::test::TempDir& folder = fz::workFolder();
    static config::Settings settings = makeSettings(folder);

    pf::RecordingMessages messages;
    config::Presentation presentation(messages, settings);
    fz::require(presentation.loadTables(), "the data folder's tables load");
    presentation.setMarkupPath(folder.write("show.orv", input.bytes));
    if (!presentation.readMarkupFile() || !presentation.parseTree()) {
        return 0;
    }

    convert::ConvertOptions options;
    if (input.withPlayer) {
        options.playerScript = std::string(kPlayerScript);
    }
    std::size_t lastDone = 0;
    options.progress = [&lastDone](std::size_t done, std::size_t total) {
        fz::require(done == lastDone + 1 && done <= total, "progress counts every page once");
        lastDone = done;
    };
    const std::size_t shownBefore = messages.count();
    const convert::ConvertResult result = convert::convert(presentation, messages, options);
    const bool converted = result.ok();
    fz::require(result.pagesWritten + result.problems >= result.pageCount || !converted,
                "a conversion accounts for every page");
    fz::require(converted == (presentation.getRoot() == nullptr),
                "a conversion releases the tree exactly when it succeeds");
    fz::require(converted || messages.count() > shownBefore, "a failed conversion shows a message");
    return 0;
}
