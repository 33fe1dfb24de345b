// The installation data and the bundled example, read the way a first start
// reads them: the settings file made from the template, both tables loaded
// from data/, and the tour read and parsed against them without a message.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "config/emotionmap.h"
#include "config/presentation.h"
#include "config/settings.h"
#include "markup/tagnode.h"
#include "markup/tagtypetable.h"
#include "platform/messages.h"
#include "platform/settingslocation.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;
using orvo::config::Presentation;
using orvo::config::Settings;
using orvo::markup::TagNode;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;

namespace {

const std::string kDataDir = ORVO_SOURCE_DATA_DIR;
const std::string kTour = std::string(ORVO_EXAMPLES_DIR) + "tour/tour.orv";

struct FirstStart {
    TempDir home;
    RecordingMessages messages;
    Settings settings;
    Presentation presentation{messages, settings};
    std::string settingsPath;

    FirstStart()
    {
        orvo::platform::SettingsSources sources;
        sources.home = home.file("user");
        settingsPath = orvo::platform::prepareSettingsFile(sources, kDataDir);
        presentation.setProgramDataFolder(kDataDir);
    }
};

std::vector<const TagNode*> children(const TagNode& node)
{
    std::vector<const TagNode*> list;
    if (const auto* c = node.getChildren()) {
        for (const auto& child : *c) {
            list.push_back(child.get());
        }
    }
    return list;
}

// Every node below `node`, in document order.
void collect(const TagNode& node, std::vector<const TagNode*>& out)
{
    for (const TagNode* child : children(node)) {
        out.push_back(child);
        collect(*child, out);
    }
}

} // namespace

TEST(BundledData, TemplateMakesSettingsThatLoadBothTables)
{
    FirstStart s;
    ASSERT_TRUE(s.presentation.loadSettingsAndTables(s.settingsPath));
    EXPECT_TRUE(s.messages.entries().empty());
    EXPECT_EQ(s.settings.settingDir, kDataDir);
    EXPECT_EQ(s.settings.tempDir, s.home.file("user/.cache/vieworvo/"));
    EXPECT_EQ(s.settings.workingDir, "vieworvo-pages/");
    EXPECT_EQ(s.settings.welcomePageFile, kDataDir + "welcome.html");
    for (const std::string* file :
         {&s.settings.previousImage, &s.settings.nextImage, &s.settings.debugFrameFile,
          &s.settings.tagTypeFile, &s.settings.emotionMapFile}) {
        EXPECT_TRUE(fs::is_regular_file(kDataDir + *file)) << *file;
    }
    EXPECT_TRUE(fs::is_regular_file(s.settings.welcomePageFile));
    EXPECT_TRUE(fs::is_regular_file(s.settings.tempDir + s.settings.tagTypeFile));
    EXPECT_TRUE(fs::is_regular_file(s.settings.tempDir + s.settings.emotionMapFile));
    // The user's file does not pin this data folder: an installed program
    // that reads it later uses its own.
    EXPECT_EQ(s.home.read("user/.config/ViewOrvo.ini").find(kDataDir), std::string::npos);
}

TEST(BundledData, TagTypeFileListsEveryTagTheConverterReads)
{
    FirstStart s;
    ASSERT_TRUE(s.presentation.loadSettingsAndTables(s.settingsPath));
    const auto& table = s.presentation.getTagTypeTable();
    struct Expected {
        const char* name;
        bool container;
        std::vector<std::string> attributes;
    };
    const std::vector<Expected> expected{
        {"agent", false, {"character"}},
        {"spot", false, {"id", "location"}},
        {"body", true, {}},
        {"page", true, {"ref", "id", "x", "y", "area", "spot", "realpagename"}},
        {"emotion", true, {"type"}},
        {"speak", true, {"begin"}},
        {"play", false, {"act", "begin"}},
        {"move", false, {"x", "y", "area", "spot", "begin"}},
        {"jump", false, {"des", "begin"}},
        {"listen", true, {"begin"}},
        {"word", true, {"word"}},
    };
    EXPECT_EQ(table.size(), expected.size());
    for (const Expected& e : expected) {
        const auto* type = table.lookup(e.name);
        ASSERT_NE(type, nullptr) << e.name;
        EXPECT_EQ(type->hasChildren(), e.container) << e.name;
        EXPECT_EQ(type->getAttributes(), e.attributes) << e.name;
    }
}

