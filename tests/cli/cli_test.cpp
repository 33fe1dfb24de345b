#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/speechcommand.h"
#include "config/settings.h"
#include "platform/codepage.h"
#include "support/tempdir.h"

namespace cli = orvo::cli;
using orvo::test::TempDir;

namespace {

const std::string kDataDir = ORVO_SOURCE_DATA_DIR;
const std::string kExamples = ORVO_EXAMPLES_DIR;

struct Cli {
    TempDir dir;
    cli::Environment env;
    int status = -1;
    std::string out;
    std::string err;

    Cli()
    {
        env.settings.home = dir.file("home");
        env.dataDir = kDataDir;
        env.workingFolder = dir.path();
        env.localeCodeset = "UTF-8";
        env.speechCommands = cli::runSpeechCommand;
    }
    int operator()(const std::vector<std::string>& args)
    {
        std::ostringstream o;
        std::ostringstream e;
        orvo::config::Settings settings;
        status = cli::run(args, env, settings, o, e);
        orvo::platform::setActiveCodePage(orvo::platform::CodePage::Utf8);
        out = o.str();
        err = e.str();
        return status;
    }
    // A settings file that names the source tree's tables and a cache here.
    std::string settingsFile() const
    {
        return dir.write("ViewOrvo.ini",
                         "tagTypeFile=tagtypes.txt\nemotionMapFile=emotionmap.txt\n"
                         "previousImage=previous.gif\nnextImage=next.gif\n"
                         "debugFrameFile=DebugFrame.html\nworkingDir=vieworvo-pages/\n"
                         "settingDir=" +
                             kDataDir + "\ntempDir=" + dir.path() + "\n");
    }
};

const char* kUsage = "Usage: orvo check [OPTIONS] FILE.orv\n"
                     "       orvo convert [OPTIONS] FILE.orv\n"
                     "       orvo speak [OPTIONS] TEXT...   (orvo speak --help)\n"
                     "       orvo voices\n"
                     "       orvo hear --words \"WORD,WORD,...\" FILE.wav\n"
                     "       orvo --help | --version\n";

} // namespace

TEST(OrvoCheck, TheBundledTourOnFirstStart)
{
    Cli run;
    // No settings file named: the user file is made from the template.
    EXPECT_EQ(run({"check", kExamples + "tour/tour.orv"}), cli::kExitOk);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.dir.read("home/.config/ViewOrvo.ini").substr(0, 22), "ViewOrvo settings: one");
}

