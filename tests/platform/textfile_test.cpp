#include "platform/textfile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/tempdir.h"

namespace pf = orvo::platform;
using orvo::test::TempDir;

namespace {

std::vector<std::string> readLines(const std::string& path)
{
    pf::TextReader reader;
    EXPECT_TRUE(reader.open(path));
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    EXPECT_FALSE(reader.failed());
    return lines;
}

std::vector<std::string> readPieces(const std::string& path, std::size_t max)
{
    pf::TextReader reader;
    EXPECT_TRUE(reader.open(path));
    std::vector<std::string> pieces;
    std::string piece;
    while (reader.readPiece(piece, max)) {
        pieces.push_back(piece);
    }
    return pieces;
}

} // namespace

TEST(TextReader, LineEndsAndLastLine)
{
    TempDir dir;
    using V = std::vector<std::string>;
    EXPECT_EQ(readLines(dir.write("a", "one\r\ntwo\nthree")), (V{"one", "two", "three"}));
    EXPECT_EQ(readLines(dir.write("b", "one\r\n\r\n")), (V{"one", ""}));
    // Only a CR directly before the LF goes; others are text.
    EXPECT_EQ(readLines(dir.write("c", "a\rb\r\r\nc\r")), (V{"a\rb\r", "c\r"}));
    EXPECT_EQ(readLines(dir.write("d", "")), V{});
}

TEST(TextReader, LinesHaveNoLengthLimit)
{
    TempDir dir;
    // Longer than the read buffer, with the CR of a CR LF at a chunk edge.
    std::string longLine(65535, 'x');
    longLine += "\r\nend";
    const auto lines = readLines(dir.write("long", longLine));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], std::string(65535, 'x'));
    EXPECT_EQ(lines[1], "end");
}

TEST(TextReader, PiecesCountBytesAfterLineEndConversion)
{
    TempDir dir;
    using V = std::vector<std::string>;
    EXPECT_EQ(readPieces(dir.write("a", "abcdef\r\nxy"), 4), (V{"abcd", "ef\n", "xy"}));
    // "abc" + CR LF is four bytes in memory: it fits a piece of four.
    EXPECT_EQ(readPieces(dir.write("b", "abc\r\nd"), 4), (V{"abc\n", "d"}));
    EXPECT_EQ(readPieces(dir.write("c", "abcd\r\n"), 4), (V{"abcd", "\n"}));
}

TEST(TextReader, FoldersAndMissingFilesCannotBeOpened)
{
    TempDir dir;
    pf::TextReader reader;
    EXPECT_FALSE(reader.open(dir.path()));
    EXPECT_FALSE(reader.open(dir.file("missing")));
    std::string bytes;
    EXPECT_FALSE(pf::readWholeFile(dir.path(), bytes));
    dir.write("f", std::string_view("x\0y", 3));
    EXPECT_TRUE(pf::readWholeFile(dir.file("f"), bytes));
}

// A page's "ref" may name any path. /dev/zero was read as one endless line
// until the memory ran out, and a named pipe without a writer blocked the
// open for good: only regular files are text files.
TEST(TextReader, DevicesAndNamedPipesCannotBeOpened)
{
    TempDir dir;
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    pf::TextReader reader;
    std::string bytes;
    for (const std::string& path : {pipe, std::string("/dev/zero")}) {
        EXPECT_FALSE(reader.open(path)) << path;
        EXPECT_FALSE(pf::readWholeFile(path, bytes)) << path;
    }
    // A link to a regular file is that file.
    dir.write("f", "x\n");
    std::filesystem::create_symlink(dir.file("f"), dir.file("link"));
    EXPECT_EQ(readLines(dir.file("link")), (std::vector<std::string>{"x"}));
}

TEST(TextWriter, WritesCrLfForEveryLineFeed)
{
    TempDir dir;
    pf::TextWriter writer;
    ASSERT_TRUE(writer.open(dir.file("out")));
    writer.write("a\nb\n\nc");
    writer.write("\n");
    EXPECT_TRUE(writer.close());
    EXPECT_EQ(dir.read("out"), "a\r\nb\r\n\r\nc\r\n");

    EXPECT_FALSE(writer.open(dir.path()));
    EXPECT_FALSE(writer.open(dir.file("no/such/folder")));
}
