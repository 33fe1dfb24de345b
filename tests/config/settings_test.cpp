#include "config/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/codepage.h"
#include "platform/messages.h"
#include "support/tempdir.h"

using orvo::config::readSettings;
using orvo::config::Settings;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;

namespace {

bool operator==(const Settings& a, const Settings& b)
{
    return a.tagTypeFile == b.tagTypeFile && a.emotionMapFile == b.emotionMapFile &&
           a.previousImage == b.previousImage && a.nextImage == b.nextImage &&
           a.debugFrameFile == b.debugFrameFile && a.welcomePageFile == b.welcomePageFile &&
           a.settingDir == b.settingDir && a.tempDir == b.tempDir && a.workingDir == b.workingDir;
}

RecordingMessages::Entry cannotOpen(const std::string& path)
{
    return {RecordingMessages::Kind::Error, "Setting file : " + path + "がｵｰﾌﾟﾝできない",
            "読み出しｴﾗｰ"};
}

} // namespace

TEST(ReadSettings, AllNineKeysAndTheLineRules)
{
    TempDir dir;
    RecordingMessages messages;
    Settings s;
    s.nextImage = "kept when the file does not name it";
    ASSERT_TRUE(readSettings(dir.write("ViewOrvo.ini", "tagTypeFile=tags.txt\r\n"
                                                       " \temotionMapFile \t=\t emotions.txt \r\n"
                                                       "previousImage=prev image.gif\n"
                                                       "debugFrameFile=a=b==c\n"
                                                       "welcomePageFile=/x/welcome.html\n"
                                                       "settingDir=first/\n"
                                                       "settingDir=/data/\n"
                                                       "tempDir=/tmp/cache/\n"
                                                       "tempDir=\n"
                                                       "workingdir=case differs/\n"
                                                       "WorkingDir=case differs/\n"
                                                       "unknownKey=value\n"
                                                       "\n"
                                                       "no equals sign here\n"
                                                       "# tagTypeFile=not a comment\n"
                                                       "=value without a key\n"
                                                       "workingDir=out/"),
                             s, messages));
    EXPECT_TRUE(messages.entries().empty());
    Settings expected;
    expected.tagTypeFile = "tags.txt";
    expected.emotionMapFile = "emotions.txt";
    expected.previousImage = "prev image.gif";
    expected.nextImage = "kept when the file does not name it";
    expected.debugFrameFile = "a=b==c";
    expected.welcomePageFile = "/x/welcome.html";
    expected.settingDir = "/data/"; // the later line wins
    expected.tempDir = "";          // also when it is empty
    expected.workingDir = "out/";   // a last line without a line end counts
    EXPECT_TRUE(s == expected);
}

TEST(ReadSettings, ValuesAreBytesOfTheActiveCodePage)
{
    TempDir dir;
    RecordingMessages messages;
    Settings s;
    orvo::platform::setActiveCodePage(orvo::platform::CodePage::ShiftJis);
    // Double-byte characters pass as bytes: 怖 (0x95 0x7C) and ソ (0x83 0x5C).
    const bool ok = readSettings(
        dir.write("s.ini", "workingDir=\x95\x7C\x83\x5C/\nsettingDir\x81\x40=x/\n"), s, messages);
    orvo::platform::setActiveCodePage(orvo::platform::CodePage::Utf8);
    ASSERT_TRUE(ok);
    EXPECT_EQ(s.workingDir, "\x95\x7C\x83\x5C/");
    // A full-width space is no white space, so the key does not match.
    EXPECT_EQ(s.settingDir, "");
}

TEST(ReadSettings, BinaryAndNulBytesAreReadAsBytes)
{
    TempDir dir;
    RecordingMessages messages;
    Settings s;
    const std::string nul(1, '\0');
    std::string bytes = nul + "\xff\x01=\x80\n";
    bytes += "tempDir=a" + nul + "b" + nul + "\n";
    bytes += std::string(1 << 20, 'x') + "\nworkingDir=" + std::string(100000, '\0');
    ASSERT_TRUE(readSettings(dir.write("binary.ini", bytes), s, messages));
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_EQ(s.tempDir, "a" + nul + "b" + nul);
    EXPECT_EQ(s.workingDir, std::string(100000, '\0'));
    EXPECT_EQ(s.settingDir, "");
}

TEST(ReadSettings, FileThatCannotBeOpened)
{
    TempDir dir;
    Settings before;
    before.tempDir = "/unchanged/";
    for (const std::string& path : {dir.file("missing.ini"), dir.path(), std::string()}) {
        RecordingMessages messages;
        Settings s = before;
        EXPECT_FALSE(readSettings(path, s, messages));
        ASSERT_EQ(messages.count(), 1U) << path;
        EXPECT_EQ(messages.entries()[0], cannotOpen(path));
        EXPECT_TRUE(s == before);
    }
}

TEST(ReadSettings, OneInstanceForTheWholeRun)
{
    EXPECT_EQ(&orvo::config::settings(), &orvo::config::settings());
}
