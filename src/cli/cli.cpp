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
#include "cli/summary.h"
#include "config/presentation.h"
#include "config/settings.h"
#include "convert/animationnames.h"
#include "convert/checker.h"
#include "convert/converter.h"
#include "convert/playerexport.h"
#include "convert/sourcepage.h"
#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/messageids.h"
#include "platform/textformat.h"

namespace orvo::cli {

namespace {

constexpr const char* kUsage = "Usage: orvo check [OPTIONS] FILE.orv\n"
                               "       orvo convert [OPTIONS] FILE.orv\n"
                               "       orvo speak [OPTIONS] TEXT...   (orvo speak --help)\n"
                               "       orvo voices\n"
                               "       orvo hear --words \"WORD,WORD,...\" FILE.wav\n"
                               "       orvo --help | --version\n";

constexpr const char* kHelp =
    "\n"
    "Commands:\n"
    "  check FILE.orv    Load the settings and the tag and emotion tables, read the\n"
    "                    markup file and check every tag and attribute, then warn\n"
    "                    about what converts but will not play as written.\n"
    "  convert FILE.orv  Read and check as above (without the warnings), then\n"
    "                    convert the presentation into the output folder beside it\n"
    "                    (workingDir of the settings): one HTML page per page, the\n"
    "                    index page and the resources.\n"
    "  hear --words \"WORD,WORD,...\" FILE.wav\n"
    "                    Say which of the voice commands (comma-separated words or\n"
    "                    short phrases) is spoken in the recording: prints it and\n"
    "                    its confidence (0 to 1), or exits with status 1 when none is.\n"
    "\n"
    "Options:\n"
    "  --settings FILE   The settings file. Without it, $VIEWORVO_INI, else\n"
    "                    $XDG_CONFIG_HOME/ViewOrvo.ini (~/.config/ViewOrvo.ini),\n"
    "                    which is made from the installation's template on first use.\n"
    "  --codepage NAME   utf-8 or shift_jis: the code page of the markup, the tables\n"
    "                    and the source pages. Without it, $ORVO_CODEPAGE, else the\n"
    "                    locale's character set.\n"
    "  --message-format text|json\n"
    "                    Messages on stderr as text lines (the default) or as one\n"
    "                    JSON object per line (json).\n"
    "  --strict          Check only: warnings fail the run too (exit status 1).\n"
    "  --with-player     Convert only: also copy the agent runtime (orvo-player.js)\n"
    "                    into the output folder and load it from every page, so\n"
    "                    that the folder plays when opened in a web browser.\n"
    "  --quiet           No summary line and no progress.\n"
    "  --help            Show this help.\n"
    "  --version         Show the version.\n"
    "\n"
    "Messages (stderr, always UTF-8), as compilers print them:\n"
    "  FILE:LINE:COLUMN: CAPTION: TEXT (REASON)\n"
    "  FILE:LINE:COLUMN: warning: CAPTION: TEXT\n"
    "with only what is known: the position of the tag a message is about, the file\n"
    "it is about, the operating system's reason when a file operation failed.\n"
    "As JSON: {\"type\":\"error\"|\"warning\", \"id\", \"caption\", \"text\", \"file\", \"line\",\n"
    "\"column\", \"reason\"}; id is stable per kind of message (the texts follow the\n"
    "language), file, line, column and reason appear when known. The last object\n"
    "is {\"type\":\"summary\", \"command\", \"pages\" (written by convert, found by\n"
    "check), \"errors\", \"warnings\", \"output\" (the output folder, or null)}.\n"
    "\n"
    "Warnings of check (id: what will not play as written):\n"
    "  unlisted-emotion        a speech or move in an emotion that the emotion map\n"
    "                          does not list for the character: left out\n"
    "  unknown-animation       an animation the bundled character does not know\n"
    "  unknown-spot            a spot that names no spot tag\n"
    "  jump-not-a-page         a jump to an id that is no page\n"
    "  blanks-removed          a value whose blanks are removed (\"New York\")\n"
    "  duplicate-command-word  a word listened for twice on one page\n"
    "  missing-source-page     a page whose source page does not exist\n"
    "  source-page-outside     a page whose source page lies outside the\n"
    "                          presentation's folder (it is not converted)\n"
    "  off-screen              a position off the 800x600 screen\n"
    "\n"
    "Summary (stdout): convert prints \"Converted N pages into DIR\" when all went\n"
    "well, else how many pages it wrote and how many problems there were; check\n"
    "prints its counts when it reported anything. On a terminal, convert shows its\n"
    "progress on stderr.\n"
    "Exit status: 0 when no error was shown; 1 when a stage failed or any error was\n"
    "shown (with check --strict, any warning too); 2 for a usage error.\n"
    "Messages are in English with an English locale (LANG=en_US.UTF-8), as\n"
    "written otherwise.\n";

// Usage errors; the offending word follows those that end in a space.
constexpr const char* kNoCommand = "no command given";
constexpr const char* kUnknownCommand = "unknown command ";
constexpr const char* kUnknownOption = "unknown option ";
constexpr const char* kPlayerOptionOfConvert = "--with-player is an option of convert only";
constexpr const char* kSettingsNeedsFile = "--settings needs a file name";
constexpr const char* kCodePageValues = "--codepage takes utf-8 or shift_jis";
constexpr const char* kMessageFormatValues = "--message-format takes text or json";
constexpr const char* kNeedsMarkupFile = " needs a markup file";
constexpr const char* kOneMarkupFile = " takes exactly one markup file";

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
    bool strict = false;
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
        if (arg == "--strict") {
            if (options.command != "check") {
                usageError(err, "--strict is an option of check only");
                return std::nullopt;
            }
            options.strict = true;
            continue;
        }
        if (arg == "--with-player") {
            if (options.command != "convert") {
                usageError(err, kPlayerOptionOfConvert);
                return std::nullopt;
            }
            options.withPlayer = true;
            continue;
        }
        std::string value;
        bool missing = false;
        if (optionValue(args, i, "--settings", value, missing)) {
            if (missing || value.empty()) {
                usageError(err, kSettingsNeedsFile);
                return std::nullopt;
            }
            options.settingsFile = value;
        } else if (optionValue(args, i, "--codepage", value, missing)) {
            platform::CodePage page{};
            if (missing || !platform::codePageFromName(value, page)) {
                usageError(err, kCodePageValues);
                return std::nullopt;
            }
            options.codePage = page;
        } else if (optionValue(args, i, "--message-format", value, missing)) {
            if (value == "text") {
                options.format = MessageFormat::Text;
            } else if (value == "json") {
                options.format = MessageFormat::Json;
            } else {
                usageError(err, kMessageFormatValues);
                return std::nullopt;
            }
        } else {
            usageError(err, kUnknownOption + arg);
            return std::nullopt;
        }
    }
    if (files.size() != 1 || files[0].empty()) {
        usageError(err, files.empty() ? options.command + kNeedsMarkupFile
                                      : options.command + kOneMarkupFile);
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
        platform::Message message;
        message.id = platform::ids::kPlayerUnknown;
        message.text = kUnknownPlayer;
        message.caption = kPlayerCaption;
        messages.report(message);
        return false;
    }
    if (!platform::readWholeFile(path, script)) {
        std::string reason = platform::lastSystemReason();
        platform::reportFileError(messages, platform::ids::kPlayerUnreadable,
                                  platform::fillTemplate(kUnreadablePlayer, path), kPlayerCaption,
                                  path, std::move(reason));
        return false;
    }
    return true;
}

