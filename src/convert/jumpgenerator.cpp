#include "convert/jumpgenerator.h"

#include "convert/pagecounters.h"
#include "convert/pagescript.h"
#include "convert/pagetemplates.h"
#include "convert/scriptstring.h"
#include "convert/treeindex.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/textformat.h"

#include <string>

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

namespace {

constexpr const char* kUnknownDestination = "Unvalid destination Name for tag: jump ";

} // namespace

bool generateJump(const markup::TagNode& jump, PageScript& script, PageCounters& counters,
                  const TreeIndex& index, platform::Messages& messages)
{
    const std::string destination = jump.getAttribute("des");
    const markup::TagNode* target = index.findById(destination);
    if (target == nullptr) {
        messages.report(markup::tagMessage(index.source(), jump, pf::ids::kUnknownJumpTarget,
                                           kUnknownDestination, destination));
        return false;
    }
    const std::string_view pageFile = target->attributeView("realpagename");

    const std::string request = pf::fillTemplate(tp::kJumpRequestName, counters.jump++);
    pf::appendTemplate(script.declarations, tp::kDeclaration, request);

    const std::string sub = pf::fillTemplate(tp::kJumpSubName, counters.step++);
    pf::appendTemplate(script.jumpSubs, tp::kJumpSub, sub, ScriptText{pageFile});

    pf::appendTemplate(script.requestCases, tp::kRequestCase, request);
    pf::appendTemplate(script.requestCases, tp::kTimerCall, sub, tp::kJumpDelay);

    pf::appendTemplate(script.stepSubs, tp::kRestPoseRequest, request);
    return true;
}

} // namespace orvo::convert
