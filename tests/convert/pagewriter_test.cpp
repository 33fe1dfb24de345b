#include "convert/pagewriter.h"

#include "convert/convertsupport.h"
#include "convert/pagescript.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

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

TEST(PageWriterTest, FindEitherCase)
{
    EXPECT_EQ(findEitherCase("<BODY>", "<body"), 0U);
    EXPECT_EQ(findEitherCase("x<body>", "<BODY"), 1U);
    EXPECT_EQ(findEitherCase("<Body>", "<body"), orvo::platform::npos);
    // Upper case wins over an earlier lower case.
    EXPECT_EQ(findEitherCase("src SRC", "src"), 4U);
    EXPECT_EQ(findEitherCase("", "src"), orvo::platform::npos);
}

TEST(PageWriterTest, NoMatchInsideADoubleByteCharacter)
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
}

// The "ref" names a subfolder with a backslash whose file name holds a
// Shift-JIS character with the byte of a backslash inside it: only the real
// separator becomes "/".
TEST(PageWriterTest, RefWithBackslashesReadsFromTheSubfolder)
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

TEST(PageWriterTest, UnreadableSourceIsReportedAndWritesNothing)
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

// A "ref" that climbs to a device read /dev/zero as one endless line until
// the memory ran out (found while writing fuzz_convert). A device is a source
// page that cannot be opened.
TEST(PageWriterTest, SourceThatIsADeviceIsReported)
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

TEST(PageWriterTest, UnwritablePageIsReported)
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
TEST(PageWriterTest, FailedWriteIsReported)
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
TEST(PageWriterTest, PlayerLineFollowsEveryScriptBlock)
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

TEST(PageWriterTest, EmptySourceGivesAnEmptyPage)
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

} // namespace
