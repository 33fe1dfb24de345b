#include "markup/tagparser.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "markup/endtagindex.h"
#include "markup/sourcemap.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
#include "markup/tagnodecontent.h"
#include "markup/tagtypetable.h"
#include "platform/codepage.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/textformat.h"

namespace orvo::markup {

namespace pf = orvo::platform;

namespace {

constexpr std::string_view kUnknownTag = "Unvalid Tag Name!!!";
// A warning of `orvo check`: the parser drops every blank of a value.
constexpr pf::Template<pf::Text, pf::Text, pf::Text> kBlanksRemoved =
    "The blanks in the value of %s are removed: \"%s\" becomes \"%s\"";
constexpr std::string_view kNoSingleEnd = "Unable to find the end single /> for tag";
constexpr std::string_view kUnknownAttribute =
    "System can not find the attribute Name:%s \n for tag name: %s";

constexpr std::size_t npos = std::string_view::npos;

// The fixed parts of a tag around its name.
constexpr std::size_t kTagOpen = std::string_view("<").size();
constexpr std::size_t kEndTagFrame = std::string_view("</>").size();
constexpr std::size_t kSingleTagClose = std::string_view("/>").size();

// The length of "<name>": a start tag no longer than that has no attributes.
std::size_t bareTagLength(std::string_view name)
{
    return name.size() + std::string_view("<>").size();
}

// The first occurrence of a needle at or after a moving position inside one
// node's content. Positions only move forward within a node, so the result of
// the last search answers the next one until the position passes it; this
// keeps runs of unterminated tags from rescanning the rest of the body.
class ForwardSearch {
public:
    explicit ForwardSearch(std::string_view needle) : m_needle(needle) {}

