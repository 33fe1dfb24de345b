#include "platform/files.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <sys/stat.h>

#include "support/tempdir.h"

namespace pf = orvo::platform;
namespace fs = std::filesystem;
using orvo::test::TempDir;

TEST(OpenFolder, DeletesPlainFilesOnlyAndNeverFollowsLinks)
{
    TempDir dir;
    const std::string out = dir.file("out/");
    dir.write("out/1.html", "x");
    dir.write("out/next.gif", "x");
    dir.write("outside/keep.txt", "precious");
    dir.write("outside/sub/keep2.txt", "precious");
    ASSERT_EQ(::symlink(dir.file("outside/keep.txt").c_str(), (out + "link").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("outside").c_str(), (out + "dirlink").c_str()), 0);

    const pf::OpenFolder folder = pf::OpenFolder::openOrCreate(out);
    ASSERT_TRUE(folder.isOpen());
    EXPECT_EQ(folder.deletePlainFiles(), "");
    EXPECT_TRUE(fs::is_empty(out));
    EXPECT_EQ(dir.read("outside/keep.txt"), "precious");
    EXPECT_EQ(dir.read("outside/sub/keep2.txt"), "precious");
}

TEST(OpenFolder, SubfolderSurvivesAndMissingFolderIsMade)
{
    TempDir dir;
    dir.write("out/1.html", "x");
    dir.write("out/sub/old.html", "old");
    EXPECT_EQ(pf::OpenFolder::openOrCreate(dir.file("out/")).deletePlainFiles(), "");
    EXPECT_FALSE(fs::exists(dir.file("out/1.html")));
    EXPECT_EQ(dir.read("out/sub/old.html"), "old");

    const pf::OpenFolder made = pf::OpenFolder::openOrCreate(dir.file("none/"));
    EXPECT_TRUE(made.isOpen());
    EXPECT_TRUE(fs::is_directory(dir.file("none")));
    EXPECT_FALSE(pf::OpenFolder::openOrCreate(dir.file("missing/none/")).isOpen());
}

TEST(OpenFolder, StopsAtAFileThatCannotBeDeleted)
{
    TempDir dir;
    dir.write("out/a.html", "x");
    const pf::OpenFolder folder = pf::OpenFolder::openOrCreate(dir.file("out/"));
    EXPECT_EQ(folder.deletePlainFiles([](int, const std::string&) { return false; }),
              dir.file("out/a.html"));
    EXPECT_TRUE(fs::exists(dir.file("out/a.html")));
}

// A folder that is a link is refused, whatever it points to; files are
// created new and never through a link planted at their name.
TEST(OpenFolder, LinksAreNeverFollowed)
{
    TempDir dir;
    dir.write("elsewhere/keep.txt", "precious");
    fs::create_directory_symlink(dir.file("elsewhere"), dir.file("out"));
    const pf::OpenFolder linked = pf::OpenFolder::openOrCreate(dir.file("out/"));
    EXPECT_FALSE(linked.isOpen());
    EXPECT_TRUE(linked.isLink());
    EXPECT_EQ(linked.deletePlainFiles(), "");
    EXPECT_FALSE(linked.writeNewFile("keep.txt", "overwritten"));
    EXPECT_EQ(dir.read("elsewhere/keep.txt"), "precious");

    const pf::OpenFolder folder = pf::OpenFolder::openOrCreate(dir.file("real/"));
    fs::create_symlink(dir.file("elsewhere/keep.txt"), dir.file("real/1.html"));
    EXPECT_FALSE(folder.writeNewFile("1.html", "overwritten"));
    EXPECT_EQ(dir.read("elsewhere/keep.txt"), "precious");
    EXPECT_TRUE(folder.writeNewFile("2.html", "page"));
    EXPECT_EQ(dir.read("real/2.html"), "page");
    EXPECT_FALSE(folder.writeNewFile("2.html", "again"));
    EXPECT_FALSE(folder.writeNewFile("../escape.html", "x"));
    EXPECT_FALSE(fs::exists(dir.file("escape.html")));
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
    EXPECT_EQ(pf::OpenFolder::openOrCreate(out).deletePlainFiles(), "");
    EXPECT_TRUE(fs::is_empty(out));
}
