#include "convert/jumpgenerator.h"

#include "convert/pagecounters.h"
#include "convert/pagescript.h"
#include "convert/scripttexts.h"
#include "convert/treeindex.h"
#include "markup/tagnode.h"
#include "platform/messages.h"
#include "platform/textformat.h"

#include <string>

namespace orvo::convert {

namespace pf = orvo::platform;

bool generateJump(const markup::TagNode& jump, PageScript& script, PageCounters& counters,
                  const TreeIndex& index, platform::Messages& messages)
{
    const std::string destination = jump.getAttribute("des");
    const markup::TagNode* target = index.findById(destination);
    if (target == nullptr) {
        messages.error("Unvalid destination Name for tag: jump ", destination);
        return false;
    }
    const std::string pageFile = target->getAttribute("realpagename");

    const std::string request = pf::fillTemplate("JumpRequest%d", {pf::toDecimal(counters.jump++)});
    script.declarations += pf::fillTemplate("DIM %s\n", {request});

    const std::string sub = pf::fillTemplate("JumpFuntion%d", {pf::toDecimal(counters.step++)});
    script.jumpSubs += pf::fillTemplate("\nSub %s\n", {sub});
    script.jumpSubs += pf::fillTemplate("\tLocation.Href = \"%s\"\n", {pageFile});
    script.jumpSubs += texts::kEndSub;

    script.requestCases += pf::fillTemplate(texts::kRequestCase, {request});
    script.requestCases += pf::fillTemplate(texts::kHalfSecondTimerCall, {sub});

    script.stepSubs += pf::fillTemplate(texts::kRestPoseRequest, {request});
    return true;
}

} // namespace orvo::convert
