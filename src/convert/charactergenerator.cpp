#include "convert/charactergenerator.h"

#include "config/emotionmap.h"
#include "convert/pagetemplates.h"
#include "convert/position.h"
#include "convert/scriptstring.h"
#include "convert/treeindex.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

namespace {

constexpr const char* kNoAgent = "Can't find the tag: agent";
constexpr const char* kNoAgentCaption = "when generating CharLoadFuntion";
constexpr const char* kUnknownCharacter = "Unvalid Agent Charater Name!!!";

} // namespace

void appendLoadCharacterSub(std::string& out, const markup::TagNode& page,
                            const config::CharacterEmotions*& characterEmotions,
                            const TreeIndex& index, const config::EmotionMap& emotions,
                            platform::Messages& messages)
{
    characterEmotions = nullptr;
    const markup::TagNode* agent = index.agent();
    const std::string character =
        agent == nullptr ? std::string() : agent->getAttribute("character");
    if (agent == nullptr || character.empty()) {
        messages.report(markup::tagMessage(
            index.source(), agent == nullptr ? markup::TagNode::kNoOffset : agent->sourceOffset(),
            pf::ids::kNoAgent, kNoAgent, kNoAgentCaption));
        return;
    }
    characterEmotions = emotions.lookup(character);
    if (characterEmotions == nullptr) {
        messages.report(markup::tagMessage(index.source(), *agent, pf::ids::kUnknownCharacter,
                                           kUnknownCharacter, character));
        return;
    }
    const Position position = resolvePosition(page, index);

    const ScriptText quoted{character};
    pf::appendTemplate(out, tp::kLoadCharacterSub, quoted, quoted, quoted, position.x, position.y);
}

} // namespace orvo::convert
