#include "convert/pagescript.h"

#include "convert/pagetemplates.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

PageScript::PageScript()
{
    reset();
}

void PageScript::reset()
{
    characterEmotions = nullptr;
    objectTags.assign(tp::kObjectTags.text());
    declarations.assign(tp::kDeclarations.text());
    requestCases.clear();
    pf::appendTemplate(requestCases, tp::kRequestCase, "EndRequest");
    pf::appendTemplate(requestCases, tp::kTimerCall, "NextPage", tp::kNextPageDelay);
    for (std::string* field : {&loadCharacterSub, &stepSubs, &jumpSubs, &voiceCommandSubs,
                               &commandCases, &onLoadSub, &nextPageSub, &navigationBar}) {
        field->clear();
    }
}

PageScript::~PageScript() = default;

std::string PageScript::generateObjectTags() const
{
    return std::string(tp::kObjectTags.text());
}

std::string PageScript::assembleScript() const
{
    std::string block;
    appendScript(block);
    return block;
}

void PageScript::appendScript(std::string& block) const
{
    block += objectTags;
    block += tp::kScriptStart.text();
    block += declarations;
    block += loadCharacterSub;
    block += jumpSubs;
    block += stepSubs;
    block += voiceCommandSubs;
    block += tp::kCommandHandlerStart.text();
    block += commandCases;
    block += tp::kCommandHandlerEnd.text();
    block += tp::kRequestHandlerStart.text();
    block += requestCases;
    block += tp::kRequestHandlerEnd.text();
    block += onLoadSub;
    block += nextPageSub;
    block += tp::kScriptEnd.text();
}

} // namespace orvo::convert
