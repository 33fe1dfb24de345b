#include "convert/stepgenerator.h"

#include "config/emotionmap.h"
#include "config/settings.h"
#include "convert/convertsupport.h"
#include "convert/pageconverter.h"
#include "convert/pagescript.h"
#include "convert/treeindex.h"
#include "markup/tagnode.h"

#include <gtest/gtest.h>

namespace {

using orvo::convert::PageScript;
using orvo::convert::StepGenerator;
using orvo::convert::TreeIndex;
using orvo::markup::TagNode;
using orvo::platform::RecordingMessages;
using orvo::test::addChild;
using orvo::test::parsePresentation;

constexpr const char* kFreshRequestCases = "\t\tCase EndRequest\n"
                                           "\t\t\tID = SetTimeout(\"NextPage\", 500)\n";

// Generates page i of n of an inline presentation.
struct Generated {
    std::unique_ptr<orvo::test::LoadedPresentation> loaded;
    std::unique_ptr<TreeIndex> index;
    std::unique_ptr<StepGenerator> steps;
    PageScript script;

    Generated(const std::string& body, std::size_t i)
        : loaded(parsePresentation(body)), index(std::make_unique<TreeIndex>(*loaded->root)),
          steps(std::make_unique<StepGenerator>(*index, loaded->emotions, loaded->messages))
    {
        const int n = static_cast<int>(loaded->pages.size());
        steps->generatePageScript(loaded->page(i), script, static_cast<int>(i), n);
    }
};

TEST(StepGenerator, PageWithoutActionsHasAnUncalledStep0)
{
    Generated g("<agent character=\"Merlin\"/><body><page></page></body>", 1);
    EXPECT_EQ(g.script.stepSubs,
              "\nSub Step0\n\tSet EndRequest = Doll.Play(\"RestPose\")\nEnd Sub\n\n");
    EXPECT_EQ(g.script.requestCases, kFreshRequestCases);
    EXPECT_EQ(g.script.onLoadSub, "\nSub Window_OnLoad\n"
                                  "  LoadCharacter\n"
                                  "  Set BeginRequest = Doll.Play(\"RestPose\")\n"
                                  "End Sub\n\n");
    EXPECT_EQ(g.script.nextPageSub, "Sub NextPage()\nEnd Sub\n");
}

TEST(StepGenerator, BeginDelayComesFromTheFirstAction)
{
    const auto beginCase = [](const std::string& delay) {
        return std::string(kFreshRequestCases) + "\t\tCase BeginRequest\n" +
               "\t\t\tID = SetTimeout(\"Step0\", " + delay + ")\n";
    };
    // A leading speak: its pause is the timer's, not a pause line as well.
    Generated speak("<agent character=\"Merlin\"/><body><page>"
                    "<speak begin=\"2s\">a</speak><speak begin=\"1s\">b</speak>"
                    "</page></body>",
                    1);
    EXPECT_EQ(speak.script.requestCases, beginCase("2000"));
    EXPECT_EQ(speak.script.stepSubs, "\nSub Step0\n"
                                     "\tDoll.Speak(\"  a \")\n"
                                     "\tDoll.Speak(\" \\Pau=1000\\ \")\n"
                                     "\tDoll.Speak(\"  b \")\n"
                                     "\tSet EndRequest = Doll.Play(\"RestPose\")\n"
                                     "End Sub\n\n");
    EXPECT_EQ(speak.loaded->page(1).getChildren()->at(0)->getAttribute("begin"), "0s");
    EXPECT_EQ(speak.loaded->page(1).getChildren()->at(1)->getAttribute("begin"), "1s");

    // A leading play keeps its pause line although the timer waited already.
    Generated play("<agent character=\"Merlin\"/><body><page>"
                   "<play act=\"Wave\" begin=\"2s\"/></page></body>",
                   1);
    EXPECT_EQ(play.script.requestCases, beginCase("2000"));
    EXPECT_EQ(play.script.stepSubs, "\nSub Step0\n"
                                    "\tDoll.Speak(\" \\Pau=2000\\ \")\n"
                                    "\tDoll.Play \"Wave\" \n"
                                    "\tSet EndRequest = Doll.Play(\"RestPose\")\n"
                                    "End Sub\n\n");

    Generated none("<agent character=\"Merlin\"/><body><page><speak>x</speak></page></body>", 1);
    EXPECT_EQ(none.script.requestCases, beginCase("100"));
    Generated zero("<agent character=\"Merlin\"/><body><page>"
                   "<emotion type=\"happy\"><speak begin=\"0s\">x</speak></emotion>"
                   "</page></body>",
                   1);
    EXPECT_EQ(zero.script.requestCases, beginCase("-1"));
}

TEST(StepGenerator, NextPageSubs)
{
    EXPECT_EQ(StepGenerator::generateNextPageSub(2, 3),
              "Sub NextPage()\n\tLocation.Href = \"3.html\"\nEnd Sub\n");
    EXPECT_EQ(StepGenerator::generateNextPageSub(3, 3), "Sub NextPage()\nEnd Sub\n");
}

TEST(StepGenerator, NothingAfterAJumpOrAListen)
{
    Generated g("<agent character=\"Merlin\"/><body>"
                "<page id=\"p1\"><speak>a</speak><jump des=\"p2\"/><speak>lost</speak></page>"
                "<page id=\"p2\"><listen><word word=\"w\"><play act=\"A\"/></word></listen>"
                "<play act=\"lost\"/></page>"
                "</body>",
                1);
    EXPECT_EQ(g.script.stepSubs, "\nSub Step0\n"
                                 "\tDoll.Speak(\"  a \")\n"
                                 "\tSet JumpRequest0 = Doll.Play(\"RestPose\")\n"
                                 "End Sub\n\n");
    EXPECT_EQ(g.script.declarations,
              "\nDim Doll\nDim EndRequest\nDim BeginRequest\nDIM JumpRequest0\n");
    EXPECT_EQ(g.script.jumpSubs, "\nSub JumpFuntion1\n\tLocation.Href = \"2.html\"\nEnd Sub\n\n");

    Generated second("<agent character=\"Merlin\"/><body>"
                     "<page id=\"p1\"><speak>a</speak></page>"
                     "<page id=\"p2\"><listen><word word=\"w\"><play act=\"A\"/></word></listen>"
                     "<play act=\"lost\"/></page>"
                     "</body>",
                     2);
    EXPECT_EQ(second.script.stepSubs, "\nSub Step0\n"
                                      "\tAddVoiceCommands0\n"
                                      "End Sub\n\n"
                                      "\nSub Step1\n"
                                      "\tDoll.Play \"A\" \n"
                                      "End Sub\n\n");
    // Every page numbers from 0 again.
    EXPECT_EQ(second.steps->counters().step, 2);
    EXPECT_EQ(second.steps->counters().voice, 2);
    EXPECT_EQ(second.steps->counters().jump, 0);
}

TEST(StepGenerator, ListensNumberTheirSubsAndCommandsFromOneSequence)
{
    Generated g("<agent character=\"Merlin\"/><body><page><listen>"
                "<word word=\"red\"><speak>R</speak></word>"
                "<word><speak>blank</speak></word>"
                "<word word=\"blue\"></word>"
                "</listen></page></body>",
                1);
    EXPECT_EQ(g.script.voiceCommandSubs,
              "\nSub AddVoiceCommands0\n"
              "\tDoll.Commands.RemoveAll\n"
              "\tDoll.Commands.Add \"VoiceCommand1\", \"red\", \"red\"\n"
              "\tDoll.Commands.Add \"VoiceCommand2\", \"\", \"\"\n"
              "\tDoll.Commands.Add \"VoiceCommand3\", \"blue\", \"blue\"\n"
              "End Sub\n\n");
    EXPECT_EQ(g.script.commandCases, "        Case \"VoiceCommand1\"\n"
                                     "\t        Step1\n"
                                     "        Case \"VoiceCommand2\"\n"
                                     "\t        Step2\n"
                                     "        Case \"VoiceCommand3\"\n"
                                     "\t        Step3\n");
    // Response steps end without EndRequest; an empty word gives an empty step.
    EXPECT_EQ(g.script.stepSubs, "\nSub Step0\n\tAddVoiceCommands0\nEnd Sub\n\n"
                                 "\nSub Step1\n\tDoll.Speak(\"  R \")\nEnd Sub\n\n"
                                 "\nSub Step2\n\tDoll.Speak(\"  blank \")\nEnd Sub\n\n"
                                 "\nSub Step3\nEnd Sub\n\n");

    Generated empty("<agent character=\"Merlin\"/><body><page><speak>a</speak><listen></listen>"
                    "</page></body>",
                    1);
    EXPECT_EQ(empty.script.stepSubs, "\nSub Step0\n\tDoll.Speak(\"  a \")\nEnd Sub\n\n");
    EXPECT_EQ(empty.script.voiceCommandSubs, "");
    EXPECT_EQ(empty.script.commandCases, "");
}

// A listen inside a response (the parser cannot nest two listens, so the tree
// is built by hand): its steps, sub and cases come before the enclosing
// listen's remaining words and cases; two jumps take JumpRequest0 and 1.
TEST(StepGenerator, NestedListenCaseOrder)
{
    TagNode root("orvo", 1, std::string(), nullptr);
    addChild(root, "agent", {{"character", "Merlin"}});
    TagNode& body = addChild(root, "body");
    TagNode& page = addChild(body, "page", {{"id", "p1"}, {"realpagename", "1.html"}});
    addChild(body, "page", {{"id", "p2"}, {"realpagename", "2.html"}});
    TagNode& outer = addChild(page, "listen");
    TagNode& first = addChild(outer, "word", {{"word", "one"}});
    addChild(first, "speak", {}, "1");
    TagNode& inner = addChild(first, "listen");
    addChild(addChild(inner, "word", {{"word", "a"}}), "jump", {{"des", "p2"}});
    addChild(addChild(inner, "word", {{"word", "b"}}), "speak", {}, "b");
    addChild(addChild(outer, "word", {{"word", "two"}}), "jump", {{"des", "p1"}});

    orvo::config::EmotionMap emotions;
    emotions.setFileName(orvo::test::goldenPath("emotions.txt"));
    RecordingMessages messages;
    ASSERT_TRUE(emotions.load(messages));
    TreeIndex index(root);
    StepGenerator steps(index, emotions, messages);
    PageScript script;
    steps.generatePageScript(page, script, 1, 2);

    EXPECT_EQ(script.stepSubs, "\nSub Step0\n\tAddVoiceCommands0\nEnd Sub\n\n"
                               "\nSub Step1\n\tDoll.Speak(\"  1 \")\n\tAddVoiceCommands3\n"
                               "End Sub\n\n"
                               "\nSub Step2\n\tSet JumpRequest0 = Doll.Play(\"RestPose\")\n"
                               "End Sub\n\n"
                               "\nSub Step4\n\tDoll.Speak(\"  b \")\nEnd Sub\n\n"
                               "\nSub Step5\n\tSet JumpRequest1 = Doll.Play(\"RestPose\")\n"
                               "End Sub\n\n");
    EXPECT_EQ(script.jumpSubs, "\nSub JumpFuntion3\n\tLocation.Href = \"2.html\"\nEnd Sub\n\n"
                               "\nSub JumpFuntion6\n\tLocation.Href = \"1.html\"\nEnd Sub\n\n");
    EXPECT_EQ(script.voiceCommandSubs, "\nSub AddVoiceCommands0\n\tDoll.Commands.RemoveAll\n"
                                       "\tDoll.Commands.Add \"VoiceCommand1\", \"one\", \"one\"\n"
                                       "\tDoll.Commands.Add \"VoiceCommand2\", \"two\", \"two\"\n"
                                       "End Sub\n\n"
                                       "\nSub AddVoiceCommands3\n\tDoll.Commands.RemoveAll\n"
                                       "\tDoll.Commands.Add \"VoiceCommand4\", \"a\", \"a\"\n"
                                       "\tDoll.Commands.Add \"VoiceCommand5\", \"b\", \"b\"\n"
                                       "End Sub\n\n");
    EXPECT_EQ(script.commandCases, "        Case \"VoiceCommand4\"\n\t        Step2\n"
                                   "        Case \"VoiceCommand5\"\n\t        Step4\n"
                                   "        Case \"VoiceCommand1\"\n\t        Step1\n"
                                   "        Case \"VoiceCommand2\"\n\t        Step5\n");
    EXPECT_EQ(script.requestCases, std::string(kFreshRequestCases) +
                                       "\t\tCase BeginRequest\n"
                                       "\t\t\tID = SetTimeout(\"Step0\", 100)\n"
                                       "\t\tCase JumpRequest0\n"
                                       "\t\t\tID = SetTimeout(\"JumpFuntion3\", 500)\n"
                                       "\t\tCase JumpRequest1\n"
                                       "\t\t\tID = SetTimeout(\"JumpFuntion6\", 500)\n");
    EXPECT_EQ(script.declarations,
              "\nDim Doll\nDim EndRequest\nDim BeginRequest\nDIM JumpRequest0\nDIM JumpRequest1\n");
    EXPECT_EQ(messages.count(), 0U);
}

// Listens nested far deeper than the call stack could follow recursively.
TEST(StepGenerator, DeeplyNestedListensNeedNoRecursion)
{
    constexpr int kDepth = 100000;
    TagNode root("orvo", 1, std::string(), nullptr);
    TagNode* node = &addChild(root, "page");
    TagNode* page = node;
    for (int level = 0; level < kDepth; ++level) {
        node = &addChild(addChild(*node, "listen"), "word", {{"word", "w"}});
    }
    addChild(*node, "play", {{"act", "Deep"}});

    orvo::config::EmotionMap emotions;
    RecordingMessages messages;
    TreeIndex index(root);
    StepGenerator steps(index, emotions, messages);
    PageScript script;
    steps.generatePageScript(*page, script, 1, 1);

    EXPECT_EQ(steps.counters().step, kDepth + 1);
    EXPECT_EQ(steps.counters().voice, 2 * kDepth);
    EXPECT_TRUE(script.stepSubs.ends_with("\nSub Step100000\n\tDoll.Play \"Deep\" \nEnd Sub\n\n"));
    // The innermost listen's case comes first, the page's own listen's last.
    EXPECT_TRUE(script.commandCases.starts_with(
        "        Case \"VoiceCommand199999\"\n\t        Step100000\n"));
    EXPECT_TRUE(script.commandCases.ends_with("        Case \"VoiceCommand1\"\n\t        Step1\n"));
}

TEST(StepGenerator, CharacterMessagesOncePerPage)
{
    const std::string pages = "<body><page x=\"5\" y=\"6\"><speak>a</speak></page>"
                              "<page><speak>b</speak></page></body>";
    auto noAgent = parsePresentation(pages);
    orvo::config::Settings settings;
    orvo::convert::PageConverter converter(*noAgent->root, noAgent->emotions, settings, "",
                                           noAgent->messages);
    for (int i = 1; i <= 2; ++i) {
        PageScript script;
        converter.generatePageScript(noAgent->page(static_cast<std::size_t>(i)), script, i, 2);
        EXPECT_EQ(script.loadCharacterSub, "");
        EXPECT_EQ(script.characterEmotions, nullptr);
        // The page is generated all the same.
        EXPECT_EQ(script.stepSubs.substr(0, 11), "\nSub Step0\n");
    }
    const RecordingMessages::Entry missing{RecordingMessages::Kind::Error,
                                           "Can't find the tag: agent",
                                           "when generating CharLoadFuntion"};
    EXPECT_EQ(noAgent->messages.entries(),
              (std::vector<RecordingMessages::Entry>{missing, missing}));

    Generated empty("<agent character=\"\"/>" + pages, 1);
    EXPECT_EQ(empty.loaded->messages.entries(), (std::vector<RecordingMessages::Entry>{missing}));

    Generated unknown("<agent character=\"Genie\"/>" + pages, 2);
    EXPECT_EQ(unknown.script.loadCharacterSub, "");
    EXPECT_EQ(unknown.loaded->messages.entries(),
              (std::vector<RecordingMessages::Entry>{
                  {RecordingMessages::Kind::Error, "Unvalid Agent Charater Name!!!", "Genie"}}));

    Generated known("<agent character=\"Merlin\"/>" + pages, 1);
    EXPECT_NE(known.script.characterEmotions, nullptr);
    EXPECT_NE(known.script.loadCharacterSub.find("\t\tDoll.MoveTo 5,6\n"), std::string::npos);
}

TEST(StepGenerator, JumpTargets)
{
    // A target that is no page navigates to the empty location; so does an
    // empty "des", which finds the root. Neither is reported.
    Generated g("<agent character=\"Merlin\"/><body><page><listen>"
                "<word word=\"a\"><jump des=\"s\"/></word>"
                "<word word=\"b\"><jump des=\"\"/></word>"
                "<word word=\"c\"><jump des=\"nowhere\"/><speak>lost</speak></word>"
                "</listen><speak id=\"s\">x</speak></page></body>",
                1);
    EXPECT_EQ(g.script.jumpSubs, "\nSub JumpFuntion2\n\tLocation.Href = \"\"\nEnd Sub\n\n"
                                 "\nSub JumpFuntion4\n\tLocation.Href = \"\"\nEnd Sub\n\n");
    // The failed jump still closes its step.
    EXPECT_TRUE(g.script.stepSubs.ends_with("\nSub Step5\nEnd Sub\n\n")) << g.script.stepSubs;
    EXPECT_EQ(g.loaded->messages.entries(),
              (std::vector<RecordingMessages::Entry>{{RecordingMessages::Kind::Error,
                                                      "Unvalid destination Name for tag: jump ",
                                                      "nowhere"}}));
}

} // namespace
