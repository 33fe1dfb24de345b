#include "cli/cli.h"

#include <optional>
#include <ostream>
#include <string_view>

#include "cli/climessages.h"
#include "config/presentation.h"
#include "platform/codepage.h"

namespace orvo::cli {

namespace {

constexpr const char* kUsage =
    "Usage: orvo check [--settings FILE] [--codepage utf-8|shift_jis] FILE.orv\n"
    "       orvo --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Commands:\n"
    "  check FILE.orv    Load the settings and the tag and emotion tables, then read\n"
    "                    the markup file and check every tag and attribute.\n"
    "\n"
    "Options:\n"
    "  --settings FILE   The settings file. Without it, $VIEWORVO_INI, else\n"
    "                    $XDG_CONFIG_HOME/ViewOrvo.ini (~/.config/ViewOrvo.ini),\n"
    "                    which is made from the installation's template on first use.\n"
    "  --codepage NAME   utf-8 or shift_jis: the code page of the markup, the tables\n"
    "                    and the source pages. Without it, $ORVO_CODEPAGE, else the\n"
    "                    locale's character set.\n"
    "  --help            Show this help.\n"
    "  --version         Show the version.\n"
    "\n"
    "Every message is written to stderr as one line, CAPTION: TEXT.\n"
    "Exit status: 0 when every stage succeeded, 1 when one failed, 2 for a usage error.\n";

struct CheckOptions {
    std::string settingsFile;
    std::optional<platform::CodePage> codePage;
    std::string markupFile;
};

int usageError(std::ostream& err, std::string_view problem)
{
    err << "orvo: " << problem << '\n' << kUsage << "Try 'orvo --help' for more.\n";
    return kExitUsage;
}

// Takes the value of an option written as "--name VALUE" or "--name=VALUE".
// False when the argument is not that option; `missing` when it has no value.
bool optionValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                 std::string& value, bool& missing)
{
    const std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size()) {
            missing = true;
            return true;
        }
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    return false;
}

// Parses the arguments after "check"; a usage error has been reported when it
// returns nullopt.
std::optional<CheckOptions> parseCheck(const std::vector<std::string>& args, std::ostream& err)
{
    CheckOptions options;
    std::vector<std::string> files;
    bool onlyFiles = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg.empty() || arg[0] != '-' || arg == "-") {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        std::string value;
        bool missing = false;
        if (optionValue(args, i, "--settings", value, missing)) {
            if (missing || value.empty()) {
                usageError(err, "--settings needs a file name");
                return std::nullopt;
            }
            options.settingsFile = value;
        } else if (optionValue(args, i, "--codepage", value, missing)) {
            platform::CodePage page{};
            if (missing || !platform::codePageFromName(value, page)) {
                usageError(err, "--codepage takes utf-8 or shift_jis");
                return std::nullopt;
            }
            options.codePage = page;
        } else {
            usageError(err, "unknown option " + arg);
            return std::nullopt;
        }
    }
    if (files.size() != 1 || files[0].empty()) {
        usageError(err, files.empty() ? "check needs a markup file"
                                      : "check takes exactly one markup file");
        return std::nullopt;
    }
    options.markupFile = files[0];
    return options;
}

std::string absolutePath(const std::string& path, const std::string& workingFolder)
{
    if (path.front() == '/' || workingFolder.empty()) {
        return path;
    }
    return workingFolder + (workingFolder.back() == '/' ? "" : "/") + path;
}

int check(const CheckOptions& options, const Environment& env, config::Settings& settings,
          std::ostream& err)
{
    const char* variable = env.codePageVariable.empty() ? nullptr : env.codePageVariable.c_str();
    platform::setActiveCodePage(
        options.codePage.value_or(platform::chooseCodePage(variable, env.localeCodeset.c_str())));

    platform::SettingsSources sources = env.settings;
    sources.option = options.settingsFile;
    const std::string settingsPath = platform::prepareSettingsFile(sources, env.dataDir);

    StreamMessages messages(err);
    config::Presentation presentation(messages, settings);
    // As at document creation: the outcome is not looked at, a failure has
    // been shown and the check goes on to the markup file.
    presentation.loadSettingsAndTables(settingsPath);

    presentation.setMarkupPath(absolutePath(options.markupFile, env.workingFolder));
    if (!presentation.readMarkupFile() || !presentation.parseTree()) {
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

int run(const std::vector<std::string>& args, const Environment& env, config::Settings& settings,
        std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        return usageError(err, "no command given");
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        out << kUsage << kHelp;
        return kExitOk;
    }
    if (command == "--version") {
        out << "orvo (ViewOrvo) " << ORVO_VERSION << '\n';
        return kExitOk;
    }
    if (command == "check") {
        for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
            if (args[i] == "--help" || args[i] == "-h") {
                out << kUsage << kHelp;
                return kExitOk;
            }
        }
        const std::optional<CheckOptions> options = parseCheck(args, err);
        if (!options) {
            return kExitUsage;
        }
        return check(*options, env, settings, err);
    }
    return usageError(err, "unknown command " + command);
}

} // namespace orvo::cli
