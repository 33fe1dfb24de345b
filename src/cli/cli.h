#pragma once

// The `orvo` command-line tool as a function, so that tests run it in
// process. main() gathers what the program reads from its surroundings (the
// environment, the locale, its own location, the working folder) and passes
// it in; nothing below reads any of it by itself.
//
//   orvo check|convert [--settings FILE] [--codepage utf-8|shift_jis]
//                      [--message-format text|json] [--quiet] FILE.orv
//   orvo convert --with-player ... FILE.orv
//   orvo speak|voices|hear ...   (Environment::speechCommands)
//   orvo --help | --version
//
// Exit status: 0 when every stage succeeded, 1 when a stage failed (its
// message is on `err`), 2 for a usage error.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/settingslocation.h"

namespace orvo::config {
struct Settings;
}

namespace orvo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Environment {
    std::string codePageVariable;       // $ORVO_CODEPAGE
    std::string localeCodeset;          // nl_langinfo(CODESET) of the user's locale
    platform::SettingsSources settings; // all but `option`, which --settings fills
    std::string dataDir;                // the installation's data folder, ending with "/"
    std::string playerBundle;           // the agent runtime that --with-player copies
    std::string workingFolder;          // makes relative markup paths absolute
    bool stderrIsTerminal = false;      // progress is shown only on a terminal
    // Called with the exit status once a run has printed everything, before
    // the presentation is torn down: the tool ends the process there, as
    // compilers do, since freeing a large tree node by node is work that the
    // system does at once (a tenth of a check's time). Unset (tests): run()
    // returns as usual.
    void (*endProcess)(int status) = nullptr;
    // Runs `orvo speak`, `orvo voices` and `orvo hear`, `args` starting with
    // the command's name. The tool loads them from its speech module when one
    // is run (speechmodule.h), so that checks and conversions never load the
    // speech engines; tests link them in (speechcommand.h). Unset: the
    // commands fail, saying that the program has none.
    std::function<int(const std::vector<std::string>& args, const Environment& env,
                      std::ostream& out, std::ostream& err)>
        speechCommands;
};

// Where the agent runtime (orvo-player.js) of a program at `executablePath`
// lies: <bin>/../share/vieworvo/orvo-player.js in an installation (a program
// beside a share/vieworvo folder), else `buildTreeBundle` (a program run from
// its build tree, which uses the bundle that the build made).
std::string findPlayerBundle(const std::string& executablePath, const std::string& buildTreeBundle);

// `args` holds the arguments after the program name. `settings` receives the
// settings file's values (the process-wide Settings in the tool).
int run(const std::vector<std::string>& args, const Environment& env, config::Settings& settings,
        std::ostream& out, std::ostream& err);

} // namespace orvo::cli