TEST(BundledData, TheTourParsesAndEveryReferenceResolves)
{
    FirstStart s;
    ASSERT_TRUE(s.presentation.loadSettingsAndTables(s.settingsPath));
    s.presentation.setMarkupPath(kTour);
    ASSERT_TRUE(s.presentation.readMarkupFile());
    ASSERT_TRUE(s.presentation.parseTree());
    EXPECT_TRUE(s.messages.entries().empty());

    const TagNode* agent = s.presentation.findTag("agent");
    ASSERT_NE(agent, nullptr);
    const auto* emotions = s.presentation.getEmotionMap().lookup(agent->getAttribute("character"));
    ASSERT_NE(emotions, nullptr) << "the tour's character is in the emotion map";

    const TagNode* body = s.presentation.findTag("body");
    ASSERT_NE(body, nullptr);
    const std::vector<const TagNode*> pages = children(*body);
    const std::vector<std::string> refs{"intro.html",  "markup.html",     "emotions.html",
                                        "moving.html", "converting.html", "listening.html",
                                        "end.html"};
    ASSERT_EQ(pages.size(), refs.size());
    const std::string folder = fs::path(kTour).parent_path().string() + "/";
    std::set<std::string> pageIds;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i]->name(), "page");
        EXPECT_EQ(pages[i]->getAttribute("ref"), refs[i]);
        EXPECT_TRUE(fs::is_regular_file(folder + refs[i])) << refs[i];
        pageIds.insert(pages[i]->getAttribute("id"));
    }

    // Every emotion, spot, area and jump target the tour names exists, and
    // it uses every kind of action and every way of placing the character.
    const std::set<std::string> areas{"left_top",  "left_middle",  "left_bottom",
                                      "right_top", "right_middle", "right_bottom"};
    std::vector<const TagNode*> all;
    collect(*s.presentation.getRoot(), all);
    std::set<std::string> used;
    std::size_t playsWithBegin = 0;
    for (const TagNode* node : all) {
        const std::string& name = node->name();
        used.insert(name);
        if (name == "emotion") {
            EXPECT_NE(emotions->lookup(node->getAttribute("type")), nullptr)
                << node->getAttribute("type");
        }
        if (name == "move" || name == "page") {
            const std::string spot = node->getAttribute("spot");
            const std::string area = node->getAttribute("area");
            if (!spot.empty()) {
                used.insert(name + " by spot");
                const TagNode* target = s.presentation.getRoot()->findById(spot);
                ASSERT_NE(target, nullptr) << spot;
                EXPECT_EQ(target->name(), "spot");
                EXPECT_NE(target->getAttribute("location").find(','), std::string::npos);
            } else if (!area.empty()) {
                used.insert(name + " by area");
                EXPECT_EQ(areas.count(area), 1U) << area;
            } else if (!node->getAttribute("x").empty()) {
                used.insert(name + " by coordinates");
            }
        }
        if (name == "play" && !node->getAttribute("begin").empty()) {
            ++playsWithBegin;
        }
        if (name == "jump") {
            EXPECT_EQ(pageIds.count(node->getAttribute("des")), 1U);
        }
        if (name == "listen") {
            const auto words = children(*node);
            EXPECT_GE(words.size(), 2U);
            EXPECT_LE(words.size(), 3U);
            for (const TagNode* word : words) {
                EXPECT_FALSE(word->getAttribute("word").empty());
                EXPECT_NE(const_cast<TagNode*>(word)->findByName("speak"), nullptr);
            }
        }
    }
    for (const char* expected :
         {"agent", "spot", "emotion", "speak", "play", "move", "listen", "word", "jump",
          "move by coordinates", "move by area", "move by spot", "page by coordinates",
          "page by area", "page by spot"}) {
        EXPECT_EQ(used.count(expected), 1U) << expected;
    }
    EXPECT_GE(playsWithBegin, 2U);
}