// The bundled character's animations, listed beside the agent runtime; none
// (and no check of them) when the list is missing.
convert::AnimationNames readAnimationNames(const std::string& playerBundle)
{
    std::string list;
    if (playerBundle.empty() ||
        !platform::readWholeFile(
            (std::filesystem::path(playerBundle).parent_path() / "animations.txt").string(),
            list)) {
        return {};
    }
    return convert::AnimationNames::fromList(list);
}

// The exit status of a run that got past the usage checks.
int exitStatus(const StreamMessages& messages, bool strict)
{
    const bool failed = messages.errors() > 0 || (strict && messages.warnings() > 0);
    return failed ? kExitFailed : kExitOk;
}

// Ends a run: the summary line (unless quiet) and, with JSON messages, the
// summary object after the last message.
int finish(const Options& options, Summary& summary, const StreamMessages& messages,
           std::ostream& out, std::ostream& err)
{
    summary.errors = messages.errors();
    summary.warnings = messages.warnings();
    if (!options.quiet) {
        writeSummaryLine(out, summary);
    }
    if (options.format == MessageFormat::Json) {
        writeSummaryObject(err, summary);
    }
    return exitStatus(messages, options.strict);
}

// Ends the process when the tool asked for it, else hands the status back.
int endRun(const Environment& env, int status, std::ostream& out, std::ostream& err)
{
    if (env.endProcess != nullptr) {
        out.flush();
        err.flush();
        env.endProcess(status);
    }
    return status;
}

