#include "config/presentation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/emotionmap.h"
#include "config/settings.h"
#include "markup/tagnode.h"
#include "markup/tagtypetable.h"
#include "platform/messages.h"
#include "support/tempdir.h"

using orvo::config::Presentation;
using orvo::config::Settings;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;
using Entry = RecordingMessages::Entry;

namespace {

constexpr auto kError = RecordingMessages::Kind::Error;

const char* kTagTypes = "body,2,children,{}\n"
                        "page,3,children,{ref,id}\n"
                        "speak,5,children,{begin}\n";
const char* kEmotions = "character=Orvi\nhappy:{Pleased}{}{}{}{}{}\n";

// A settings folder with both tables, a cache folder and a settings file
// naming them; "@DIR@" in extra lines stands for the temporary folder.
struct Installation {
    TempDir dir;
    RecordingMessages messages;
    Settings settings;
    Presentation presentation{messages, settings};

    explicit Installation(std::string extraSettings = "")
    {
        for (std::size_t at; (at = extraSettings.find("@DIR@")) != std::string::npos;) {
            extraSettings.replace(at, 5, dir.path());
        }
        dir.write("data/tags.txt", kTagTypes);
        dir.write("data/emotions.txt", kEmotions);
        std::filesystem::create_directory(dir.file("cache"));
        dir.write("ViewOrvo.ini", "tagTypeFile=tags.txt\n"
                                  "emotionMapFile=emotions.txt\n"
                                  "settingDir=" +
                                      dir.file("data/") + "\ntempDir=" + dir.file("cache/") + "\n" +
                                      extraSettings);
    }
    bool load() { return presentation.loadSettingsAndTables(dir.file("ViewOrvo.ini")); }
    bool tagTypesLoaded() const { return presentation.getTagTypeTable().lookup("page") != nullptr; }
    bool emotionsLoaded() const { return presentation.getEmotionMap().lookup("Orvi") != nullptr; }
};

Entry cannotOpen(const std::string& path, const char* caption)
{
    return {kError, "ﾌｧｲﾙ" + path + "がｵｰﾌﾟﾝできない", caption};
}

} // namespace

TEST(Presentation, StartsEmpty)
{
    RecordingMessages messages;
    Settings settings;
    Presentation p(messages, settings);
    EXPECT_EQ(p.getMarkupPath(), "");
    EXPECT_EQ(p.getRoot(), nullptr);
    EXPECT_EQ(p.findTag("body"), nullptr);
    EXPECT_EQ(p.getTagTypeTable().size(), 0U);
    EXPECT_EQ(p.getEmotionMap().lookup(""), nullptr);
    EXPECT_EQ(&p.settings(), &settings);
    // Without a Settings of its own it uses the process-wide one.
    Presentation global(messages);
    EXPECT_EQ(&global.settings(), &orvo::config::settings());
}

TEST(PresentationTables, LoadsBothTablesAndWritesTheirEchoFiles)
{
    Installation i;
    ASSERT_TRUE(i.load());
    EXPECT_TRUE(i.messages.entries().empty());
    EXPECT_TRUE(i.tagTypesLoaded());
    EXPECT_TRUE(i.emotionsLoaded());
    EXPECT_EQ(i.presentation.getTagTypeTable().fileName(), i.dir.file("data/tags.txt"));
    EXPECT_EQ(i.presentation.getEmotionMap().fileName(), i.dir.file("data/emotions.txt"));
    EXPECT_EQ(i.dir.read("cache/emotions.txt"), "character=Orvi\r\nhappy:{Pleased}{}{}{}{}{}\r\n");
    EXPECT_FALSE(i.dir.read("cache/tags.txt").empty());
}

