#include "convert/actiongenerator.h"

#include "config/emotionmap.h"
#include "convert/duration.h"
#include "convert/pagetemplates.h"
#include "convert/position.h"
#include "convert/scriptstring.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/textformat.h"

#include <string_view>
#include <vector>

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

namespace {

void appendPlayLines(std::string& out, const std::vector<std::string>& animations)
{
    for (const std::string& animation : animations) {
        pf::appendTemplate(out, tp::kPlayLine, ScriptText{animation});
    }
}

// The entry of the innermost enclosing emotion in the character's set; null
// when the character has no set or the set has no such emotion.
const config::EmotionEntry* lookupEmotion(markup::TagNode& emotion,
                                          const config::CharacterEmotions* emotions)
{
    if (emotions == nullptr) {
        return nullptr;
    }
    return emotions->lookup(emotion.getAttribute("type"));
}

// Puts `word` in front of every word that follows a space: at each byte that
// is not a space and directly follows one. A space byte never occurs inside a
// double-byte character (trail bytes start at 0x40), so byte positions are
// safe here; the first word of the text is never prefixed.
std::string prefixWords(std::string_view text, std::string_view word)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (p > 0 && text[p] != ' ' && text[p - 1] == ' ') {
            out += word;
        }
        out += text[p];
    }
    return out;
}

} // namespace

std::string generatePauseLine(const markup::TagNode& node)
{
    std::string out;
    appendPauseLine(out, node);
    return out;
}

void appendPauseLine(std::string& out, const markup::TagNode& node)
{
    const std::string_view begin = node.attributeView("begin");
    if (begin.empty()) {
        return;
    }
    const std::int64_t delay = parseDuration(begin);
    if (delay > 0) {
        pf::appendTemplate(out, tp::kPauseLine, delay);
    }
}

std::string generatePlay(const markup::TagNode& node)
{
    std::string out;
    appendPlay(out, node);
    return out;
}

void appendPlay(std::string& out, const markup::TagNode& node)
{
    appendPauseLine(out, node);
    pf::appendTemplate(out, tp::kPlayLine, ScriptText{node.attributeView("act")});
}

std::string generateSpeak(markup::TagNode& node, const config::CharacterEmotions* emotions)
{
    std::string out;
    appendSpeak(out, node, emotions);
    return out;
}

void appendSpeak(std::string& out, markup::TagNode& node, const config::CharacterEmotions* emotions)
{
    appendPauseLine(out, node);
    // A double quote would end the script's string literal early and break
    // the whole script block of the page; doubled, it is spoken as one quote.
    const ScriptText text{node.textView(), true};

    markup::TagNode* emotion = node.findAncestorOrSelf("emotion");
    if (emotion == nullptr) {
        pf::appendTemplate(out, tp::kSpeakLine, "", text);
        return;
    }
    const config::EmotionEntry* entry = lookupEmotion(*emotion, emotions);
    if (entry == nullptr) {
        return;
    }
    appendPlayLines(out, entry->speakBefore());
    const std::string& prefix = entry->speechPrefix();
    if (prefix.empty() || prefix.front() != '&') {
        pf::appendTemplate(out, tp::kSpeakLine, ScriptText{prefix}, text);
    } else {
        // Prefixed before the escaping, whose pieces hold spaces of their own.
        const std::string doubled = pf::replaceAll(node.textView(), "\"", "\"\"");
        pf::appendTemplate(out, tp::kSpeakLine, "",
                           ScriptText{prefixWords(doubled, std::string_view(prefix).substr(1))});
    }
    appendPlayLines(out, entry->speakAfter());
}

std::string generateMove(markup::TagNode& node, const config::CharacterEmotions* emotions,
                         const TreeIndex& index)
{
    std::string out;
    appendMove(out, node, emotions, index);
    return out;
}

void appendMove(std::string& out, markup::TagNode& node, const config::CharacterEmotions* emotions,
                const TreeIndex& index)
{
    appendPauseLine(out, node);
    const Position position = resolvePosition(node, index);
    const int x = position.x;
    const int y = position.y;

    markup::TagNode* emotion = node.findAncestorOrSelf("emotion");
    if (emotion == nullptr) {
        pf::appendTemplate(out, tp::kMoveLine, x, y);
        return;
    }
    const config::EmotionEntry* entry = lookupEmotion(*emotion, emotions);
    if (entry == nullptr) {
        return;
    }
    appendPlayLines(out, entry->moveBefore());
    if (!entry->moveSpeed().empty()) {
        pf::appendTemplate(out, tp::kMoveWithSpeedLine, x, y, entry->moveSpeed());
    } else {
        pf::appendTemplate(out, tp::kMoveLine, x, y);
    }
    appendPlayLines(out, entry->moveAfter());
}

} // namespace orvo::convert