int runStages(const Options& options, const Environment& env, config::Settings& settings,
              std::ostream& out, std::ostream& err)
{
    const auto started = std::chrono::steady_clock::now();
    StreamMessages messages(err, options.format);
    Summary summary;
    summary.command = options.command;
    summary.markupFile = platform::toUtf8(options.markupFile);

    convert::ConvertOptions convertOptions;
    if (options.withPlayer) {
        std::string script;
        if (!readPlayerBundle(env.playerBundle, script, messages)) {
            return finish(options, summary, messages, out, err);
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
    presentation.setProgramDataFolder(env.dataDir);
    // As at document creation: the outcome is not looked at, a failure has
    // been shown and the run goes on to the markup file.
    presentation.loadSettingsAndTables(settingsPath);

    const std::string markupPath = absolutePath(options.markupFile, env.workingFolder);
    messages.setDisplayName(markupPath, options.markupFile);
    presentation.setMarkupPath(markupPath);
    const bool checking = options.command == "check";
    // The check looks for every page's source page: the folder is listed
    // while the markup is read and parsed.
    std::optional<convert::MarkupFolderListing> markupFolder;
    if (checking) {
        markupFolder.emplace(markupPath);
    }
    // A conversion parses the pages' tags one page at a time, when it needs
    // them: a large presentation's tree would take twice its markup's size.
    if (!presentation.readMarkupFile() ||
        !(checking ? presentation.parseTree(true) : presentation.parseTreeByPage())) {
        return finish(options, summary, messages, out, err);
    }
    if (checking) {
        const convert::AnimationNames animations = readAnimationNames(env.playerBundle);
        convert::CheckOptions checkOptions;
        checkOptions.animations = &animations;
        checkOptions.markupFolder = &*markupFolder;
        summary.pageCount = convert::checkPresentation(presentation, messages, checkOptions);
        summary.pages = summary.pageCount;
        return endRun(env, finish(options, summary, messages, out, err), out, err);
    }

    ProgressLine progress(err, env.stderrIsTerminal && !options.quiet &&
                                   options.format == MessageFormat::Text);
    convertOptions.progress = [&progress](std::size_t done, std::size_t total) {
        progress.update(done, total);
    };
    const convert::ConvertResult result = convert::convert(presentation, messages, convertOptions);
    progress.finish();
    summary.output = platform::toUtf8(result.outputFolder);
    summary.pages = result.pagesWritten;
    summary.pageCount = result.pageCount;
    if (!result) {
        // A stage that stopped: no page of this run is in the folder.
        summary.pages = 0;
        summary.pageCount = 0;
        if (result.status == convert::ConvertResult::Status::UnsafeOutputFolder) {
            summary.output.clear();
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    summary.seconds = took.count();
    return endRun(env, finish(options, summary, messages, out, err), out, err);
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
        return usageError(err, kNoCommand);
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
    if (command == "speak" || command == "voices" || command == "hear") {
        if (!env.speechCommands) {
            err << "orvo: this program has no speech commands\n";
            return kExitFailed;
        }
        return env.speechCommands(args, env, out, err);
    }
    if (command != "check" && command != "convert") {
        return usageError(err, kUnknownCommand + command);
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
