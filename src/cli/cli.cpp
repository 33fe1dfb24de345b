#include "cli/cli.h"

#include <chrono>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>
#include <utility>

#include "cli/climessages.h"
#include "config/presentation.h"
#include "config/settings.h"
#include "convert/converter.h"
#include "convert/playerexport.h"
#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/files.h"
#include "platform/textformat.h"

namespace orvo::cli {

namespace {

constexpr const char* kUsage = "Usage: orvo check [OPTIONS] FILE.orv\n"
                               "       orvo convert [OPTIONS] FILE.orv\n"
                               "       orvo --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Commands:\n"
    "  check FILE.orv    Load the settings and the tag and emotion tables, then read\n"
    "                    the markup file and check every tag and attribute.\n"
    "  convert FILE.orv  Check as above, then convert the presentation into the\n"
    "                    output folder beside it (workingDir of the settings): one\n"
    "                    HTML page per page, the index page and the resources.\n"
    "\n"
    "Options:\n"
    "  --settings FILE   The settings file. Without it, $VIEWORVO_INI, else\n"
    "                    $XDG_CONFIG_HOME/ViewOrvo.ini (~/.config/ViewOrvo.ini),\n"
    "                    which is made from the installation's template on first use.\n"
    "  --codepage NAME   utf-8 or shift_jis: the code page of the markup, the tables\n"
    "                    and the source pages. Without it, $ORVO_CODEPAGE, else the\n"
    "                    locale's character set.\n"
    "  --message-format text|json\n"
    "                    Messages on stderr as CAPTION: TEXT lines (text, the\n"
    "                    default) or as one JSON object per line (json).\n"
    "  --with-player     Convert only: also copy the agent runtime (orvo-player.js)\n"
    "                    into the output folder and load it from every page, so\n"
    "                    that the folder plays when opened in a web browser.\n"
    "  --quiet           No summary line and no progress.\n"
    "  --help            Show this help.\n"
    "  --version         Show the version.\n"
    "\n"
    "Messages are always UTF-8. On success, convert prints one summary line on\n"
    "stdout; on a terminal it shows its progress on stderr.\n"
    "Exit status: 0 when every stage succeeded, 1 when one failed, 2 for a usage error.\n";

constexpr const char* kPlayerCaption = "--with-player";
constexpr const char* kUnreadablePlayer =
    "The agent runtime %s cannot be read: build the target orvo_player, or reinstall ViewOrvo";
constexpr const char* kUnknownPlayer =
    "This program does not know where its agent runtime (orvo-player.js) lies";

// Progress is worth showing only for presentations of some size.
constexpr std::size_t kProgressMinimumPages = 50;

struct Options {
    std::string command;
    std::string settingsFile;
    std::optional<platform::CodePage> codePage;
    MessageFormat format = MessageFormat::Text;
    bool quiet = false;
    bool withPlayer = false;
    std::string markupFile;
};

int usageError(std::ostream& err, std::string_view problem)
{
    // The problem may quote an argument, which may be any file name.
    err << "orvo: " << visibleControls(std::string(problem)) << '\n'
        << kUsage << "Try 'orvo --help' for more.\n";
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

// Parses the arguments after the command; a usage error has been reported
// when it returns nullopt.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::ostream& err)
{
    Options options;
    options.command = args[0];
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
        if (arg == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (arg == "--with-player") {
            if (options.command != "convert") {
                usageError(err, "--with-player is an option of convert only");
                return std::nullopt;
            }
            options.withPlayer = true;
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
        } else if (optionValue(args, i, "--message-format", value, missing)) {
            if (value == "text") {
                options.format = MessageFormat::Text;
            } else if (value == "json") {
                options.format = MessageFormat::Json;
            } else {
                usageError(err, "--message-format takes text or json");
                return std::nullopt;
            }
        } else {
            usageError(err, "unknown option " + arg);
            return std::nullopt;
        }
    }
    if (files.size() != 1 || files[0].empty()) {
        usageError(err, files.empty() ? options.command + " needs a markup file"
                                      : options.command + " takes exactly one markup file");
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

// Overwrites one status line on a terminal.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool enabled) : m_err(err), m_enabled(enabled) {}
    ~ProgressLine() { finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void update(std::size_t done, std::size_t total)
    {
        if (!m_enabled || total < kProgressMinimumPages) {
            return;
        }
        // At most a hundred updates: a terminal is slow to write to.
        const std::size_t step = total / 100 + 1;
        if (done % step != 0 && done != total) {
            return;
        }
        m_err << "\rconverting: page " << done << " of " << total << std::flush;
        m_shown = true;
    }
    void finish()
    {
        if (m_shown) {
            m_err << "\r\033[K" << std::flush;
            m_shown = false;
        }
    }

private:
    std::ostream& m_err;
    bool m_enabled;
    bool m_shown = false;
};

// The agent runtime's script for --with-player. Read before any stage, so
// that a missing runtime leaves the disk as it was rather than ending in an
// export that does not play.
bool readPlayerBundle(const std::string& path, std::string& script, platform::Messages& messages)
{
    if (path.empty()) {
        messages.error(kUnknownPlayer, kPlayerCaption);
        return false;
    }
    if (!platform::readWholeFile(path, script)) {
        messages.error(platform::fillTemplate(kUnreadablePlayer, path), kPlayerCaption);
        return false;
    }
    return true;
}

int runStages(const Options& options, const Environment& env, config::Settings& settings,
              std::ostream& out, std::ostream& err)
{
    const auto started = std::chrono::steady_clock::now();
    StreamMessages messages(err, options.format);
    convert::ConvertOptions convertOptions;
    if (options.withPlayer) {
        std::string script;
        if (!readPlayerBundle(env.playerBundle, script, messages)) {
            return kExitFailed;
        }
        convertOptions.playerScript = std::move(script);
    }

    const char* variable = env.codePageVariable.empty() ? nullptr : env.codePageVariable.c_str();
    platform::setActiveCodePage(
        options.codePage.value_or(platform::chooseCodePage(variable, env.localeCodeset.c_str())));

    platform::SettingsSources sources = env.settings;
    sources.option = options.settingsFile;
    const std::string settingsPath = platform::prepareSettingsFile(sources, env.dataDir);

    config::Presentation presentation(messages, settings);
    // As at document creation: the outcome is not looked at, a failure has
    // been shown and the run goes on to the markup file.
    presentation.loadSettingsAndTables(settingsPath);

    presentation.setMarkupPath(absolutePath(options.markupFile, env.workingFolder));
    if (!presentation.readMarkupFile() || !presentation.parseTree()) {
        return kExitFailed;
    }
    if (options.command == "check") {
        return kExitOk;
    }

    ProgressLine progress(err, env.stderrIsTerminal && !options.quiet &&
                                   options.format == MessageFormat::Text);
    convertOptions.progress = [&progress](std::size_t done, std::size_t total) {
        progress.update(done, total);
    };
    const convert::ConvertResult result = convert::convert(presentation, messages, convertOptions);
    progress.finish();
    if (!result) {
        return kExitFailed;
    }
    if (!options.quiet) {
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        std::ostringstream seconds;
        seconds << std::fixed << std::setprecision(3) << took.count();
        const std::size_t pages = result.pageCount;
        out << "Converted " << pages << (pages == 1 ? " page" : " pages") << " into "
            << visibleControls(platform::toUtf8(result.outputFolder)) << " in " << seconds.str()
            << " s\n";
    }
    return kExitOk;
}

} // namespace

std::string findPlayerBundle(const std::string& executablePath, const std::string& buildTreeBundle)
{
    const std::filesystem::path installation =
        (std::filesystem::path(executablePath).parent_path() / ".." / "share" / "vieworvo")
            .lexically_normal();
    if (!executablePath.empty() && platform::isFolder(installation.string())) {
        return (installation / convert::kPlayerFileName).string();
    }
    return buildTreeBundle;
}

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
    if (command != "check" && command != "convert") {
        return usageError(err, "unknown command " + command);
    }
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            out << kUsage << kHelp;
            return kExitOk;
        }
    }
    const std::optional<Options> options = parseOptions(args, err);
    if (!options) {
        return kExitUsage;
    }
    return runStages(*options, env, settings, out, err);
}

} // namespace orvo::cli
