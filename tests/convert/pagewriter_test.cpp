#include "convert/pagewriter.h"
#include "convert/sourcepage.h"

#include "config/settings.h"
#include "convert/convertsupport.h"
#include "convert/pageconverter.h"
#include "convert/pagescript.h"
#include "convert/pagewords.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <new>

// Counts the allocations of the whole test program, so that a test can show
// that a piece of work allocates nothing. The replacements pair malloc with
// free on purpose; GCC, seeing free on what operator new returned once they
// are inlined in an optimised build, would warn.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
std::atomic<std::size_t> g_allocations{0};
}

void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

using orvo::convert::findEitherCase;
using orvo::convert::PageScript;
using orvo::convert::writePage;
using orvo::markup::TagNode;
using orvo::platform::RecordingMessages;

// Restores the code page a test switched to.
struct ActiveCodePage {
    orvo::platform::CodePage saved = orvo::platform::activeCodePage();
    explicit ActiveCodePage(orvo::platform::CodePage page)
    {
        orvo::platform::setActiveCodePage(page);
    }
    ~ActiveCodePage() { orvo::platform::setActiveCodePage(saved); }
};

std::unique_ptr<TagNode> pageWithRef(const std::string& ref)
{
    auto page = std::make_unique<TagNode>("page", 2, std::string(), nullptr);
    page->setAttribute("ref", ref);
    return page;
}

TEST(PageWriter, FindEitherCase)
{
    EXPECT_EQ(findEitherCase("<BODY>", "<body"), 0U);
    EXPECT_EQ(findEitherCase("x<body>", "<BODY"), 1U);
    EXPECT_EQ(findEitherCase("<Body>", "<body"), orvo::platform::npos);
    // Upper case wins over an earlier lower case.
    EXPECT_EQ(findEitherCase("src SRC", "src"), 4U);
    EXPECT_EQ(findEitherCase("", "src"), orvo::platform::npos);
}

TEST(PageWriter, NoMatchInsideADoubleByteCharacter)
{
    ActiveCodePage shiftJis(orvo::platform::CodePage::ShiftJis);
    // 0x83 0x73 is one character whose second byte is "s".
    EXPECT_EQ(findEitherCase("\x83src=\"a.gif\"", "src"), orvo::platform::npos);
    std::string line = "<img \x83src=\"a.gif\">";
    orvo::convert::rewriteImageReference(line);
    EXPECT_EQ(line, "<img \x83src=\"a.gif\">");
    line = "<img alt=\"\x83\x5c\" src=\"a.gif\">";
    orvo::convert::rewriteImageReference(line);
    EXPECT_EQ(line, "<img alt=\"\x83\x5c\" src=\"../a.gif\">");

    // The same in a whole page, where the words are found in one pass.
    orvo::test::TempDir folder;
    folder.write("p.html", "<td \x83\x62"
                           "ackground=\"c.gif\" \x83src=\"a.gif\">\n<img \x83\x83src=\"b.gif\">\n");
    std::filesystem::create_directory(folder.file("out"));
    RecordingMessages messages;
    EXPECT_TRUE(
        writePage(*pageWithRef("p.html"), folder.path(), "out/", 1, PageScript(), messages));
    EXPECT_EQ(folder.read("out/1.html"),
              "<td \x83\x62"
              "ackground=\"c.gif\" \x83src=\"a.gif\">\r\n<img \x83\x83src=\"../b.gif\">\r\n");
}

// The one-pass search over a whole page answers as findEitherCase does line
// by line, and finds the line feeds, at every position of a block (pages made
// of pieces of the words).
TEST(PageWriter, WordsOfAPageAreFoundAsInEachLine)
{
    using Words = orvo::convert::PageWords;
    const std::string_view pieces[] = {"background", "BACKGROUND", "src",  "SRC", "<body", "<BODY",
                                       "</head>",    "</HEAD>",    "Src",  "b",   "s",     "<",
                                       "x",          "\n",         "\x83", "ba",  "</"};
    const std::pair<Words::Word, std::string_view> words[] = {{Words::Background, "background"},
                                                              {Words::Src, "src"},
                                                              {Words::Body, "<body"},
                                                              {Words::HeadEnd, "</head>"}};
    for (const auto page : {orvo::platform::CodePage::Utf8, orvo::platform::CodePage::ShiftJis}) {
        ActiveCodePage active(page);
        unsigned seed = 7;
        for (int round = 0; round < 300; ++round) {
            std::string text;
            while (text.size() < 90) {
                seed = seed * 1103515245U + 12345U;
                text += pieces[(seed >> 16) % std::size(pieces)];
            }
            Words found;
            found.index(text);
            for (std::size_t begin = 0; begin < text.size();) {
                EXPECT_EQ(found.nextLineFeed(begin), text.find('\n', begin)) << text;
                const std::size_t end = std::min(text.find('\n', begin), text.size());
                const std::string_view line = std::string_view(text).substr(begin, end - begin);
                for (const auto& [word, form] : words) {
                    const std::size_t expected = findEitherCase(line, form);
                    EXPECT_EQ(found.inLine(word, begin, end),
                              expected == orvo::platform::npos ? expected : begin + expected)
                        << text;
                }
                begin = end + 1;
            }
        }
    }
}

