#pragma once

// The script of one page: the load handler, the begin case that starts Step0,
// the step subs that queue the page's actions as agent requests, the NextPage
// sub, and the voice commands of "listen" tags with a response step for each
// word. The lines of single actions come from the action, jump and character
// generators; this class numbers, orders and chains them.
//
// Nested listens (a listen inside a word's response) are handled with an
// explicit stack of open listens, not by recursion, so a deeply nested
// presentation cannot exhaust the call stack; the output is the same as that
// of the recursive description (each response step in full, nested ones
// first, before the command cases of its listen).

#include "convert/pagecounters.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace orvo::config {
class EmotionMap;
}
namespace orvo::markup {
class TagNode;
}
namespace orvo::platform {
class Messages;
}

namespace orvo::convert {

class PageScript;
class TreeIndex;

class StepGenerator {
public:
    // All three must outlive the generator; the index belongs to the tree
    // whose pages are generated.
    StepGenerator(const TreeIndex& index, const config::EmotionMap& emotions,
                  platform::Messages& messages);

    // Fills a fresh script for page i (from 1) of n. Resets the counters
    // first, so the page's names start from 0. Always true: failures of the
    // character or of a jump have shown their own message and leave their
    // part empty.
    bool generatePageScript(markup::TagNode& page, PageScript& script, int i, int n);

    // Appends one step sub for node's actions (and the response steps of any
    // listen it ends with). A leading speak gets "begin" set to "0s" in the
    // tree, since the begin case already waited for it. Always true.
    bool generateStepSub(markup::TagNode& node, PageScript& script);

    // Appends the case that starts Step0 once BeginRequest has completed,
    // delayed by the first action's "begin" (100 ms when it has none). Nothing
    // when the page has no action.
    void generateBeginCase(markup::TagNode& page, PageScript& script);

    // Empty on the last page, so the presentation stops there.
    static std::string generateNextPageSub(int i, int n);
    static void appendNextPageSub(std::string& out, int i, int n);

    const PageCounters& counters() const { return m_counters; }

private:
    // A listen whose commands are registered and whose response steps are
    // still being generated.
    struct OpenListen {
        // The listen tag, whose children are the words.
        const markup::TagNode* listen;
        std::size_t nextWord;
        int firstCommand;
        std::vector<int> responseSteps;
    };

    void writeStep(markup::TagNode& node, PageScript& script, std::vector<OpenListen>& listens);
    // Closes the current step with a call of a new AddVoiceCommands sub that
    // registers one command per child of the listen; a listen without
    // children only closes the step.
    void openListen(markup::TagNode& listen, PageScript& script, std::vector<OpenListen>& listens);
    void writeResponses(PageScript& script, std::vector<OpenListen>& listens);

    // The actions of one step at a time, gathered with m_walk.
    std::vector<markup::TagNode*>& collectActions(markup::TagNode& node);

    const TreeIndex& m_index;
    const config::EmotionMap& m_emotions;
    platform::Messages& m_messages;
    PageCounters m_counters;
    // Storage kept from page to page.
    std::vector<markup::TagNode*> m_actions;
    std::vector<markup::TagNode*> m_walk;
    std::vector<OpenListen> m_listens;
};

} // namespace orvo::convert