TEST(OrvoCheck, FailedStagesPrintTheirMessagesAndExitWithOne)
{
    Cli run;
    const std::string settings = run.settingsFile();
    // A relative markup path is made absolute from the working folder.
    // Messages name the file as the user did, with the system's reason.
    EXPECT_EQ(run({"check", "--settings", settings, "missing.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err, "missing.orv: 読み出しｴﾗｰ: ﾌｧｲﾙ" + run.dir.file("missing.orv") +
                           "がｵｰﾌﾟﾝできない (No such file or directory)\n");
    EXPECT_EQ(run.out, "Checked missing.orv: 0 pages, 1 error, 0 warnings\n");
    // A folder opens but is no file to read: the reason says so, rather
    // than whatever an earlier call left behind.
    std::filesystem::create_directories(run.dir.file("folder.orv"));
    EXPECT_EQ(run({"check", "--quiet", "--settings", settings, "folder.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err, "folder.orv: 読み出しｴﾗｰ: ﾌｧｲﾙ" + run.dir.file("folder.orv") +
                           "がｵｰﾌﾟﾝできない (Is a directory)\n");

    // A message about a tag gives its line and column, as compilers do.
    run.dir.write("bad.orv", "<orvo>\n<body><Page></Page></body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--settings=" + settings, "bad.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err, "bad.orv:2:7: Page: Unvalid Tag Name!!!\n");

    run.dir.write("attr.orv", "<orvo>\n<body><page rf=\"a\"></page></body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--settings", settings, "attr.orv"}), cli::kExitFailed);
    EXPECT_EQ(
        run.err,
        "attr.orv:2:7: rf: System can not find the attribute Name:rf \n for tag name: page\n");

    // Without settings there are no tables: a settings box, then the parser's.
    EXPECT_EQ(run({"check", "--settings", run.dir.file("none.ini"), kExamples + "tour/tour.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, run.dir.file("none.ini") +
                           ": 読み出しｴﾗｰ: Setting file : " + run.dir.file("none.ini") +
                           "がｵｰﾌﾟﾝできない (No such file or directory)\n" + kExamples +
                           "tour/tour.orv:10:1: agent: Unvalid Tag Name!!!\n");
}

TEST(OrvoCheck, ShiftJisTextIsPrintedAsUtf8)
{
    Cli run;
    const std::string settings = run.settingsFile();
    // "表" (0x95 0x5C in Shift-JIS, a backslash as its trail byte) as a tag name.
    run.dir.write("sjis.orv", "<orvo>\n<body><\x95\x5C></\x95\x5C></body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--codepage", "shift_jis", "--settings", settings, "sjis.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, "sjis.orv:2:7: 表: Unvalid Tag Name!!!\n");
    // The variable chooses the code page when the option is not given.
    run.env.codePageVariable = "shift_jis";
    EXPECT_EQ(run({"check", "--settings", settings, "sjis.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err, "sjis.orv:2:7: 表: Unvalid Tag Name!!!\n");
    run.env.codePageVariable = "";
    EXPECT_EQ(run({"check", "--codepage=shift_jis", "--settings", settings, "none\x95\x5C.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, "none表.orv: 読み出しｴﾗｰ: ﾌｧｲﾙ" + run.dir.file("none表.orv") +
                           "がｵｰﾌﾟﾝできない (No such file or directory)\n");
}

// A presentation's bytes reach the terminal: its escape sequences are shown,
// never obeyed (here one that retitles the terminal, a CSI in its one-byte
// C1 form, a DEL and a CR that would overwrite the line).
TEST(OrvoCheck, ControlCharactersFromTheMarkupAreShownAsEscapes)
{
    Cli run;
    const std::string settings = run.settingsFile();
    run.dir.write("esc.orv", "<orvo>\n<body><p\x1b]0;owned\x07\xc2\x9b"
                             "2J\x7f\r\tq></p\x1b]0;owned\x07"
                             "\xc2\x9b"
                             "2J\x7f\r\tq></body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--settings", settings, "esc.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err,
              "esc.orv:2:7: p\\x1B]0;owned\\x07\\xC2\\x9B2J\\x7F\\x0D\tq: Unvalid Tag Name!!!\n");
    EXPECT_EQ(run({"check", "--quiet", "--message-format=json", "--settings", settings, "esc.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(
        run.err.substr(0, run.err.find(",\"file\":")),
        "{\"type\":\"error\",\"id\":\"unknown-tag\",\"caption\":\"p\\u001b]0;owned\\u0007\xc2\x9b"
        "2J\x7f"
        "\\r\\tq\",\"text\":\"Unvalid Tag Name!!!\"");

    // A file name with an escape, as an argument, in messages and in the
    // summary line (the page has no character and no source page: two
    // problems, and the summary still names the folder).
    EXPECT_EQ(run({"check", "--\x1b[2J"}), cli::kExitUsage);
    EXPECT_EQ(run.err.substr(0, 30), "orvo: unknown option --\\x1B[2J");
    run.dir.write("t\x1b[2J/show.orv", "<orvo>\n<body><page></page></body>\n</orvo>\n");
    // (The page names no source page: an error, so the run fails.)
    EXPECT_EQ(run({"convert", "--settings", settings, "t\x1b[2J/show.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos);
    EXPECT_NE(run.out.find("t\\x1B[2J/vieworvo-pages/"), std::string::npos);
}

// References that leave the presentation's folder are refused by the
// conversion; check names each of them, and the checks still pass.
TEST(OrvoCheck, WarnsAboutSourcePagesOutsideThePresentation)
{
    Cli run;
    const std::string settings = run.settingsFile();
    run.dir.write("p/in.html", "<html></html>\n");
    run.dir.write("secret.html", "<html>not the presentation's</html>\n");
    std::filesystem::create_directories(run.dir.file("p/sub"));
    std::filesystem::create_symlink("../secret.html", run.dir.file("p/link.html"));
    run.dir.write("p/show.orv", "<orvo>\n<body>\n"
                                "<page ref=\"in.html\"></page>\n"
                                "<page ref=\"sub\\..\\in.html\"></page>\n"
                                "<page ref=\"..\\secret.html\"></page>\n"
                                "<page ref=\"sub\\..\\..\\..\\etc\\passwd\"></page>\n"
                                "<page ref=\"link.html\"></page>\n"
                                "</body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--settings", settings, "p/show.orv"}), cli::kExitOk);
    const std::string tail = " lies outside the presentation's folder and is not converted\n";
    EXPECT_EQ(run.err, "p/show.orv:5:1: warning: ..\\secret.html: The source page ..\\secret.html" +
                           tail + "p/show.orv:6:1: warning: sub\\..\\..\\..\\etc\\passwd: " +
                           "The source page sub\\..\\..\\..\\etc\\passwd" + tail +
                           "p/show.orv:7:1: warning: link.html: The source page link.html" + tail);
    EXPECT_EQ(run({"check", "--message-format=json", "--settings", settings, "p/show.orv"}),
              cli::kExitOk);
    EXPECT_EQ(run.err.substr(0, 53),
              "{\"type\":\"warning\",\"id\":\"source-page-outside\",\"caption");
    // The conversion reads none of them (each gets the box of a missing page).
    run({"convert", "--quiet", "--settings", settings, "p/show.orv"});
    EXPECT_NE(run.err.find(run.dir.file("p/link.html")), std::string::npos);
    EXPECT_EQ(run.dir.read("p/vieworvo-pages/1.html"), run.dir.read("p/vieworvo-pages/2.html"));
    for (const char* page : {"3.html", "4.html", "5.html"}) {
        EXPECT_FALSE(std::filesystem::exists(run.dir.file("p/vieworvo-pages/") + page)) << page;
    }
}

TEST(OrvoCheck, UsageErrorsExitWithTwo)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{}, "no command given"},
        {{"render", "x.orv"}, "unknown command render"},
        {{"convert"}, "convert needs a markup file"},
        {{"convert", "--message-format", "xml", "a.orv"}, "--message-format takes text or json"},
        {{"convert", "--message-format"}, "--message-format takes text or json"},
        {{"check"}, "check needs a markup file"},
        {{"check", "a.orv", "b.orv"}, "check takes exactly one markup file"},
        {{"check", ""}, "check takes exactly one markup file"},
        {{"check", "--settings"}, "--settings needs a file name"},
        {{"check", "--settings=", "a.orv"}, "--settings needs a file name"},
        {{"check", "--codepage", "latin1", "a.orv"}, "--codepage takes utf-8 or shift_jis"},
        {{"check", "--codepage"}, "--codepage takes utf-8 or shift_jis"},
        {{"check", "--verbose", "a.orv"}, "unknown option --verbose"},
        {{"check", "--with-player", "a.orv"}, "--with-player is an option of convert only"},
        {{"convert", "--strict", "a.orv"}, "--strict is an option of check only"},
    };
    for (const auto& [args, problem] : cases) {
        Cli run;
        EXPECT_EQ(run(args), cli::kExitUsage) << problem;
        EXPECT_EQ(run.err, "orvo: " + problem + "\n" + kUsage + "Try 'orvo --help' for more.\n");
        EXPECT_EQ(run.out, "");
    }
    // After "--" every argument is a file, even one that looks like an option.
    Cli run;
    EXPECT_EQ(run({"check", "--quiet", "--settings", run.settingsFile(), "--", "--odd.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, "--odd.orv: 読み出しｴﾗｰ: ﾌｧｲﾙ" + run.dir.file("--odd.orv") +
                           "がｵｰﾌﾟﾝできない (No such file or directory)\n");
}

TEST(OrvoCheck, HelpAndVersion)
{
    Cli run;
    EXPECT_EQ(run({"--help"}), cli::kExitOk);
    EXPECT_EQ(run.out.substr(0, std::string(kUsage).size()), kUsage);
    EXPECT_NE(run.out.find("Exit status: 0 when no error was shown"), std::string::npos);
    EXPECT_NE(run.out.find("  --with-player     Convert only: also copy the agent runtime"),
              std::string::npos);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run({"check", "--help"}), cli::kExitOk);
    EXPECT_EQ(run.out.substr(0, std::string(kUsage).size()), kUsage);
    EXPECT_EQ(run({"--version"}), cli::kExitOk);
    EXPECT_EQ(run.out, std::string("orvo (ViewOrvo) ") + ORVO_VERSION + "\n");
}

TEST(OrvoConvert, TheBundledTourWithSummaryAndNoMessages)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::filesystem::copy(kExamples + "tour", run.dir.file("tour"),
                          std::filesystem::copy_options::recursive);
    EXPECT_EQ(run({"convert", "--settings", settings, "tour/tour.orv"}), cli::kExitOk);
    EXPECT_EQ(run.err, "");
    const std::string prefix =
        "Converted 7 pages into " + run.dir.file("tour/vieworvo-pages/") + " in ";
    EXPECT_EQ(run.out.substr(0, prefix.size()), prefix);
    EXPECT_EQ(run.out.substr(run.out.size() - 3), " s\n");
    EXPECT_FALSE(run.dir.read("tour/vieworvo-pages/7.html").empty());

    // --quiet: nothing on stdout; the pages are written all the same.
    EXPECT_EQ(run({"convert", "--quiet", "--settings", settings, "tour/tour.orv"}), cli::kExitOk);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.dir.read("tour/vieworvo-pages/1.html").empty());
}

// A page that cannot be written (a folder of its name, which the clean-up
// leaves alone) is an error: exit status 1 and no "Converted" line, but a
// summary that says what was written. The messages keep the order of the
// pages, although the files are written behind the pages being built.
TEST(OrvoConvert, AnUnwritablePageFailsTheRunAndTheSummarySaysSo)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::filesystem::copy(kExamples + "tour", run.dir.file("tour"),
                          std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(run.dir.file("tour/vieworvo-pages/3.html"));
    std::filesystem::remove(run.dir.file("tour/moving.html"));
    EXPECT_EQ(run({"convert", "--settings", settings, "tour/tour.orv"}), cli::kExitFailed);
    const std::string page = run.dir.file("tour/vieworvo-pages/3.html");
    const std::string source = run.dir.file("tour/moving.html");
    EXPECT_EQ(run.err, page + ": 書き出しｴﾗｰ: ﾌｧｲﾙ" + page + "がｵｰﾌﾟﾝできない (Is a directory)\n" +
                           source + ": 読み出しｴﾗｰ: ﾌｧｲﾙ" + source +
                           "がｵｰﾌﾟﾝできない (No such file or directory)\n");
    EXPECT_EQ(run.out, "Wrote 5 of 7 pages into " + run.dir.file("tour/vieworvo-pages/") +
                           ", with 2 problems\n");

    EXPECT_EQ(run({"convert", "--quiet", "--message-format=json", "--settings", settings,
                   "tour/tour.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err.substr(run.err.rfind("{\"type\":\"summary\"")),
              "{\"type\":\"summary\",\"command\":\"convert\",\"pages\":5,\"errors\":2,"
              "\"warnings\":0,\"output\":\"" +
                  run.dir.file("tour/vieworvo-pages/") + "\"}\n");
}

// Warnings leave the exit status at 0 unless --strict asks otherwise.
TEST(OrvoCheck, WarningsFailTheRunOnlyWhenStrict)
{
    Cli run;
    const std::string settings = run.settingsFile();
    run.dir.write("w.orv", "<orvo>\n<body><page ref=\"none.html\"></page></body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--settings", settings, "w.orv"}), cli::kExitOk);
    EXPECT_EQ(run.err, "w.orv:2:7: warning: none.html: The source page " +
                           run.dir.file("none.html") +
                           " does not exist: this page cannot be converted\n");
    EXPECT_EQ(run.out, "Checked w.orv: 1 page, 0 errors, 1 warning\n");
    EXPECT_EQ(run({"check", "--strict", "--quiet", "--settings", settings, "w.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.out, "");
}

// A presentation long enough for the check to walk its two halves on two
// threads: the warnings still come one per page, in page order.
TEST(OrvoCheck, WarningsOfALongPresentationComeInPageOrder)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::string markup = "<orvo>\n<body>\n";
    std::string expected;
    constexpr int kPages = 1500;
    for (int page = 1; page <= kPages; ++page) {
        const std::string ref = "p" + std::to_string(page) + ".html";
        markup += "<page ref=\"" + ref + "\"></page>\n";
        expected += "long.orv:" + std::to_string(page + 2) + ":1: warning: " + ref +
                    ": The source page " + run.dir.file(ref) +
                    " does not exist: this page cannot be converted\n";
    }
    run.dir.write("long.orv", markup + "</body>\n</orvo>\n");
    EXPECT_EQ(run({"check", "--quiet", "--settings", settings, "long.orv"}), cli::kExitOk);
    EXPECT_EQ(run.err, expected);
}

TEST(OrvoConvert, JsonMessagesAreOneValidObjectPerLine)
{
    Cli run;
    const std::string settings = run.settingsFile();
    // No body: the conversion's own message, and exit status 1.
    run.dir.write("nobody.orv", "<orvo>\n<agent character=\"Orvi\"/>\n</orvo>\n");
    EXPECT_EQ(run({"convert", "--message-format=json", "--settings", settings, "nobody.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, "{\"type\":\"error\",\"id\":\"no-body\",\"caption\":\"error when "
                       "converting\",\"text\":\"Can't find the body tag\",\"file\":\"" +
                           run.dir.file("nobody.orv") +
                           "\"}\n"
                           "{\"type\":\"summary\",\"command\":\"convert\",\"pages\":0,"
                           "\"errors\":1,\"warnings\":0,\"output\":\"" +
                           run.dir.file("vieworvo-pages/") + "\"}\n");
    EXPECT_EQ(run.out, "Wrote no pages: 1 problem\n");

    // Quotes, backslashes, line feeds and bytes that are no UTF-8 are escaped
    // or replaced, never passed through.
    run.dir.write("attr.orv", "<orvo>\n<body><page r\\\xff=\"a\"></page></body>\n</orvo>\n");
    EXPECT_EQ(
        run({"convert", "--quiet", "--message-format", "json", "--settings", settings, "attr.orv"}),
        cli::kExitFailed);
    EXPECT_EQ(run.err, "{\"type\":\"error\",\"id\":\"unknown-attribute\",\"caption\":\"r\\\\?\","
                       "\"text\":\"System can not find the attribute Name:r\\\\? \\n for tag "
                       "name: page\",\"file\":\"" +
                           run.dir.file("attr.orv") +
                           "\",\"line\":2,\"column\":7}\n"
                           "{\"type\":\"summary\",\"command\":\"convert\",\"pages\":0,"
                           "\"errors\":1,\"warnings\":0,\"output\":null}\n");
}

TEST(OrvoConvert, ProgressOnlyOnATerminalAndNeverInJson)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::string markup = "<orvo>\n<body>\n";
    for (int i = 0; i < 60; ++i) {
        markup += "<page></page>\n";
    }
    run.dir.write("many.orv", markup + "</body>\n</orvo>\n");
    // Without a terminal: messages only (60 missing source pages, so the
    // exit status is 1).
    EXPECT_EQ(run({"convert", "--settings", settings, "many.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err.find("converting: page"), std::string::npos);

    run.env.stderrIsTerminal = true;
    EXPECT_EQ(run({"convert", "--settings", settings, "many.orv"}), cli::kExitFailed);
    EXPECT_NE(run.err.find("\rconverting: page 60 of 60"), std::string::npos);
    EXPECT_EQ(run({"convert", "--message-format", "json", "--settings", settings, "many.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err.find("converting: page"), std::string::npos);
    EXPECT_EQ(run({"convert", "--quiet", "--settings", settings, "many.orv"}), cli::kExitFailed);
    EXPECT_EQ(run.err.find("converting: page"), std::string::npos);
}

namespace {

const char* kPlayerLine = "<script src=\"orvo-player.js\" charset=\"utf-8\"></script>\r\n";

// The files of a folder by name, with their bytes.
std::map<std::string, std::string> filesOf(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = orvo::test::readBytes(entry.path().string());
    }
    return files;
}

} // namespace

// --with-player changes the plain export by exactly this much: the runtime's
// bytes beside the pages, and in every page one line right behind the script
// block, before "</head>". The other files stay as they are.
TEST(OrvoConvert, WithPlayerAddsTheRuntimeAndOneLinePerPage)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::filesystem::copy(kExamples + "tour", run.dir.file("tour"),
                          std::filesystem::copy_options::recursive);
    const std::string runtime = "// the agent runtime\r\n\x01\xff";
    run.env.playerBundle = run.dir.write("share/orvo-player.js", runtime);

    ASSERT_EQ(run({"convert", "--quiet", "--settings", settings, "tour/tour.orv"}), cli::kExitOk);
    const auto plain = filesOf(run.dir.file("tour/vieworvo-pages"));
    ASSERT_EQ(run({"convert", "--with-player", "--quiet", "--settings", settings, "tour/tour.orv"}),
              cli::kExitOk);
    EXPECT_EQ(run.err, "");
    auto played = filesOf(run.dir.file("tour/vieworvo-pages"));
    EXPECT_EQ(played["orvo-player.js"], runtime);
    played.erase("orvo-player.js");
    ASSERT_EQ(played.size(), plain.size());
    int pages = 0;
    for (const auto& [name, bytes] : plain) {
        std::string expected = bytes;
        if (name.front() >= '1' && name.front() <= '9') {
            const std::size_t end = expected.find("</SCRIPT>\r\n</head>\r\n");
            ASSERT_NE(end, std::string::npos) << name;
            expected.insert(end + std::string("</SCRIPT>\r\n").size(), kPlayerLine);
            ++pages;
        }
        EXPECT_EQ(played[name], expected) << name;
    }
    EXPECT_EQ(pages, 7);

    // A plain export again leaves no runtime behind.
    ASSERT_EQ(run({"convert", "--quiet", "--settings", settings, "tour/tour.orv"}), cli::kExitOk);
    EXPECT_EQ(filesOf(run.dir.file("tour/vieworvo-pages")), plain);
}

// Without its runtime an export would not play: nothing is converted, and the
// folder of an earlier export stays as it was.
TEST(OrvoConvert, WithPlayerFailsWhenTheRuntimeIsMissing)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::filesystem::copy(kExamples + "tour", run.dir.file("tour"),
                          std::filesystem::copy_options::recursive);
    ASSERT_EQ(run({"convert", "--quiet", "--settings", settings, "tour/tour.orv"}), cli::kExitOk);
    // A conversion would empty the folder: this file shows that none ran.
    run.dir.write("tour/vieworvo-pages/notes.txt", "mine");
    const auto before = filesOf(run.dir.file("tour/vieworvo-pages"));

    run.env.playerBundle = run.dir.file("nowhere/orvo-player.js");
    EXPECT_EQ(run({"convert", "--with-player", "--settings", settings, "tour/tour.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, run.env.playerBundle + ": --with-player: The agent runtime " +
                           run.env.playerBundle +
                           " cannot be read: build the target orvo_player, or reinstall "
                           "ViewOrvo (No such file or directory)\n");
    EXPECT_EQ(run.out, "Wrote no pages: 1 problem\n");
    EXPECT_EQ(filesOf(run.dir.file("tour/vieworvo-pages")), before);

    run.env.playerBundle = "";
    EXPECT_EQ(run({"convert", "--with-player", "--quiet", "--message-format=json", "--settings",
                   settings, "tour/tour.orv"}),
              cli::kExitFailed);
    EXPECT_EQ(run.err, "{\"type\":\"error\",\"id\":\"player-unknown\",\"caption\":\"--with-"
                       "player\",\"text\":\"This program does not know where its agent runtime "
                       "(orvo-player.js) lies\"}\n{\"type\":\"summary\",\"command\":\"convert\","
                       "\"pages\":0,\"errors\":1,\"warnings\":0,\"output\":null}\n");
    EXPECT_EQ(filesOf(run.dir.file("tour/vieworvo-pages")), before);
}

// The runtime that cannot be written into the output folder (here a folder
// of that name, which the clean-up leaves alone) stops the conversion before
// any page is written.
TEST(OrvoConvert, WithPlayerReportsAnUnwritableRuntime)
{
    Cli run;
    const std::string settings = run.settingsFile();
    std::filesystem::copy(kExamples + "tour", run.dir.file("tour"),
                          std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(run.dir.file("tour/vieworvo-pages/orvo-player.js"));
    run.env.playerBundle = run.dir.write("orvo-player.js", "// runtime\n");
    EXPECT_EQ(run({"convert", "--with-player", "--settings", settings, "tour/tour.orv"}),
              cli::kExitFailed);
    const std::string target = run.dir.file("tour/vieworvo-pages/orvo-player.js");
    EXPECT_EQ(run.err,
              target + ": 書き出しｴﾗｰ: ﾌｧｲﾙ" + target + "がｵｰﾌﾟﾝできない (Is a directory)\n");
    EXPECT_FALSE(std::filesystem::exists(run.dir.file("tour/vieworvo-pages/1.html")));
}

TEST(OrvoConvert, PlayerBundleOfAnInstalledOrABuildTreeProgram)
{
    TempDir dir;
    dir.write("usr/bin/orvo", "");
    const std::string buildTree = "/build/src/player/orvo-player.js";
    EXPECT_EQ(cli::findPlayerBundle(dir.file("usr/bin/orvo"), buildTree), buildTree);
    EXPECT_EQ(cli::findPlayerBundle("", buildTree), buildTree);
    // An installation: share/vieworvo beside bin/, whether or not the bundle
    // is there (a missing one is then reported rather than taken from a
    // build tree that may be gone).
    std::filesystem::create_directories(dir.file("usr/share/vieworvo/data"));
    EXPECT_EQ(cli::findPlayerBundle(dir.file("usr/bin/orvo"), buildTree),
              dir.file("usr/share/vieworvo/orvo-player.js"));
}

TEST(OrvoSpeak, WritesTheSpeechAndItsWordTimings)
{
    Cli run;
    ASSERT_EQ(run({"speak", "--output", "x.wav", "--timings", "今日は良い天気です"}), cli::kExitOk)
        << run.err;
    const auto bytes = std::filesystem::file_size(run.dir.file("x.wav"));
    const double seconds = static_cast<double>(bytes - 44) / 2 / 22050;
    EXPECT_GT(seconds, 1.0);
    EXPECT_LT(seconds, 3.5);
    EXPECT_EQ(run.out.rfind(R"({"word":"今日","start_ms":0,"end_ms":)", 0), 0u) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 5);
    // Shift-JIS text is read as Japanese once converted.
    EXPECT_EQ(run({"speak", "--codepage", "shift_jis", "--output", "y.wav", "\x8d\xa1\x93\xfa"}),
              cli::kExitOk)
        << run.err;
    EXPECT_GT(std::filesystem::file_size(run.dir.file("y.wav")), 44u + 22050u / 2);
    EXPECT_EQ(run({"speak", "--voice", "nonesuch", "--output", "z.wav", "Hello"}),
              cli::kExitFailed);
    EXPECT_NE(run.err.find("unknown voice: nonesuch"), std::string::npos);
    EXPECT_EQ(run({"speak", "--output", "x.wav"}), cli::kExitUsage);
    EXPECT_EQ(run({"speak", "--language", "fr", "Bonjour"}), cli::kExitUsage);
    EXPECT_EQ(run({"voices"}), cli::kExitOk);
    EXPECT_NE(run.out.find("\tgmw/en-US\t"), std::string::npos);
}