// tempDir may be shared with others: a link planted at an echo file's name
// is replaced by the echo, and the file it points to stays as it was.
TEST(PresentationTables, EchoFilesReplaceLinksInsteadOfWritingThroughThem)
{
    Installation i;
    const std::string victim = i.dir.write("victim.txt", "someone else's file");
    std::filesystem::create_symlink(victim, i.dir.file("cache/tags.txt"));
    std::filesystem::create_symlink(victim, i.dir.file("cache/emotions.txt"));
    ASSERT_TRUE(i.load());
    EXPECT_TRUE(i.messages.entries().empty());
    EXPECT_EQ(i.dir.read("victim.txt"), "someone else's file");
    for (const char* echo : {"cache/tags.txt", "cache/emotions.txt"}) {
        EXPECT_FALSE(std::filesystem::is_symlink(i.dir.file(echo))) << echo;
    }
    EXPECT_EQ(i.dir.read("cache/emotions.txt"), "character=Orvi\r\nhappy:{Pleased}{}{}{}{}{}\r\n");
    EXPECT_NE(i.dir.read("cache/tags.txt").find("body,2,children,{}\r\n"), std::string::npos);
    // Nothing but the two echo files is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(i.dir.file("cache")),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(PresentationTables, MissingSettingsFileGivesOneBoxAndEmptyTables)
{
    Installation i;
    EXPECT_FALSE(i.presentation.loadSettingsAndTables(i.dir.file("nowhere.ini")));
    ASSERT_EQ(i.messages.count(), 1U);
    EXPECT_EQ(i.messages.entries()[0],
              (Entry{kError, "Setting file : " + i.dir.file("nowhere.ini") + "がｵｰﾌﾟﾝできない",
                     "読み出しｴﾗｰ"}));
    EXPECT_EQ(i.presentation.getTagTypeTable().size(), 0U);
    EXPECT_FALSE(i.emotionsLoaded());
}

TEST(PresentationTables, UnwritableTempDirFailsTheTagTypesAndSkipsTheEmotionMap)
{
    // A tempDir that does not exist, and one that runs through a plain file.
    for (const std::string& tempDir : {std::string("missing/"), std::string("ViewOrvo.ini/")}) {
        Installation i("tempDir=@DIR@" + tempDir + "\n");
        EXPECT_FALSE(i.load());
        ASSERT_EQ(i.messages.count(), 1U);
        EXPECT_EQ(i.messages.entries()[0],
                  cannotOpen(i.dir.file(tempDir + "tags.txt"), "書き込みｴﾗｰ"));
        // The tag type table stays loaded; the emotion map was never read.
        EXPECT_TRUE(i.tagTypesLoaded());
        EXPECT_FALSE(i.emotionsLoaded());
        EXPECT_EQ(i.presentation.getEmotionMap().fileName(), "");
    }
}

TEST(PresentationTables, MissingTablesAndFolders)
{
    {
        // Missing tag type file: the emotion map is not loaded either.
        Installation i("tagTypeFile=nothing.txt\n");
        EXPECT_FALSE(i.load());
        ASSERT_EQ(i.messages.count(), 1U);
        EXPECT_EQ(i.messages.entries()[0],
                  cannotOpen(i.dir.file("data/nothing.txt"), "読み出しｴﾗｰ"));
        EXPECT_EQ(i.presentation.getTagTypeTable().size(), 0U);
        EXPECT_FALSE(i.emotionsLoaded());
    }
    {
        // A tag type path that names a folder.
        Installation i("tagTypeFile=\n");
        EXPECT_FALSE(i.load());
        ASSERT_EQ(i.messages.count(), 1U);
        EXPECT_EQ(i.messages.entries()[0], cannotOpen(i.dir.file("data/"), "読み出しｴﾗｰ"));
        EXPECT_FALSE(i.emotionsLoaded());
    }
    {
        // An emotion map path that names a folder: the tag type table stays.
        Installation i("emotionMapFile=\n");
        EXPECT_FALSE(i.load());
        ASSERT_EQ(i.messages.count(), 1U);
        EXPECT_EQ(i.messages.entries()[0], cannotOpen(i.dir.file("data/"), "読み出しｴﾗｰ"));
        EXPECT_TRUE(i.tagTypesLoaded());
        EXPECT_FALSE(i.emotionsLoaded());
    }
    {
        // An emotion echo that cannot be written.
        Installation i;
        std::filesystem::create_directory(i.dir.file("cache/emotions.txt"));
        EXPECT_FALSE(i.load());
        ASSERT_EQ(i.messages.count(), 1U);
        EXPECT_EQ(i.messages.entries()[0],
                  cannotOpen(i.dir.file("cache/emotions.txt"), "書き込みｴﾗｰ"));
        EXPECT_TRUE(i.emotionsLoaded());
    }
}

TEST(PresentationMarkup, ReadsParsesAndReleasesTheTree)
{
    Installation i;
    ASSERT_TRUE(i.load());
    i.presentation.setMarkupPath(i.dir.write("show.orv", "<orvo>\n<body>\n<page ref=\"a.html\">\n"
                                                         "<speak>Hello</speak>\n</page>\n"
                                                         "</body>\n</orvo>\n"));
    ASSERT_TRUE(i.presentation.readMarkupFile());
    ASSERT_NE(i.presentation.getRoot(), nullptr);
    EXPECT_EQ(i.presentation.getRoot()->content(),
              "<body><page ref=\"a.html\"><speak>Hello</speak></page></body>");
    ASSERT_TRUE(i.presentation.parseTree());
    EXPECT_TRUE(i.messages.entries().empty());
    const orvo::markup::TagNode* body = i.presentation.findTag("body");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(i.presentation.findTag("speak")->text(), "Hello");
    EXPECT_EQ(i.presentation.findTag("orvo"), i.presentation.getRoot());
    i.presentation.releaseTree();
    EXPECT_EQ(i.presentation.getRoot(), nullptr);
    EXPECT_EQ(i.presentation.findTag("body"), nullptr);
}

TEST(PresentationMarkup, ASecondReadDestroysTheFirstTreeEvenWhenItFails)
{
    Installation i;
    i.presentation.setMarkupPath(i.dir.write("one.orv", "<orvo>\n<body></body>\n</orvo>\n"));
    ASSERT_TRUE(i.presentation.readMarkupFile());
    ASSERT_NE(i.presentation.getRoot(), nullptr);
    const std::string missing = i.dir.file("two.orv");
    i.presentation.setMarkupPath(missing);
    EXPECT_FALSE(i.presentation.readMarkupFile());
    EXPECT_EQ(i.presentation.getRoot(), nullptr);
    ASSERT_EQ(i.messages.count(), 1U);
    EXPECT_EQ(i.messages.entries()[0], cannotOpen(missing, "読み出しｴﾗｰ"));
}

TEST(PresentationMarkup, ParseErrorsComeFromTheParser)
{
    Installation i;
    ASSERT_TRUE(i.load());
    // A start tag broken after its name joins the name and its attribute.
    i.presentation.setMarkupPath(
        i.dir.write("broken.orv", "<orvo>\n<body><page\nref=\"a.html\"></page></body>\n</orvo>\n"));
    ASSERT_TRUE(i.presentation.readMarkupFile());
    EXPECT_FALSE(i.presentation.parseTree());
    ASSERT_EQ(i.messages.count(), 1U);
    EXPECT_EQ(i.messages.entries()[0],
              (Entry{kError, "Unvalid Tag Name!!!", "pageref=\"a.html\""}));

    // Without any table every tag is unknown; without a root line there is
    // nothing to parse.
    RecordingMessages messages;
    Settings empty;
    Presentation bare(messages, empty);
    bare.setMarkupPath(i.dir.file("broken.orv"));
    ASSERT_TRUE(bare.readMarkupFile());
    EXPECT_FALSE(bare.parseTree());
    EXPECT_EQ(messages.entries().at(0), (Entry{kError, "Unvalid Tag Name!!!", "body"}));
    bare.setMarkupPath(i.dir.write("plain.orv", "no root here\n"));
    ASSERT_TRUE(bare.readMarkupFile());
    EXPECT_TRUE(bare.parseTree());
    EXPECT_EQ(bare.getRoot()->getChildren(), nullptr);
}

// The programs leave the data folder to the settings file only when it names
// one: an empty settingDir is the program's own, and one that is gone gets a
// single message that says how to reset it instead of one per table.
TEST(PresentationDataFolder, EmptySettingDirIsTheProgramsDataFolder)
{
    Installation i("settingDir=\nwelcomePageFile=\n");
    i.presentation.setProgramDataFolder(i.dir.file("data/"));
    ASSERT_TRUE(i.load());
    EXPECT_TRUE(i.messages.entries().empty());
    EXPECT_TRUE(i.tagTypesLoaded());
    EXPECT_TRUE(i.emotionsLoaded());
    EXPECT_EQ(i.settings.settingDir, i.dir.file("data/"));
    EXPECT_EQ(i.settings.welcomePageFile, i.dir.file("data/welcome.html"));

    // A folder that the file names wins, and so does a welcome page of its own.
    Installation own("welcomePageFile=/pages/hello.html\n");
    own.presentation.setProgramDataFolder(own.dir.file("elsewhere/"));
    ASSERT_TRUE(own.load());
    EXPECT_EQ(own.settings.settingDir, own.dir.file("data/"));
    EXPECT_EQ(own.settings.welcomePageFile, "/pages/hello.html");
}

TEST(PresentationDataFolder, AMissingDataFolderGivesOneMessageNamingTheSettingsFile)
{
    Installation gone("settingDir=@DIR@gone/\n");
    gone.presentation.setProgramDataFolder(gone.dir.file("data/"));
    EXPECT_FALSE(gone.load());
    ASSERT_EQ(gone.messages.count(), 1U);
    EXPECT_EQ(gone.messages.entries()[0],
              (Entry{kError,
                     "The settings file " + gone.dir.file("ViewOrvo.ini") +
                         " names the data folder " + gone.dir.file("gone/") +
                         " (settingDir), which does not exist. To reset it, empty or remove "
                         "the settingDir line of that file, which then means the data folder of "
                         "the installed program; or delete the file, which is made again at the "
                         "next start",
                     "settingDir"}));
    EXPECT_FALSE(gone.tagTypesLoaded());

    // A program copied away from its data, with settings that leave it the choice.
    Installation alone("settingDir=\n");
    alone.presentation.setProgramDataFolder("");
    EXPECT_FALSE(alone.load());
    ASSERT_EQ(alone.messages.count(), 1U);
    EXPECT_EQ(alone.messages.entries()[0],
              (Entry{kError,
                     "This program's data folder was not found: it belongs in "
                     "../share/vieworvo/data/ beside the program. Reinstall ViewOrvo, or name a "
                     "data folder with settingDir in the settings file " +
                         alone.dir.file("ViewOrvo.ini"),
                     "settingDir"}));
    EXPECT_FALSE(alone.tagTypesLoaded());
}
