#include "platform/files.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <sys/stat.h>

#include "support/tempdir.h"

namespace pf = orvo::platform;
namespace fs = std::filesystem;
using orvo::test::TempDir;

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

    const pf::RemoveResult result = pf::removeFolder(out);
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
    const pf::RemoveResult result = pf::removeFolder(dir.file("out/"));
    EXPECT_FALSE(result.removed);
    EXPECT_TRUE(result.undeletable.empty());
    EXPECT_FALSE(fs::exists(dir.file("out/1.html")));
    EXPECT_EQ(dir.read("out/sub/old.html"), "old");

    EXPECT_FALSE(pf::removeFolder(dir.file("none/")).removed);
}

TEST(RemoveFolder, StopsAtAFileThatCannotBeDeleted)
{
    TempDir dir;
    dir.write("out/a.html", "x");
    const pf::RemoveResult result =
        pf::removeFolder(dir.file("out/"), [](const std::string&) { return false; });
    EXPECT_FALSE(result.removed);
    EXPECT_EQ(result.undeletable, dir.file("out/a.html"));
    EXPECT_TRUE(fs::exists(dir.file("out/a.html")));
}

TEST(CreateAndCopy, CreateFolderAndCopyFile)
{
    TempDir dir;
    EXPECT_TRUE(pf::createFolder(dir.file("out/")));
    EXPECT_FALSE(pf::createFolder(dir.file("out/")));

    const std::string bytes("GIF89a\r\n\0\xff", 10);
    dir.write("img.gif", bytes);
    dir.write("out/next.gif", "an older, longer file");
    EXPECT_TRUE(pf::copyFile(dir.file("img.gif"), dir.file("out/next.gif")));
    EXPECT_EQ(dir.read("out/next.gif"), bytes);

    EXPECT_FALSE(pf::copyFile(dir.file("missing.gif"), dir.file("out/previous.gif")));
    EXPECT_FALSE(fs::exists(dir.file("out/previous.gif")));
    EXPECT_FALSE(pf::copyFile(dir.path(), dir.file("out/folder.gif")));
}

TEST(FolderPaths, PathsLongerThanTheOldLimitWork)
{
    TempDir dir;
    // Three levels of 120-byte names: far beyond 260 bytes in all.
    std::string folder = dir.path();
    for (int level = 0; level < 3; ++level) {
        folder += std::string(120, static_cast<char>('a' + level)) + "/";
        ASSERT_TRUE(pf::createFolder(folder));
    }
    ASSERT_GT(folder.size(), 360U);
    const std::string out = folder + "html/";
    ASSERT_TRUE(pf::createFolder(out));
    dir.write("img.gif", "GIF");
    EXPECT_TRUE(pf::copyFile(dir.file("img.gif"), out + std::string(200, 'n') + ".gif"));
    EXPECT_TRUE(pf::removeFolder(out).removed);
    EXPECT_FALSE(fs::exists(out));
}
