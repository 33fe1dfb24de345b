#include "convert/charactergenerator.h"

#include "config/emotionmap.h"
#include "convert/pagetemplates.h"
#include "convert/position.h"
#include "convert/treeindex.h"
#include "markup/tagnode.h"
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

std::string generateLoadCharacterSub(const markup::TagNode& page,
                                     const config::CharacterEmotions*& characterEmotions,
                                     const TreeIndex& index, const config::EmotionMap& emotions,
                                     platform::Messages& messages)
{
    characterEmotions = nullptr;
    const markup::TagNode* agent = index.agent();
    const std::string character =
        agent == nullptr ? std::string() : agent->getAttribute("character");
    if (character.empty()) {
        messages.error(kNoAgent, kNoAgentCaption);
        return {};
    }
    characterEmotions = emotions.lookup(character);
    if (characterEmotions == nullptr) {
        messages.error(kUnknownCharacter, character);
        return {};
    }
    const Position position = resolvePosition(page, index);

    return pf::fillTemplate(tp::kLoadCharacterSub, character, character, character, position.x,
                            position.y);
}

} // namespace orvo::convert
