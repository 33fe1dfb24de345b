#pragma once

// The LoadCharacter sub of a page: it loads the presentation's agent character
// (named by the first "agent" tag), sets its language, puts it at the page's
// starting position and shows it.

#include <string>

#include "convert/forward.h"

namespace orvo::convert {

// Sets characterEmotions to the character's set in the emotion map (null when
// there is none). Returns the sub, or the empty text after an error box: no
// "agent" tag or an empty "character", or a character the map does not know.
void appendLoadCharacterSub(std::string& out, const markup::TagNode& page,
                            const config::CharacterEmotions*& characterEmotions,
                            const TreeIndex& index, const config::EmotionMap& emotions,
                            platform::Messages& messages);

} // namespace orvo::convert
