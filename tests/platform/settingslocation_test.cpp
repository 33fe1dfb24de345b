#include "platform/buildtreemarker.h"
#include "platform/settingslocation.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/tempdir.h"

namespace pf = orvo::platform;
namespace fs = std::filesystem;
using orvo::test::TempDir;

namespace {

pf::SettingsSources sources(std::string option, std::string ini, std::string config,
                            std::string cache, std::string home)
{
    return {std::move(option), std::move(ini), std::move(config), std::move(cache),
            std::move(home)};
}

const char* kTemplate = "tagTypeFile=tags.txt\n"
                        "settingDir=@DATA_DIR@\n"
                        "welcomePageFile=@DATA_DIR@welcome.html\n"
                        "tempDir=@CACHE_DIR@\n";

} // namespace

TEST(SettingsLocation, OptionThenVariableThenUserFile)
{
    EXPECT_EQ(pf::settingsFilePath(sources("a.ini", "/b.ini", "/c", "", "/h")), "a.ini");
    EXPECT_EQ(pf::settingsFilePath(sources("", "/b.ini", "/c", "", "/h")), "/b.ini");
    EXPECT_EQ(pf::settingsFilePath(sources("", "", "/c", "", "/h")), "/c/ViewOrvo.ini");
    EXPECT_EQ(pf::settingsFilePath(sources("", "", "/c/", "", "/h")), "/c/ViewOrvo.ini");
    EXPECT_EQ(pf::settingsFilePath(sources("", "", "", "", "/h")), "/h/.config/ViewOrvo.ini");
    // A relative XDG value is ignored.
    EXPECT_EQ(pf::settingsFilePath(sources("", "", "rel", "", "/h")), "/h/.config/ViewOrvo.ini");
    EXPECT_EQ(pf::settingsFilePath(sources("", "", "", "", "")), "");

    EXPECT_EQ(pf::userCacheFolder(sources("", "", "", "/k", "/h")), "/k/vieworvo/");
    EXPECT_EQ(pf::userCacheFolder(sources("", "", "", "", "/h/")), "/h/.cache/vieworvo/");
    EXPECT_EQ(pf::userCacheFolder(sources("", "", "", "rel", "/h")), "/h/.cache/vieworvo/");
    EXPECT_EQ(pf::userCacheFolder(sources("", "", "", "", "")), "");

    EXPECT_TRUE(pf::usesUserSettingsFile(sources("", "", "/c", "", "")));
    EXPECT_FALSE(pf::usesUserSettingsFile(sources("a", "", "", "", "")));
    EXPECT_FALSE(pf::usesUserSettingsFile(sources("", "b", "", "", "")));
}

TEST(SettingsLocation, FirstStartCreatesTheUserFileFromTheTemplate)
{
    TempDir t;
    const std::string data = t.file("share/vieworvo/");
    t.write("share/vieworvo/ViewOrvo.ini.template", kTemplate);
    const auto home = sources("", "", "", "", t.file("home"));

    const std::string path = pf::prepareSettingsFile(home, data);
    EXPECT_EQ(path, t.file("home/.config/ViewOrvo.ini"));
    const std::string cache = t.file("home/.cache/vieworvo/");
    EXPECT_EQ(t.read("home/.config/ViewOrvo.ini"), "tagTypeFile=tags.txt\r\n"
                                                   "settingDir=" +
                                                       data +
                                                       "\r\n"
                                                       "welcomePageFile=" +
                                                       data +
                                                       "welcome.html\r\n"
                                                       "tempDir=" +
                                                       cache + "\r\n");
    EXPECT_TRUE(fs::is_directory(cache));
    EXPECT_FALSE(fs::exists(path + ".partial"));

    // A later start keeps the user's file as it is, and brings back a cache
    // folder that was cleaned away.
    t.write("home/.config/ViewOrvo.ini", "edited");
    fs::remove_all(cache);
    EXPECT_EQ(pf::prepareSettingsFile(home, data), path);
    EXPECT_EQ(t.read("home/.config/ViewOrvo.ini"), "edited");
    EXPECT_TRUE(fs::is_directory(cache));
}

