#pragma once

// The script lines of the single actions of a step: "play" (an animation),
// "speak" (speech) and "move" (a move to a screen position), each on the
// character variable Doll. An enclosing "emotion" tag wraps the action in the
// animations, speech prefix and move speed that the character's emotion set
// gives for it; a "begin" attribute puts a silent pause in front of it.
//
// Each function returns whole lines (possibly none) and changes nothing; each
// append form adds the same lines to `out`, whose storage a conversion keeps
// from page to page.

#include <string>

#include "convert/forward.h"

namespace orvo::convert {

// The pause in front of an action: a spoken silence as long as its "begin"
// duration, or nothing when "begin" is empty or not a positive duration.
std::string generatePauseLine(const markup::TagNode& node);
void appendPauseLine(std::string& out, const markup::TagNode& node);

std::string generatePlay(const markup::TagNode& node);
void appendPlay(std::string& out, const markup::TagNode& node);

// Inside an emotion that the character's set (null: the character is not in
// the emotion map) does not have, only the pause line is generated. Double
// quotes of the tag's own text are doubled so that the script string stays
// closed; the emotion map's prefix is the map author's script text and is
// written as it stands.
std::string generateSpeak(markup::TagNode& node, const config::CharacterEmotions* emotions);
void appendSpeak(std::string& out, markup::TagNode& node,
                 const config::CharacterEmotions* emotions);

std::string generateMove(markup::TagNode& node, const config::CharacterEmotions* emotions,
                         const TreeIndex& index);
void appendMove(std::string& out, markup::TagNode& node, const config::CharacterEmotions* emotions,
                const TreeIndex& index);

} // namespace orvo::convert
