// Golden tests: presentations under golden/ and the exact script blocks and
// page files they must give.

#include "config/settings.h"
#include "convert/convertsupport.h"
#include "convert/navigationbar.h"
#include "convert/pageconverter.h"
#include "convert/pagescript.h"
#include "convert/pagewriter.h"
#include "platform/codepage.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using orvo::convert::PageConverter;
using orvo::convert::PageScript;
using orvo::test::goldenPath;
using orvo::test::readBytes;

namespace fs = std::filesystem;

orvo::config::Settings settingsWithWorkingDir(const std::string& workingDir)
{
    orvo::config::Settings settings;
    settings.workingDir = workingDir;
    return settings;
}

// A copy of a golden case folder, so that page files are never written into
// the source tree.
void copyFolder(const fs::path& from, const orvo::test::TempDir& to)
{
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        if (entry.is_regular_file()) {
            to.write(fs::relative(entry.path(), from).string(), readBytes(entry.path().string()));
        }
    }
}

std::string replaced(std::string text, const std::string& marker, const std::string& by)
{
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + by.size())) {
        text.replace(at, marker.size(), by);
    }
    return text;
}

// The worked numbering example: a speak and a listen whose first word speaks
// and jumps to page 3 and whose second word speaks.
TEST(ConvertGolden, NumberingExampleGivesTheWholeScriptBlock)
{
    auto loaded = orvo::test::loadPresentation(goldenPath("numbering/presentation.orv"));
    ASSERT_TRUE(loaded->root);
    PageConverter pages(*loaded->root, loaded->emotions, settingsWithWorkingDir("out/"), "",
                        loaded->messages);
    PageScript script;
    ASSERT_TRUE(pages.generatePageScript(loaded->page(1), script, 1, 3));
    EXPECT_EQ(script.assembleScript(), readBytes(goldenPath("numbering/script.txt")));
    EXPECT_EQ(loaded->messages.count(), 0U);
}

// Two pages written end to end: every action kind outside and inside known
// and unknown emotions, the character's start position from the page tag, a
// source page in a subfolder named with a backslash, both navigation bars.
TEST(ConvertGolden, ActionPagesAreWrittenByteForByte)
{
    orvo::test::TempDir folder;
    copyFolder(goldenPath("actions"), folder);
    fs::create_directory(folder.file("out"));
    auto loaded = orvo::test::loadPresentation(folder.file("presentation.orv"));
    ASSERT_TRUE(loaded->root);
    PageConverter pages(*loaded->root, loaded->emotions, settingsWithWorkingDir("out/"),
                        folder.path(), loaded->messages);
    const int count = static_cast<int>(loaded->pages.size());
    ASSERT_EQ(count, 2);
    for (int i = 1; i <= count; ++i) {
        EXPECT_TRUE(pages.convertPage(loaded->page(static_cast<std::size_t>(i)), i, count));
    }
    EXPECT_EQ(loaded->messages.count(), 0U);
    for (const char* name : {"1.html", "2.html"}) {
        EXPECT_EQ(folder.read(std::string("out/") + name),
                  readBytes(goldenPath(std::string("actions/expected/") + name)))
            << name;
    }
}

// Each folder under golden/rewrites holds a source page and the page file it
// must become as page 2 of 3; in the expected file @SCRIPT@ stands for the
// script block and @NAVBAR@ for the navigation bar (both checked above).
TEST(ConvertGolden, SourcePageRewrites)
{
    std::size_t cases = 0;
    for (const auto& entry : fs::directory_iterator(goldenPath("rewrites"))) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++cases;
        orvo::test::TempDir folder;
        folder.write("page.html", readBytes((entry.path() / "page.html").string()));
        fs::create_directory(folder.file("out"));

        orvo::markup::TagNode page("page", 2, std::string(), nullptr);
        page.setAttribute("ref", "page.html");
        PageScript script;
        script.navigationBar = orvo::convert::generateNavigationBar(2, 3);
        orvo::platform::RecordingMessages messages;
        ASSERT_TRUE(orvo::convert::writePage(page, folder.path(), "out/", 2, script, messages));
        EXPECT_EQ(messages.count(), 0U);

        std::string expected = readBytes((entry.path() / "expected.html").string());
        expected = replaced(expected, "@SCRIPT@", orvo::test::crlf(script.assembleScript()));
        expected = replaced(expected, "@NAVBAR@", orvo::test::crlf(script.navigationBar));
        EXPECT_EQ(folder.read("out/2.html"), expected);
    }
    EXPECT_EQ(cases, 9U);
}

TEST(ConvertGolden, NavigationBars)
{
    using orvo::convert::generateNavigationBar;
    EXPECT_EQ(generateNavigationBar(1, 3),
              "<center>\n"
              "<STRONG><FONT size=6> 1 </FONT></STRONG>\n"
              "<a href=\"2.html\"> <IMG src=\"next.gif\" border=0></a>\n"
              "</center>\n");
    EXPECT_EQ(generateNavigationBar(2, 3),
              "<center>\n"
              "<a href=\"1.html\"> <IMG src=\"previous.gif\" border=0></a>\n"
              "<STRONG><FONT size=6> 2 </FONT></STRONG>\n"
              "<a href=\"3.html\"> <IMG src=\"next.gif\" border=0></a>\n"
              "</center>\n");
    EXPECT_EQ(generateNavigationBar(3, 3),
              "<center>\n"
              "<a href=\"2.html\"> <IMG src=\"previous.gif\" border=0></a>\n"
              "<STRONG><FONT size=6> 3 </FONT></STRONG>\n"
              "</center>\n");
    EXPECT_EQ(generateNavigationBar(1, 1),
              "<center>\n<STRONG><FONT size=6> 1 </FONT></STRONG>\n</center>\n");
}

} // namespace