// The "ref" names a subfolder with a backslash whose file name holds a
// Shift-JIS character with the byte of a backslash inside it: only the real
// separator becomes "/".
TEST(PageWriter, RefWithBackslashesReadsFromTheSubfolder)
{
    ActiveCodePage shiftJis(orvo::platform::CodePage::ShiftJis);
    orvo::test::TempDir folder;
    folder.write("sub/\x95\x5c.html", "<img src=\"a.gif\">\n");
    std::filesystem::create_directory(folder.file("out"));
    const auto page = pageWithRef("sub\\\x95\x5c.html");
    RecordingMessages messages;
    EXPECT_TRUE(writePage(*page, folder.path(), "out/", 4, PageScript(), messages));
    EXPECT_EQ(folder.read("out/4.html"), "<img src=\"../a.gif\">\r\n");
    EXPECT_EQ(messages.count(), 0U);
}

TEST(PageWriter, UnreadableSourceIsReportedAndWritesNothing)
{
    orvo::test::TempDir folder;
    std::filesystem::create_directory(folder.file("out"));
    std::filesystem::create_directory(folder.file("folder.html"));
    RecordingMessages messages;
    for (const char* ref : {"missing.html", "", "folder.html"}) {
        EXPECT_FALSE(
            writePage(*pageWithRef(ref), folder.path(), "out/", 1, PageScript(), messages));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("out/1.html")));
    const auto error = [&](const std::string& path) {
        return RecordingMessages::Entry{RecordingMessages::Kind::Error,
                                        "ﾌｧｲﾙ" + path + "がｵｰﾌﾟﾝできない", "読み出しｴﾗｰ"};
    };
    EXPECT_EQ(messages.entries(), (std::vector<RecordingMessages::Entry>{
                                      error(folder.file("missing.html")), error(folder.path()),
                                      error(folder.file("folder.html"))}));
}

// A source page that is a link is read only when the link stays inside the
// presentation's folder: a page opened without resolving real paths must not
// let a link through.
TEST(PageWriter, LinkedSourcePageIsReadOnlyInsideTheFolder)
{
    orvo::test::TempDir folder;
    folder.write("in/real.html", "<p>inside</p>\n");
    folder.write("outside.html", "<p>outside</p>\n");
    std::filesystem::create_directory(folder.file("in/out"));
    std::filesystem::create_symlink("real.html", folder.file("in/near.html"));
    std::filesystem::create_symlink("../outside.html", folder.file("in/far.html"));
    RecordingMessages messages;
    const std::string markupFolder = folder.file("in/");
    EXPECT_TRUE(
        writePage(*pageWithRef("near.html"), markupFolder, "out/", 1, PageScript(), messages));
    EXPECT_EQ(folder.read("in/out/1.html"), "<p>inside</p>\r\n");
    EXPECT_FALSE(
        writePage(*pageWithRef("far.html"), markupFolder, "out/", 2, PageScript(), messages));
    EXPECT_FALSE(std::filesystem::exists(folder.file("in/out/2.html")));
    EXPECT_EQ(messages.count(), 1U);
}

// A "ref" that climbs to a device read /dev/zero as one endless line until
// the memory ran out (found while writing fuzz_convert). A device is a source
// page that cannot be opened.
TEST(PageWriter, SourceThatIsADeviceIsReported)
{
    orvo::test::TempDir folder;
    std::filesystem::create_directory(folder.file("out"));
    std::string climb;
    for (std::size_t level = 0; level <= folder.path().size(); ++level) {
        climb += "..\\";
    }
    RecordingMessages messages;
    EXPECT_FALSE(writePage(*pageWithRef(climb + "dev\\zero"), folder.path(), "out/", 1,
                           PageScript(), messages));
    EXPECT_FALSE(std::filesystem::exists(folder.file("out/1.html")));
    ASSERT_EQ(messages.count(), 1U);
    EXPECT_EQ(messages.entries()[0].caption, "読み出しｴﾗｰ");
}

