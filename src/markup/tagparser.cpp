#include "markup/tagparser.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "markup/endtagindex.h"
#include "markup/sourcemap.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
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
void keepRestOnFailure(std::vector<Frame>& stack, std::string_view body)
{
    for (std::size_t i = 0; i < stack.size(); ++i) {
        Frame& f = stack[i];
        const std::size_t from = (i + 1 == stack.size()) ? f.cur : f.elementStart;
        f.node->setContentView(body.substr(from, f.end - from));
    }
}

// The value of an attribute item as stored: the text after "=" with every
// double quote and space removed. A plain quoted value is the text between
// its quotes, a view; only a value that has quotes or spaces inside is
// copied.
void storeAttribute(TagNode& child, std::string_view name, std::string_view raw)
{
    std::string_view inner = raw;
    if (inner.size() >= 2 && inner.front() == '"' && inner.back() == '"') {
        inner = inner.substr(1, inner.size() - 2);
    }
    if (inner.find_first_of("\" ") == std::string_view::npos) {
        child.addAttributeView(name, inner);
    } else {
        child.setAttribute(name, pf::removeChars(raw, "\" "));
    }
}

// Node names come from the tag type table; each type's name is interned once
// per parse.
class NameCache {
public:
    const std::string& nameOf(const TagType& type)
    {
        for (const auto& [known, name] : m_names) {
            if (known == &type) {
                return *name;
            }
        }
        const std::string& name = TagNode::internName(type.name());
        m_names.emplace_back(&type, &name);
        return name;
    }

private:
    std::vector<std::pair<const TagType*, const std::string*>> m_names;
};

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
    // The items are read from the attribute part with one space appended, so
    // that the last quoted value ends an item too. The space is not copied
    // in: it is kept in mind as `spaceLeft` while `items` holds the rest.
    std::string_view items = pf::trimRightView(s);
    bool spaceLeft = true;

    std::size_t count = 0;
    for (std::size_t q = items.find("\" "); q != npos; q = items.find("\" ", q + 1)) {
        ++count;
    }
    child.reserveAttributes(count + 1);

    while (!items.empty() || spaceLeft) {
        std::size_t quote = items.find("\" ");
        if (quote == npos && !items.empty() && items.back() == '"') {
            quote = items.size() - 1; // the quote in front of the appended space
        }
        const std::string_view item =
            quote == npos ? std::string_view() : items.substr(0, quote + 1);
        items.remove_prefix(item.size());
        // Trimming the rest takes the appended space once nothing else is left.
        items = pf::trimLeftView(items);
        if (items.empty()) {
            spaceLeft = false;
        }

        const std::size_t eq = item.find('=');
        const std::string_view name = item.substr(0, std::min(eq, item.size()));
        const std::string_view raw = eq == npos ? std::string_view() : item.substr(eq + 1);
        if (name.empty() || !type.acceptsAttribute(name)) {
            const std::string shown(name);
            reportAt(messages, source, child.sourceOffset(), pf::ids::kUnknownAttribute,
                     pf::fillTemplate(kUnknownAttribute, shown, type.getName()), shown);
            return false;
        }
        // A location ("x, y") is split at its comma, so its blanks never mattered.
        if (warnRemovedBlanks && name != "location" && pf::find(raw, " ") != pf::npos) {
            const std::string shown(name);
            messages.report(
                tagMessage(source, child.sourceOffset(), pf::ids::kBlanksRemoved,
                           pf::fillTemplate(kBlanksRemoved, shown, pf::removeChars(raw, "\""),
                                            pf::removeChars(raw, "\" ")),
                           shown, pf::Message::Severity::Warning));
        }
        if (child.hasAttribute(name)) {
            // Written twice: the last value wins, in place.
            child.setAttribute(name, pf::removeChars(raw, "\" "));
        } else {
            storeAttribute(child, name, raw);
        }
    }
    return true;
}

