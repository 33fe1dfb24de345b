#include "convert/outputfolder.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <sys/stat.h>

#include "platform/messages.h"
#include "support/tempdir.h"

namespace cv = orvo::convert;
namespace fs = std::filesystem;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;

TEST(OutputFolderPaths, MarkupFolderAndSafeWorkingDirs)
{
    EXPECT_EQ(cv::markupFolderOf("/home/u/show/talk.orv"), "/home/u/show/");
    EXPECT_EQ(cv::markupFolderOf("talk.orv"), "");
    EXPECT_EQ(cv::markupFolderOf("a/"), "a/");

    EXPECT_TRUE(cv::isSafeWorkingDir("html/"));
    EXPECT_TRUE(cv::isSafeWorkingDir("out put.d/"));
    for (const char* unsafe :
         {"", "/", "html", "./", "../", "/tmp/", "a/b/", "html//", "a\\b/", "..", "."}) {
        EXPECT_FALSE(cv::isSafeWorkingDir(unsafe)) << unsafe;
    }
}

TEST(RemoveFolder, DeletesPlainFilesOnlyAndNeverFollowsLinks)
{
    TempDir dir;
    const std::string out = dir.file("out/");
    dir.write("out/1.html", "x");
    dir.write("out/next.gif", "x");
    dir.write("outside/keep.txt", "precious");
    dir.write("outside/sub/keep2.txt", "precious");
    ASSERT_EQ(::symlink(dir.file("outside/keep.txt").c_str(), (out + "link").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("outside").c_str(), (out + "dirlink").c_str()), 0);

    const cv::RemoveResult result = cv::removeFolder(out);
    EXPECT_TRUE(result.removed);
    EXPECT_TRUE(result.undeletable.empty());
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(dir.read("outside/keep.txt"), "precious");
    EXPECT_EQ(dir.read("outside/sub/keep2.txt"), "precious");
}

TEST(RemoveFolder, SubfolderSurvivesAndMissingFolderIsNoError)
{
    TempDir dir;
    dir.write("out/1.html", "x");
    dir.write("out/sub/old.html", "old");
    const cv::RemoveResult result = cv::removeFolder(dir.file("out/"));
    EXPECT_FALSE(result.removed);
    EXPECT_TRUE(result.undeletable.empty());
    EXPECT_FALSE(fs::exists(dir.file("out/1.html")));
    EXPECT_EQ(dir.read("out/sub/old.html"), "old");

    EXPECT_FALSE(cv::removeFolder(dir.file("none/")).removed);
}

TEST(RemoveFolder, StopsAtAFileThatCannotBeDeleted)
{
    TempDir dir;
    dir.write("out/a.html", "x");
    const cv::RemoveResult result =
        cv::removeFolder(dir.file("out/"), [](const std::string&) { return false; });
    EXPECT_FALSE(result.removed);
    EXPECT_EQ(result.undeletable, dir.file("out/a.html"));
    EXPECT_TRUE(fs::exists(dir.file("out/a.html")));
}

TEST(CreateAndCopy, CreateFolderAndCopyFile)
{
    TempDir dir;
    EXPECT_TRUE(cv::createFolder(dir.file("out/")));
    EXPECT_FALSE(cv::createFolder(dir.file("out/")));

    const std::string bytes("GIF89a\r\n\0\xff", 10);
    dir.write("img.gif", bytes);
    dir.write("out/next.gif", "an older, longer file");
    EXPECT_TRUE(cv::copyFile(dir.file("img.gif"), dir.file("out/next.gif")));
    EXPECT_EQ(dir.read("out/next.gif"), bytes);

    EXPECT_FALSE(cv::copyFile(dir.file("missing.gif"), dir.file("out/previous.gif")));
    EXPECT_FALSE(fs::exists(dir.file("out/previous.gif")));
    EXPECT_FALSE(cv::copyFile(dir.path(), dir.file("out/folder.gif")));
}

TEST(IndexPage, TextAndWriteError)
{
    TempDir dir;
    RecordingMessages messages;
    cv::writeIndexPage(dir.file("debugMain.html"), 3, messages);
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(dir.read("debugMain.html"),
              "<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY  text =\"00000e\">\r\n"
              "<a href=\"1.html\" target=\"up_frame\"> 1 </a>"
              "<a href=\"2.html\" target=\"up_frame\"> 2 </a>"
              "<a href=\"3.html\" target=\"up_frame\"> 3 </a></BODY>\r\n</HTML>\r\n");

    const std::string bad = dir.file("missing/debugMain.html");
    cv::writeIndexPage(bad, 1, messages);
    ASSERT_EQ(messages.count(), 1U);
    EXPECT_EQ(messages.entries()[0].text, "ﾌｧｲﾙ" + bad + "がｵｰﾌﾟﾝできない");
    EXPECT_EQ(messages.entries()[0].caption, "書き出しｴﾗｰ");
}

TEST(OutputFolderPaths, PathsLongerThanTheOldLimitWork)
{
    TempDir dir;
    // Three levels of 120-byte names: far beyond 260 bytes in all.
    std::string folder = dir.path();
    for (int level = 0; level < 3; ++level) {
        folder += std::string(120, static_cast<char>('a' + level)) + "/";
        ASSERT_TRUE(cv::createFolder(folder));
    }
    ASSERT_GT(folder.size(), 360U);
    const std::string out = folder + "html/";
    ASSERT_TRUE(cv::createFolder(out));
    dir.write("img.gif", "GIF");
    EXPECT_TRUE(cv::copyFile(dir.file("img.gif"), out + std::string(200, 'n') + ".gif"));
    EXPECT_TRUE(cv::removeFolder(out).removed);
    EXPECT_FALSE(fs::exists(out));
}
