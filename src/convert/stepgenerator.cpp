#include "convert/stepgenerator.h"

#include "convert/actiongenerator.h"
#include "convert/charactergenerator.h"
#include "convert/duration.h"
#include "convert/jumpgenerator.h"
#include "convert/navigationbar.h"
#include "convert/pagescript.h"
#include "convert/pagetemplates.h"
#include "convert/scriptstring.h"
#include "markup/tagnode.h"
#include "platform/textformat.h"

#include <memory>

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

namespace {

// Used when the first action has no "begin".
constexpr std::int64_t kDefaultBeginDelay = 100;

std::string stepName(int number)
{
    return pf::fillTemplate(tp::kStepName, number);
}

// A step's name filled into a template without a string of its own.
struct StepName {
    int number;
    void appendTo(std::string& out) const { pf::appendTemplate(out, tp::kStepName, number); }
};

std::string commandName(int number)
{
    return pf::fillTemplate(tp::kVoiceCommandName, number);
}

} // namespace

StepGenerator::StepGenerator(const TreeIndex& index, const config::EmotionMap& emotions,
                             platform::Messages& messages)
    : m_index(index), m_emotions(emotions), m_messages(messages)
{
}

bool StepGenerator::generatePageScript(markup::TagNode& page, PageScript& script, int i, int n)
{
    m_counters = PageCounters{};
    script.navigationBar.clear();
    appendNavigationBar(script.navigationBar, i, n);
    script.loadCharacterSub.clear();
    appendLoadCharacterSub(script.loadCharacterSub, page, script.characterEmotions, m_index,
                           m_emotions, m_messages);
    script.onLoadSub.assign(tp::kOnLoadSub.text());
    script.nextPageSub.clear();
    appendNextPageSub(script.nextPageSub, i, n);
    generateBeginCase(page, script);
    // Nothing before this takes a step number, so this is Step0.
    generateStepSub(page, script);
    return true;
}

std::string StepGenerator::generateNextPageSub(int i, int n)
{
    std::string sub;
    appendNextPageSub(sub, i, n);
    return sub;
}

void StepGenerator::appendNextPageSub(std::string& out, int i, int n)
{
    if (i < n) {
        pf::appendTemplate(out, tp::kNextPageSub, std::int64_t{i} + 1);
    } else {
        out += tp::kLastPageSub.text();
    }
}

void StepGenerator::generateBeginCase(markup::TagNode& page, PageScript& script)
{
    const std::vector<markup::TagNode*>& actions = collectActions(page);
    if (actions.empty()) {
        return;
    }
    const std::string_view begin = actions.front()->attributeView("begin");
    // A "begin" of "0s" parses as -1, which is written unchanged.
    const std::int64_t delay = begin.empty() ? kDefaultBeginDelay : parseDuration(begin);
    pf::appendTemplate(script.requestCases, tp::kRequestCase, "BeginRequest");
    pf::appendTemplate(script.requestCases, tp::kTimerCall, StepName{0}, delay);
}

bool StepGenerator::generateStepSub(markup::TagNode& node, PageScript& script)
{
    m_listens.clear();
    writeStep(node, script, m_listens);
    writeResponses(script, m_listens);
    return true;
}

std::vector<markup::TagNode*>& StepGenerator::collectActions(markup::TagNode& node)
{
    m_actions.clear();
    node.collectActions(m_actions, m_walk);
    return m_actions;
}

void StepGenerator::writeStep(markup::TagNode& node, PageScript& script,
                              std::vector<OpenListen>& listens)
{
    // Nothing below gathers actions again before the loop is done.
    const std::vector<markup::TagNode*>& actions = collectActions(node);
    pf::appendTemplate(script.stepSubs, tp::kSubStart, StepName{m_counters.step++});

    for (std::size_t k = 0; k < actions.size(); ++k) {
        markup::TagNode& action = *actions[k];
        const std::string& name = action.name();
        if (name == "speak") {
            if (k == 0) {
                // A leading speak's "begin" is the delay of the timer that
                // starts Step0 (see generateBeginCase); it must not be spoken
                // as a pause as well. Response steps lose the pause the same way.
                action.setAttribute("begin", "0s");
            }
            appendSpeak(script.stepSubs, action, script.characterEmotions);
        } else if (name == "play") {
            appendPlay(script.stepSubs, action);
        } else if (name == "move") {
            appendMove(script.stepSubs, action, script.characterEmotions, m_index);
        } else if (name == "jump") {
            generateJump(action, script, m_counters, m_index, m_messages);
            script.stepSubs += tp::kEndSub.text();
            return;
        } else if (name == "listen") {
            openListen(action, script, listens);
            return;
        }
    }
    // Only Step0 gets here with the counter at 1: a jump or a listen, the only
    // things that take numbers during a step, end the step early. Its
    // EndRequest completes after all queued actions and leads to NextPage.
    if (m_counters.step == 1) {
        pf::appendTemplate(script.stepSubs, tp::kRestPoseRequest, "EndRequest");
    }
    script.stepSubs += tp::kEndSub.text();
}

void StepGenerator::openListen(markup::TagNode& listen, PageScript& script,
                               std::vector<OpenListen>& listens)
{
    const auto* words = listen.getChildren();
    if (words == nullptr || words->empty()) {
        script.stepSubs += tp::kEndSub.text();
        return;
    }
    const std::string sub = pf::fillTemplate(tp::kVoiceCommandsSubName, m_counters.voice++);
    script.voiceCommandSubs += pf::fillTemplate(tp::kVoiceCommandsSubStart, sub);
    const int firstCommand = m_counters.voice;
    for (const auto& word : *words) {
        const std::string phrase = scriptStringText(word->getAttribute("word"));
        script.voiceCommandSubs += pf::fillTemplate(
            tp::kVoiceCommandLine, commandName(m_counters.voice++), phrase, phrase);
    }
    script.voiceCommandSubs += tp::kEndSub.text();

    script.stepSubs += pf::fillTemplate(tp::kSubCall, sub);
    script.stepSubs += tp::kEndSub.text();

    listens.push_back(OpenListen{&listen, 0, firstCommand, {}});
}

void StepGenerator::writeResponses(PageScript& script, std::vector<OpenListen>& listens)
{
    while (!listens.empty()) {
        OpenListen& top = listens.back();
        // Never null: only a listen with words is opened.
        const markup::TagNode::Children* words = top.listen->getChildren();
        if (words != nullptr && top.nextWord < words->size()) {
            markup::TagNode& word = *(*words)[top.nextWord++];
            top.responseSteps.push_back(m_counters.step);
            // May open a nested listen on top of this one (and invalidate
            // `top`); its responses and cases are then written first.
            writeStep(word, script, listens);
            continue;
        }
        for (std::size_t k = 0; k < top.responseSteps.size(); ++k) {
            const int command = top.firstCommand + static_cast<int>(k);
            script.commandCases += pf::fillTemplate(tp::kCommandCase, commandName(command),
                                                    stepName(top.responseSteps[k]));
        }
        listens.pop_back();
    }
}

} // namespace orvo::convert
