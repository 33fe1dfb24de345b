// The command-line options of `orvo`: the input, split at NUL bytes, is the
// argument list, run in process against a home, settings and markup files in
// the work folder.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/speechcommand.h"
#include "config/settings.h"
#include "support/tempdir.h"
#include "fuzzsupport.h"

namespace fz = orvo::fuzz;
namespace cli = orvo::cli;

namespace {

// What the arguments may name: a settings file and a presentation with one
// page, all in the work folder.
const orvo::test::TempDir& prepareFolder()
{
    const orvo::test::TempDir& folder = fz::workFolder();
    folder.write("ViewOrvo.ini", "tagTypeFile=tagtypes.txt\nemotionMapFile=emotionmap.txt\n"
                                 "previousImage=previous.gif\nnextImage=next.gif\n"
                                 "debugFrameFile=DebugFrame.html\nworkingDir=pages/\n"
                                 "settingDir=" +
                                     fz::dataFolder() + "\ntempDir=" + folder.path() + "\n");
    folder.write("a.orv", "<orvo>\n<agent character=\"Orvi\"/>\n<body>\n<page ref=\"a.html\">"
                          "<speak>Hi</speak></page>\n</body>\n</orvo>\n");
    folder.write("a.html", "<html><head></head><body>a</body></html>\n");
    folder.write("player.js", "/* runtime */\n");
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fz::Input input;
    if (!fz::takeInput(data, size, input)) {
        return 0;
    }
    static const orvo::test::TempDir& folder = prepareFolder();
    std::vector<std::string> args;
    std::string_view rest = input.bytes;
    for (;;) {
        const std::size_t nul = rest.find('\0');
        args.emplace_back(rest.substr(0, nul));
        if (nul == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(nul + 1);
    }
    // Speaking a long text only makes a run slow: fuzz_speech covers the
    // synthesizer on its own, this target the options of orvo speak.
    if (!args.empty() && args.front() == "speak" && input.bytes.size() > 200) {
        return 0;
    }
    // Every file that a run may write stays in the work folder: no absolute
    // markup paths and no climbing out of it.
    for (const std::string& arg : args) {
        if (arg.find("..") != std::string::npos || (!arg.empty() && arg.front() == '/')) {
            return 0;
        }
    }

    cli::Environment env;
    env.settings.home = folder.file("home");
    env.dataDir = fz::dataFolder();
    env.playerBundle = folder.file("player.js");
    env.workingFolder = folder.path();
    env.localeCodeset = "UTF-8";
    env.speechCommands = cli::runSpeechCommand;
    orvo::config::Settings settings;
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::run(args, env, settings, out, err);
    fz::require(status == cli::kExitOk || status == cli::kExitFailed || status == cli::kExitUsage,
                "the exit status is 0, 1 or 2");
    // (orvo hear names itself: "orvo hear: ...".)
    fz::require(status != cli::kExitUsage || err.str().rfind("orvo: ", 0) == 0 ||
                    err.str().rfind("orvo hear: ", 0) == 0,
                "a usage error says what is wrong");
    // Arguments reach the terminal as visible escapes, never as control
    // sequences.
    fz::require(out.str().find('\x1b') == std::string::npos &&
                    err.str().find('\x1b') == std::string::npos,
                "no escape character reaches the terminal");
    return 0;
}