TEST(SettingsLocation, NamedFilesAreNeverCreated)
{
    TempDir t;
    t.write("data/ViewOrvo.ini.template", kTemplate);
    const auto named = sources(t.file("named.ini"), "", t.file("config"), t.file("cache"), "");
    EXPECT_EQ(pf::prepareSettingsFile(named, t.file("data/")), t.file("named.ini"));
    const auto variable = sources("", t.file("var.ini"), t.file("config"), t.file("cache"), "");
    EXPECT_EQ(pf::prepareSettingsFile(variable, t.file("data/")), t.file("var.ini"));
    EXPECT_FALSE(fs::exists(t.file("named.ini")));
    EXPECT_FALSE(fs::exists(t.file("var.ini")));
    EXPECT_FALSE(fs::exists(t.file("config")));
    EXPECT_FALSE(fs::exists(t.file("cache")));
}

TEST(SettingsLocation, CreationFailuresLeaveNoFile)
{
    TempDir t;
    // No template: nothing is written; reading the path later reports it.
    const auto home = sources("", "", t.file("config"), t.file("cache"), "");
    EXPECT_EQ(pf::prepareSettingsFile(home, t.file("nodata/")), t.file("config/ViewOrvo.ini"));
    EXPECT_FALSE(fs::exists(t.file("config/ViewOrvo.ini")));
    // A template that is a folder, and a target below a plain file.
    fs::create_directories(t.file("data/ViewOrvo.ini.template"));
    EXPECT_FALSE(pf::createSettingsFromTemplate(t.file("data/ViewOrvo.ini.template"),
                                                t.file("out.ini"), "/d/", "/c/"));
    const std::string tmpl = t.write("good.template", kTemplate);
    t.write("plain", "x");
    EXPECT_FALSE(pf::createSettingsFromTemplate(tmpl, t.file("plain/ViewOrvo.ini"), "/d/", "/c/"));
    EXPECT_FALSE(fs::exists(t.file("out.ini")));
}

TEST(SettingsLocation, DataFolderOfAnInstalledOrABuildTreeProgram)
{
    TempDir t;
    t.write("usr/share/vieworvo/data/ViewOrvo.ini.template", kTemplate);
    fs::create_directories(t.file("usr/bin"));
    EXPECT_EQ(pf::findDataFolder(t.file("usr/bin/orvo"), "/src/data/"),
              t.file("usr/share/vieworvo/data/"));
    EXPECT_EQ(pf::findDataFolder(t.file("build/src/cli/orvo"), "/src/data/"), "/src/data/");
    EXPECT_EQ(pf::findDataFolder(t.file("build/src/cli/orvo"), "/src/data"), "/src/data/");
}

// Only a program with the build's marker beside it reaches into a source
// tree; a copy of it elsewhere finds no data folder at all.
TEST(SettingsLocation, BuildTreeMarkerBesideTheProgram)
{
    TempDir t;
    t.write("build/src/cli/vieworvo-build-tree.txt",
            "# Written by the build\ndataDir=/src/data\nplayerBundle=/build/orvo-player.js\n");
    const pf::BuildTreePaths paths = pf::readBuildTreeMarker(t.file("build/src/cli/orvo"));
    EXPECT_EQ(paths.dataDir, "/src/data/");
    EXPECT_EQ(paths.playerBundle, "/build/orvo-player.js");

    fs::create_directories(t.file("copy"));
    const pf::BuildTreePaths none = pf::readBuildTreeMarker(t.file("copy/orvo"));
    EXPECT_EQ(none.dataDir, "");
    EXPECT_EQ(none.playerBundle, "");
    EXPECT_EQ(pf::findDataFolder(t.file("copy/orvo"), none.dataDir), "");
    EXPECT_EQ(pf::readBuildTreeMarker("").dataDir, "");
    // Without a data folder there is no template to make the user's file from.
    const std::string path = pf::prepareSettingsFile(sources("", "", "", "", t.file("home")), "");
    EXPECT_EQ(path, t.file("home/.config/ViewOrvo.ini"));
    EXPECT_FALSE(fs::exists(path));
}