bool parseContent(TagNode& node, const TagTypeTable& table, pf::Messages& messages,
                  const SourceFile* source, bool warnRemovedBlanks)
{
    // Positions below are offsets into the node's content; every node made
    // below it holds views into the same bytes.
    const std::string_view body = node.content();
    if (body.empty()) {
        node.clearContent();
        return true;
    }
    const std::size_t begin = 0;
    const std::size_t end = body.size();
    const EndTagIndex endTags(body, begin, end);
    NameCache names;

    std::vector<Frame> stack;
    stack.push_back(Frame{&node, begin, end, begin});
    while (!stack.empty()) {
        Frame& f = stack.back();
        TagNode& parent = *f.node;
        if (f.cur >= f.end) {
            parent.clearContent();
            stack.pop_back();
            continue;
        }
        if (body[f.cur] != '<') {
            // Text ends the content: whatever is left, tags included.
            parent.setTextView(body.substr(f.cur, f.end - f.cur));
            parent.clearContent();
            stack.pop_back();
            continue;
        }

        const std::size_t nameBegin = f.cur + 1;
        const std::size_t nameEnd =
            std::min(f.end, pf::findAnyOf(body.substr(0, f.end), " >", nameBegin));
        const std::string name(body.substr(nameBegin, nameEnd - nameBegin));
        const TagType* type = table.lookup(name);
        if (type == nullptr) {
            reportAt(messages, source, f.cur, pf::ids::kUnknownTag, std::string(kUnknownTag), name);
            keepRestOnFailure(stack, body);
            return false;
        }

        if (type->hasChildren()) {
            const std::size_t gt = f.nextGt.find(body, f.cur, f.end);
            const std::size_t startTagLength = gt == npos ? 0 : gt + 1 - f.cur;
            const std::size_t endTag = endTags.first(name, f.cur, f.end);

            std::size_t innerBegin = 0;
            std::size_t innerEnd = 0;
            if (endTag != npos && endTag >= f.cur + startTagLength) {
                innerBegin = skipSpace(body, f.cur + startTagLength, endTag);
                innerEnd = endTag;
                while (innerEnd > innerBegin && pf::isSpace(body[innerEnd - 1])) {
                    --innerEnd;
                }
            }

            TagNode::Child child = node.makeArenaChild(names.nameOf(*type), type->level(), &parent);
            child->setSourceOffset(f.cur);
            if (startTagLength > name.size() + 2 &&
                !parseAttributes(*child, body.substr(f.cur, startTagLength), *type, messages,
                                 source, warnRemovedBlanks)) {
                keepRestOnFailure(stack, body);
                return false;
            }
            TagNode& attached = parent.appendChild(std::move(child));

            // Everything up to and including the end tag leaves the parent's
            // content. Without an end tag that is the "<", the name and one
            // byte more, clamped to the content.
            const std::size_t consumed =
                endTag == npos ? name.size() + 2 : endTag - f.cur + name.size() + 3;
            f.elementStart = f.cur;
            f.cur = skipSpace(body, std::min(f.end, f.cur + consumed), f.end);

            // The parent's content is settled; the child's is parsed next, and
            // the parent resumes once the child is done.
            stack.push_back(Frame{&attached, innerBegin, innerEnd, innerBegin});
            continue;
        }

        const std::size_t singleEnd = f.nextSingleEnd.find(body, f.cur, f.end);
        if (singleEnd == npos) {
            reportAt(messages, source, f.cur, pf::ids::kMissingSingleEnd, std::string(kNoSingleEnd),
                     name);
        }
        const std::size_t tagLength = singleEnd == npos ? 1 : singleEnd - f.cur + 2;
        TagNode::Child child = node.makeArenaChild(names.nameOf(*type), type->level(), &parent);
        child->setSourceOffset(f.cur);
        if (tagLength > name.size() + 2 &&
            !parseAttributes(*child, body.substr(f.cur, tagLength), *type, messages, source,
                             warnRemovedBlanks)) {
            keepRestOnFailure(stack, body);
            return false;
        }
        parent.appendChild(std::move(child));
        f.cur = skipSpace(body, f.cur + tagLength, f.end);
    }
    return true;
}

} // namespace orvo::markup
