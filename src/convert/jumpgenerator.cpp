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

// The target page is loaded this long after the jump's request has completed.
constexpr int kJumpDelay = 500;

} // namespace

bool generateJump(const markup::TagNode& jump, PageScript& script, PageCounters& counters,
                  const TreeIndex& index, platform::Messages& messages)
{
    const std::string destination = jump.getAttribute("des");
    const markup::TagNode* target = index.findById(destination);
    if (target == nullptr) {
        messages.report(markup::tagMessage(index.source(), jump, pf::ids::kUnknownJumpTarget,
                                           "Unvalid destination Name for tag: jump ", destination));
        return false;
    }
    const std::string pageFile = target->getAttribute("realpagename");

    const std::string request = pf::fillTemplate(tp::kJumpRequestName, counters.jump++);
    script.declarations += pf::fillTemplate(tp::kDeclaration, request);

    const std::string sub = pf::fillTemplate(tp::kJumpSubName, counters.step++);
    script.jumpSubs += pf::fillTemplate(tp::kJumpSub, sub, scriptStringText(pageFile));

    script.requestCases += pf::fillTemplate(tp::kRequestCase, request);
    script.requestCases += pf::fillTemplate(tp::kTimerCall, sub, kJumpDelay);

    script.stepSubs += pf::fillTemplate(tp::kRestPoseRequest, request);
    return true;
}

} // namespace orvo::convert
