// The `orvo` tool: gathers what the program reads from its surroundings and
// hands it to cli::run, which does the work.

#include <langinfo.h>
#include <pwd.h>
#include <unistd.h>
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/speechmodule.h"
#include "config/settings.h"
#include "platform/buildtreemarker.h"
#include "platform/settingslocation.h"
#include "i18n/messagecatalog.h"

namespace {

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string homeFolder()
{
    std::string home = variable("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir) {
            home = entry->pw_dir;
        }
    }
    return home;
}

std::string executablePath()
{
    std::string path(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) {
            return {};
        }
        if (static_cast<std::size_t>(n) < path.size()) {
            path.resize(static_cast<std::size_t>(n));
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string workingFolder()
{
    std::string folder(4096, '\0');
    while (::getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE) {
            return {};
        }
        folder.resize(folder.size() * 2);
    }
    folder.resize(folder.find('\0'));
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    // Without the user's locale the character set is the C locale's, which
    // chooseCodePage takes as UTF-8: nothing to report.
    static_cast<void>(std::setlocale(LC_CTYPE, ""));
    // Installed, the data, the agent runtime and the catalogs lie in ../share/
    // from the program; run from a build tree, the marker beside the program
    // names the build's. A copy of the program with neither has no data folder.
    const std::string program = executablePath();
    const orvo::platform::BuildTreePaths buildTree = orvo::platform::readBuildTreeMarker(program);
    // Messages in the user's language: English with an English locale.
    orvo::i18n::installMessageCatalog(orvo::i18n::findLocaleFolder(program, buildTree.localeDir));
    orvo::cli::Environment env;
    env.codePageVariable = variable("ORVO_CODEPAGE");
    env.localeCodeset = ::nl_langinfo(CODESET);
    env.settings.iniVariable = variable("VIEWORVO_INI");
    env.settings.configHome = variable("XDG_CONFIG_HOME");
    env.settings.cacheHome = variable("XDG_CACHE_HOME");
    env.settings.home = homeFolder();
    env.dataDir = orvo::platform::findDataFolder(program, buildTree.dataDir);
    env.playerBundle = orvo::cli::findPlayerBundle(program, buildTree.playerBundle);
    env.workingFolder = workingFolder();
    env.speechCommands =
        [module = orvo::cli::findSpeechModule(program)](const std::vector<std::string>& commandArgs,
                                                        const orvo::cli::Environment& commandEnv,
                                                        std::ostream& out, std::ostream& err) {
            return orvo::cli::runSpeechModule(module, commandArgs, commandEnv, out, err);
        };
    env.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    env.endProcess = [](int status) {
        // At the end there is nowhere left to report a failed flush.
        static_cast<void>(std::fflush(nullptr));
        std::_Exit(status);
    };

    const std::vector<std::string> args(argv + 1, argv + argc);
    return orvo::cli::run(args, env, orvo::config::settings(), std::cout, std::cerr);
}
