#include "convert/charactergenerator.h"

#include "config/emotionmap.h"
#include "convert/position.h"
#include "convert/treeindex.h"
#include "markup/tagnode.h"
#include "platform/messages.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

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
        messages.error("Can't find the tag: agent", "when generating CharLoadFuntion");
        return {};
    }
    characterEmotions = emotions.lookup(character);
    if (characterEmotions == nullptr) {
        messages.error("Unvalid Agent Charater Name!!!", character);
        return {};
    }
    const Position position = resolvePosition(page, index);

    std::string sub = "\nSub LoadCharacter\n";
    sub += "\tOn Error Resume Next\n";
    // The character's id and the base name of its character file.
    sub += pf::fillTemplate("\tSet LoadRequestUNC = Agent.Characters.Load (\"%s\", \"%s.acs\")\n",
                            {character, character});
    sub += "\tIf LoadRequestUNC.Status <> 0 Then\n";
    sub += "\t\tAlert \"No character installed\"\n";
    sub += "\tElse\n";
    sub += pf::fillTemplate("\t\tSet Doll = Agent.Characters(\"%s\")\n", {character});
    // Language 0409: English.
    sub += "\t\tDoll.LanguageID = &H0409\n\n";
    sub += "\t\tOn Error Resume Next\n";
    sub += pf::fillTemplate("\t\tDoll.MoveTo %d,%d\n",
                            {pf::toDecimal(position.x), pf::toDecimal(position.y)});
    sub += "\t\tDoll.Show\n";
    sub += "\tEnd If\n";
    sub += "End Sub\n";
    return sub;
}

} // namespace orvo::convert