    std::size_t find(std::string_view body, std::size_t from, std::size_t end)
    {
        if (m_valid && from >= m_from && (m_pos == npos || from <= m_pos)) {
            return m_pos;
        }
        m_from = from;
        m_pos = pf::find(body.substr(0, end), m_needle, from);
        m_valid = true;
        return m_pos;
    }

private:
    std::string_view m_needle;
    bool m_valid = false;
    std::size_t m_from = 0;
    std::size_t m_pos = npos;
};

// One node whose content is being consumed: body[cur, end) is what is left of
// it; elementStart is where the element being parsed below it began.
struct Frame {
    TagNode* node;
    std::size_t cur;
    std::size_t end;
    std::size_t elementStart;
    ForwardSearch nextGt{">"};
    ForwardSearch nextSingleEnd{"/>"};
};

std::size_t skipSpace(std::string_view body, std::size_t pos, std::size_t end)
{
    while (pos < end && pf::isSpace(body[pos])) {
        ++pos;
    }
    return pos;
}

// Leaves the unconsumed content in each node on the stack, as a view into the
// body, so that a failed parse shows where it stopped.
void keepRestOnFailure(std::vector<Frame>& stack, const std::shared_ptr<const std::string>& buffer)
{
    for (std::size_t i = 0; i < stack.size(); ++i) {
        Frame& f = stack[i];
        const std::size_t from = (i + 1 == stack.size()) ? f.cur : f.elementStart;
        TagNodeContent::setView(*f.node, buffer, from, f.end - from);
    }
}

// A parse error about the tag that begins at `tagOffset` of the body.
void reportAt(pf::Messages& messages, const SourceFile* source, std::size_t tagOffset,
              const char* id, std::string text, std::string caption)
{
    messages.report(tagMessage(source, tagOffset, id, std::move(text), std::move(caption)));
}

} // namespace

bool parseAttributes(TagNode& child, std::string_view tagText, const TagType& type,
                     pf::Messages& messages, const SourceFile* source, bool warnRemovedBlanks)
{
    std::string_view s = tagText;
    const std::size_t space = s.find(' ');
    if (space != npos) {
        s.remove_prefix(space);
    }
    s = pf::trimLeftView(s);
    const std::size_t cut = pf::findAnyOf(s, "/>");
    s = cut == npos ? std::string_view() : s.substr(0, cut);
    std::string rest(pf::trimRightView(s));
    rest += ' ';

    std::string_view items = rest;
    while (!items.empty()) {
        const std::size_t quote = items.find("\" ");
        const std::string_view item =
            quote == npos ? std::string_view() : items.substr(0, quote + 1);
        items = pf::trimLeftView(items.substr(item.size()));

        const std::size_t eq = item.find('=');
        const std::string name(item.substr(0, std::min(eq, item.size())));
        const std::string_view raw = eq == npos ? std::string_view() : item.substr(eq + 1);
        if (name.empty() || !type.acceptsAttribute(name)) {
            reportAt(messages, source, child.sourceOffset(), pf::ids::kUnknownAttribute,
                     pf::fillTemplate(kUnknownAttribute, name, type.getName()), name);
            return false;
        }
        std::string value = pf::removeChars(raw, "\" ");
        // A location ("x, y") is split at its comma, so its blanks never mattered.
        if (warnRemovedBlanks && name != "location" && pf::find(raw, " ") != pf::npos) {
            messages.report(tagMessage(
                source, child.sourceOffset(), pf::ids::kBlanksRemoved,
                pf::fillTemplate(kBlanksRemoved, name, pf::removeChars(raw, "\""), value), name,
                pf::Message::Severity::Warning));
        }
        child.setAttribute(name, value);
    }
    return true;
}

namespace {

// What one parse works on: the body, its end tags, the table, where the
// messages go, the file and map that place them (null when unknown) and
// whether removed blanks are warned about.
struct Parse {
    std::string_view body;
    const EndTagIndex& endTags;
    const TagTypeTable& table;
    pf::Messages& messages;
    const SourceFile* source;
    bool warnRemovedBlanks;
};

// An element "<name ...>...</name>" at f.cur: attaches the child, moves the
// parent past the element and pushes the child's content as the next frame.
// False after the attribute message.
bool parseElement(const Parse& p, std::vector<Frame>& stack, const std::string& name,
                  const TagType& type)
{
    Frame& f = stack.back();
    const std::size_t gt = f.nextGt.find(p.body, f.cur, f.end);
    const std::size_t startTagLength = gt == npos ? 0 : gt + 1 - f.cur;
    const std::size_t endTag = p.endTags.first(name, f.cur, f.end);

    std::size_t innerBegin = 0;
    std::size_t innerEnd = 0;
    if (endTag != npos && endTag >= f.cur + startTagLength) {
        innerBegin = skipSpace(p.body, f.cur + startTagLength, endTag);
        innerEnd = endTag;
        while (innerEnd > innerBegin && pf::isSpace(p.body[innerEnd - 1])) {
            --innerEnd;
        }
    }

    auto child = std::make_unique<TagNode>(name, type.level(), std::string(), f.node);
    TagNodeContent::setSourceOffset(*child, f.cur);
    if (startTagLength > bareTagLength(name) &&
        !parseAttributes(*child, p.body.substr(f.cur, startTagLength), type, p.messages, p.source,
                         p.warnRemovedBlanks)) {
        return false;
    }
    TagNode& attached = f.node->appendChild(std::move(child));

    // Everything up to and including the end tag leaves the parent's
    // content. Without an end tag that is the "<", the name and one byte
    // more, clamped to the content.
    const std::size_t consumed =
        endTag == npos ? bareTagLength(name) : endTag - f.cur + name.size() + kEndTagFrame;
    f.elementStart = f.cur;
    f.cur = skipSpace(p.body, std::min(f.end, f.cur + consumed), f.end);

    // The parent's content is settled; the child's is parsed next, and the
    // parent resumes once the child is done.
    stack.push_back(Frame{&attached, innerBegin, innerEnd, innerBegin});
    return true;
}

// A single tag "<name .../>" at f.cur: attaches the child and moves past the
// tag. A missing "/>" is reported, and then only the "<" is consumed. False
// after the attribute message.
bool parseSingleTag(const Parse& p, Frame& f, const std::string& name, const TagType& type)
{
    const std::size_t singleEnd = f.nextSingleEnd.find(p.body, f.cur, f.end);
    if (singleEnd == npos) {
        reportAt(p.messages, p.source, f.cur, pf::ids::kMissingSingleEnd, std::string(kNoSingleEnd),
                 name);
    }
    const std::size_t tagLength =
        singleEnd == npos ? kTagOpen : singleEnd - f.cur + kSingleTagClose;
    auto child = std::make_unique<TagNode>(name, type.level(), std::string(), f.node);
    TagNodeContent::setSourceOffset(*child, f.cur);
    if (tagLength > bareTagLength(name) &&
        !parseAttributes(*child, p.body.substr(f.cur, tagLength), type, p.messages, p.source,
                         p.warnRemovedBlanks)) {
        return false;
    }
    f.node->appendChild(std::move(child));
    f.cur = skipSpace(p.body, f.cur + tagLength, f.end);
    return true;
}

} // namespace

bool parseContent(TagNode& node, const TagTypeTable& table, pf::Messages& messages,
                  const SourceFile* source, bool warnRemovedBlanks)
{
    const std::shared_ptr<const std::string> buffer = TagNodeContent::buffer(node);
    if (!buffer || node.content().empty()) {
        TagNodeContent::clear(node);
        return true;
    }
    const std::string_view body = *buffer;
    const std::size_t begin = TagNodeContent::offset(node);
    const std::size_t end = begin + node.content().size();
    const EndTagIndex endTags(body, begin, end);
    const Parse p{body, endTags, table, messages, source, warnRemovedBlanks};

    std::vector<Frame> stack;
    stack.push_back(Frame{&node, begin, end, begin});
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.cur >= f.end) {
            TagNodeContent::clear(*f.node);
            stack.pop_back();
            continue;
        }
        if (body[f.cur] != '<') {
            // Text ends the content: whatever is left, tags included.
            f.node->setText(std::string(body.substr(f.cur, f.end - f.cur)));
            TagNodeContent::clear(*f.node);
            stack.pop_back();
            continue;
        }

        const std::size_t nameBegin = f.cur + kTagOpen;
        const std::size_t nameEnd =
            std::min(f.end, pf::findAnyOf(body.substr(0, f.end), " >", nameBegin));
        const std::string name(body.substr(nameBegin, nameEnd - nameBegin));
        const TagType* type = table.lookup(name);
        if (type == nullptr) {
            reportAt(messages, source, f.cur, pf::ids::kUnknownTag, std::string(kUnknownTag), name);
            keepRestOnFailure(stack, buffer);
            return false;
        }
        const bool parsed = type->hasChildren() ? parseElement(p, stack, name, *type)
                                                : parseSingleTag(p, f, name, *type);
        if (!parsed) {
            keepRestOnFailure(stack, buffer);
            return false;
        }
    }
    return true;
}

} // namespace orvo::markup