TEST(PageWriter, UnwritablePageIsReported)
{
    orvo::test::TempDir folder;
    folder.write("page.html", "<html></html>\n");
    RecordingMessages messages;
    // No output folder.
    EXPECT_FALSE(
        writePage(*pageWithRef("page.html"), folder.path(), "out/", 12, PageScript(), messages));
    EXPECT_EQ(messages.entries(),
              (std::vector<RecordingMessages::Entry>{
                  {RecordingMessages::Kind::Error,
                   "ﾌｧｲﾙ" + folder.file("out/12.html") + "がｵｰﾌﾟﾝできない", "書き出しｴﾗｰ"}}));
}

// A page file whose bytes cannot all be written (a full disk) is a failure,
// reported like a page file that cannot be created.
TEST(PageWriter, FailedWriteIsReported)
{
    if (!std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    orvo::test::TempDir folder;
    folder.write("page.html", "<html></html>\n");
    std::filesystem::create_directory(folder.file("out"));
    std::filesystem::create_symlink("/dev/full", folder.file("out/1.html"));
    RecordingMessages messages;
    EXPECT_FALSE(
        writePage(*pageWithRef("page.html"), folder.path(), "out/", 1, PageScript(), messages));
    EXPECT_EQ(messages.entries(),
              (std::vector<RecordingMessages::Entry>{
                  {RecordingMessages::Kind::Error,
                   "ﾌｧｲﾙ" + folder.file("out/1.html") + "がｵｰﾌﾟﾝできない", "書き出しｴﾗｰ"}}));
}

// The line that loads the agent runtime follows the script block wherever it
// goes: behind each copy (a page may hold "</head>" twice, one of them inside
// a comment), nowhere in a page without "</head>", and it is a line of its
// own however the source line looked.
TEST(PageWriter, PlayerLineFollowsEveryScriptBlock)
{
    orvo::test::TempDir folder;
    folder.write("twice.html", "<!-- </head> -->\n<title>T</title></HEAD>\n<body>\n");
    folder.write("headless.html", "<body>\n<p>x</p>\n");
    std::filesystem::create_directory(folder.file("out"));
    PageScript script;
    const std::string block = script.assembleScript();
    const std::string line = "<script src=\"orvo-player.js\" charset=\"utf-8\"></script>\n";
    RecordingMessages messages;
    EXPECT_TRUE(
        writePage(*pageWithRef("twice.html"), folder.path(), "out/", 1, script, messages, line));
    const std::string crlf = orvo::platform::replaceAll(block + line, "\n", "\r\n");
    EXPECT_EQ(folder.read("out/1.html"),
              "<!-- " + crlf + "</head> -->\r\n<title>T</title>" + crlf + "</HEAD>\r\n<body>\r\n");
    EXPECT_TRUE(
        writePage(*pageWithRef("headless.html"), folder.path(), "out/", 2, script, messages, line));
    EXPECT_EQ(folder.read("out/2.html"), "<body>\r\n<p>x</p>\r\n");
    EXPECT_EQ(messages.count(), 0U);
}

TEST(PageWriter, EmptySourceGivesAnEmptyPage)
{
    orvo::test::TempDir folder;
    folder.write("page.html", "");
    std::filesystem::create_directory(folder.file("out"));
    RecordingMessages messages;
    EXPECT_TRUE(
        writePage(*pageWithRef("page.html"), folder.path(), "out/", 1, PageScript(), messages));
    EXPECT_TRUE(std::filesystem::exists(folder.file("out/1.html")));
    EXPECT_EQ(folder.read("out/1.html"), "");
}

// The words are searched over the whole page, not line by line: a match on
// a later line must not hide the one on this line, an upper-case match wins
// over an earlier lower-case one on its own line only, and the bar of a body
// tag that ends on the next line goes behind that line's first ">".
TEST(PageWriterTest, WordsAreTakenLineByLineAcrossThePage)
{
    orvo::test::TempDir folder;
    folder.write("page.html", "<img src=\"a.gif\">\n"
                              "<img src=\"c.gif\"> <IMG SRC=\"b.gif\">\r\n"
                              "<p class=x>\n"
                              "<BODY background=\"bg.gif\"\n"
                              " text=\"x\"><p>\n"
                              "</HEAD>");
    std::filesystem::create_directory(folder.file("out"));
    PageScript script;
    script.navigationBar = "[bar]\n";
    const std::string block = orvo::platform::replaceAll(script.assembleScript(), "\n", "\r\n");
    RecordingMessages messages;
    EXPECT_TRUE(writePage(*pageWithRef("page.html"), folder.path(), "out/", 1, script, messages));
    EXPECT_EQ(folder.read("out/1.html"), "<img src=\"../a.gif\">\r\n"
                                         "<img src=\"c.gif\"> <IMG SRC=\"../b.gif\">\r\n"
                                         "<p class=x>\r\n"
                                         "<BODY background=\"../bg.gif\"\r\n"
                                         " text=\"x\">[bar]\r\n<p>\r\n" +
                                             block + "</HEAD>\r\n");
    EXPECT_EQ(messages.count(), 0U);
}

// Once its buffers have grown to the page, writing another page of that size
// allocates nothing at all: a source page that lies in the markup folder and
// is no link is opened without resolving real paths, read with one read into
// the kept source buffer, built in the kept page buffer and written with one
// write.
TEST(PageWriterTest, SteadyStateWritesWithoutAllocating)
{
    orvo::test::TempDir folder;
    folder.write("page.html", "<html>\n<head><title>T</title></head>\n<BODY background=\"a.gif\">"
                              "\n<img src=\"b.gif\">\n</body>\n</html>\n");
    std::filesystem::create_directory(folder.file("out"));
    const auto page = pageWithRef("page.html");
    PageScript script;
    script.navigationBar = "<center>\n<STRONG><FONT size=6> 7 </FONT></STRONG>\n</center>\n";
    RecordingMessages messages;
    orvo::convert::PageWriter writer(folder.path(), "out/", messages);
    ASSERT_TRUE(writer.write(*page, 7, script));
    ASSERT_TRUE(writer.write(*page, 8, script));
    const std::size_t before = g_allocations.load();
    const bool written = writer.write(*page, 9, script);
    const std::size_t allocations = g_allocations.load() - before;
    EXPECT_TRUE(written);
    EXPECT_EQ(allocations, 0U);
    EXPECT_EQ(folder.read("out/9.html"), folder.read("out/7.html"));
}

// A conversion in its steady state allocates nothing per page: the
// generators append to one script that is reset from page to page, and the
// writer keeps its buffers. Every action kind, in and out of emotions, and a
// jump, so that no generator is left out.
TEST(PageWriterTest, SteadyStatePagesAllocateNothing)
{
    orvo::test::TempDir folder;
    folder.write("page.html", "<html>\n<head><title>T</title></head>\n<body>\n</body>\n</html>\n");
    std::filesystem::create_directory(folder.file("out"));
    const auto loaded = orvo::test::parsePresentation(
        "<agent character=\"Merlin\"/>\n<place id=\"door\" location=\"10,20\"/>\n<body>\n"
        "<page ref=\"page.html\" id=\"p1\" area=\"right_bottom\">\n"
        "<speak begin=\"3s\">Hello \"friend\"</speak>\n<play act=\"Greet\" begin=\"2s\"/>\n"
        "<move spot=\"door\"/>\n<emotion type=\"happy\">\n<speak>I am happy</speak>\n"
        "<move area=\"right_top\"/>\n<play act=\"Wave\"/>\n</emotion>\n"
        "<emotion type=\"sad\">\n<speak>one two</speak>\n</emotion>\n"
        "<speak>and on</speak>\n<jump des=\"p1\"/>\n</page>\n</body>\n");
    ASSERT_EQ(loaded->pages.size(), 1U);
    orvo::config::Settings settings;
    settings.workingDir = "out/";
    orvo::convert::PageConverter pages(*loaded->root, loaded->emotions, settings, folder.path(),
                                       loaded->messages);
    ASSERT_TRUE(pages.convertPage(loaded->page(1), 1, 2));
    ASSERT_TRUE(pages.convertPage(loaded->page(1), 1, 2));
    const std::string first = folder.read("out/1.html");
    const std::size_t before = g_allocations.load();
    const bool written = pages.convertPage(loaded->page(1), 1, 2);
    const std::size_t allocations = g_allocations.load() - before;
    EXPECT_TRUE(written);
    EXPECT_EQ(allocations, 0U);
    EXPECT_EQ(folder.read("out/1.html"), first);
    EXPECT_NE(first.find("Doll.Speak"), std::string::npos);
    EXPECT_EQ(loaded->messages.count(), 0U);
}

} // namespace
