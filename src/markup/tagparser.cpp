#include "markup/tagparser.h"

#include <malloc.h>
#include <algorithm>
#include <memory>
#include <memory_resource>
#include <string>
#include <vector>

#include "markup/contentparser.h"
#include "markup/endtagindex.h"
#include "markup/pagecontents.h"
#include "markup/sourcemap.h"
#include "markup/tagmessage.h"
#include "markup/tagnode.h"
#include "markup/tagnodebuilder.h"
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

// Plain byte searches: every byte looked for here ("<", ">", "/", "=", '"'
// and white space) is below 0x40, so it is never the second byte of a
// Shift-JIS character nor part of a UTF-8 sequence, and a plain search finds
// exactly the occurrences that start on a character.
std::size_t findByte(std::string_view text, char byte, std::size_t from)
{
    const auto found =
        std::find(text.begin() + static_cast<long>(std::min(from, text.size())), text.end(), byte);
    return found == text.end() ? npos : static_cast<std::size_t>(found - text.begin());
}

// Whether two short names are the same bytes: names are a few bytes long,
// shorter than a call to memcmp is worth.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i]) {
            return false;
        }
    }
    return true;
}

// What one pass over the attribute items finds about the first of them: the
// first '"' followed by a blank (where the item ends), the first "=" before
// it, and whether a blank follows that "=" within the item.
struct ItemScan {
    std::size_t quoteBlank = npos;
    std::size_t eq = npos;
    bool blankAfterEq = false;
    // The '"' after that "=" in front of quoteBlank (or up to the end).
    std::size_t quotesAfterEq = 0;
};

ItemScan scanItem(std::string_view items)
{
    ItemScan scan;
    const std::size_t size = items.size();
    for (std::size_t i = 0; i < size; ++i) {
        const char c = items[i];
        if (c == '"') {
            if (i + 1 < size && items[i + 1] == ' ') {
                scan.quoteBlank = i;
                break;
            }
            if (scan.eq != npos) {
                ++scan.quotesAfterEq;
            }
        } else if (c == '=') {
            if (scan.eq == npos) {
                scan.eq = i;
            }
        } else if (c == ' ' && scan.eq != npos) {
            scan.blankAfterEq = true;
        }
    }
    return scan;
}

// The first "/>" at or after `from`: the first ">" there with a "/" in front.
std::size_t findSingleEnd(std::string_view text, std::size_t from)
{
    for (std::size_t gt = text.find('>', from + 1); gt != npos; gt = text.find('>', gt + 1)) {
        if (text[gt - 1] == '/') {
            return gt - 1;
        }
    }
    return npos;
}

std::size_t skipSpace(std::string_view body, std::size_t pos, std::size_t end)
{
    while (pos < end && pf::isSpace(body[pos])) {
        ++pos;
    }
    return pos;
}

// The value of an attribute item as stored: the text after "=" with every
// double quote and space removed. A plain quoted value is the text between
// its quotes, a view; only a value that has quotes or spaces inside is
// copied. The scan of the item has counted raw's quotes and seen whether it
// holds a blank.
void storeAttribute(TagNode& child, std::pmr::memory_resource& memory, const std::string& name,
                    std::string_view raw, std::size_t quotes, bool blank)
{
    std::string_view inner = raw;
    const bool quoted = inner.size() >= 2 && inner.front() == '"' && inner.back() == '"';
    if (quoted) {
        inner = inner.substr(1, inner.size() - 2);
    }
    if (!blank && quotes == (quoted ? 2U : 0U)) {
        TagNodeBuilder::addAttributeView(child, memory, name, inner);
    } else {
        TagNodeBuilder::setAttributeCopy(child, memory, name, pf::removeChars(raw, "\" "));
    }
}

// A parse error about the tag that begins at `tagOffset` of the body.
void reportAt(pf::Messages& messages, const SourceFile* source, std::size_t tagOffset,
              const char* id, std::string text, std::string caption)
{
    messages.report(tagMessage(source, tagOffset, id, std::move(text), std::move(caption)));
}

// Reads the attributes of tagText into child. `accepted(name)` gives the
// interned name of an attribute that the tag's type accepts, or null for a
// name it does not (the empty name included); `spare` is the room kept in
// the child's array beyond what the tag holds.
template <typename Accepted>
bool readAttributes(TagNode& child, std::pmr::memory_resource& memory, std::string_view tagText,
                    const TagType& type, Accepted accepted, std::size_t spare,
                    pf::Messages& messages, const SourceFile* source, bool warnRemovedBlanks)
{
    std::string_view s = tagText;
    const std::size_t space = findByte(s, ' ', 0);
    if (space != npos) {
        s.remove_prefix(space);
    }
    s = pf::trimLeftView(s);
    // One pass finds where the attribute part ends (the first "/" or ">")
    // and counts the '"' followed by a blank in front of it: each ends an
    // item, and so does the last '"'.
    std::size_t cut = 0;
    std::size_t count = 0;
    while (cut < s.size() && s[cut] != '/' && s[cut] != '>') {
        if (s[cut] == '"' && cut + 1 < s.size() && s[cut + 1] == ' ') {
            ++count;
        }
        ++cut;
    }
    s = cut == s.size() ? std::string_view() : s.substr(0, cut);
    // The items are read from the attribute part with one space appended, so
    // that the last quoted value ends an item too. The space is not copied
    // in: it is kept in mind as `spaceLeft` while `items` holds the rest.
    std::string_view items = pf::trimRightView(s);
    bool spaceLeft = true;
    if (s.empty()) {
        count = 0;
    } else if (!items.empty() && items.size() < s.size() && items.back() == '"' &&
               s[items.size()] == ' ') {
        --count; // its blank was trimmed away with the end of the part
    }
    TagNodeBuilder::reserveAttributes(child, memory, count + 1 + spare);

    while (!items.empty() || spaceLeft) {
        // When no '"' is followed by a blank, the scan has seen all the items.
        const ItemScan scan = scanItem(items);
        std::size_t quote = scan.quoteBlank;
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

        const std::size_t eq = quote == npos ? npos : scan.eq;
        const std::string_view name = item.substr(0, std::min(eq, item.size()));
        const std::string_view raw = eq == npos ? std::string_view() : item.substr(eq + 1);
        const std::string* interned = name.empty() ? nullptr : accepted(name);
        if (interned == nullptr) {
            const std::string shown(name);
            reportAt(messages, source, child.sourceOffset(), pf::ids::kUnknownAttribute,
                     pf::fillTemplate(kUnknownAttribute, shown, type.getName()), shown);
            return false;
        }
        // A location ("x, y") is split at its comma, so its blanks never mattered.
        if (warnRemovedBlanks && eq != npos && scan.blankAfterEq && name != "location") {
            const std::string shown(name);
            messages.report(
                tagMessage(source, child.sourceOffset(), pf::ids::kBlanksRemoved,
                           pf::fillTemplate(kBlanksRemoved, shown, pf::removeChars(raw, "\""),
                                            pf::removeChars(raw, "\" ")),
                           shown, pf::Message::Severity::Warning));
        }
        if (TagNodeBuilder::hasInternedAttribute(child, *interned)) {
            // Written twice: the last value wins, in place.
            TagNodeBuilder::setAttributeCopy(child, memory, *interned, pf::removeChars(raw, "\" "));
        } else {
            // The quote that ends the item is in raw, uncounted by the scan.
            const std::size_t quotes =
                scan.quotesAfterEq + (scan.quoteBlank != npos && !raw.empty() ? 1 : 0);
            storeAttribute(child, memory, *interned, raw, quotes, scan.blankAfterEq);
        }
    }
    return true;
}

// A page is given its file name by the conversion: its array has room for
// that one more, so that the name does not copy every page's array.
std::size_t spareAttributesOf(std::string_view nodeName)
{
    return nodeName == "page" ? 1 : 0;
}

} // namespace

bool parseAttributes(TagNode& child, std::string_view tagText, const TagType& type,
                     pf::Messages& messages, const SourceFile* source, bool warnRemovedBlanks)
{
    const auto accepted = [&type](std::string_view name) -> const std::string* {
        return type.acceptsAttribute(name) ? &TagNode::internName(name) : nullptr;
    };
    return readAttributes(child, TagNodeBuilder::memoryOf(child), tagText, type, accepted,
                          spareAttributesOf(child.name()), messages, source, warnRemovedBlanks);
}

namespace {

// The lengths that the parser steps over, named after the bytes they stand
// for.
// "<" name ">": a tag longer than this has attribute text to read. Without
// an end tag, an element gives up this many bytes of its parent's content.
std::size_t bareStartTagLength(std::string_view name)
{
    return name.size() + 2;
}
// "</" name ">".
std::size_t endTagLength(std::string_view name)
{
    return name.size() + 3;
}
// "/>".
constexpr std::size_t kSingleEndLength = 2;

} // namespace

std::size_t ForwardSearch::find(std::string_view body, std::size_t from, std::size_t end)
{
    if (m_valid && from >= m_from && (m_pos == npos || from <= m_pos)) {
        return m_pos;
    }
    m_from = from;
    const std::string_view text = body.substr(0, end);
    m_pos = from >= text.size() ? npos
            : m_singleEnd       ? findSingleEnd(text, from)
                                : text.find('>', from);
    m_valid = true;
    return m_pos;
}

const std::string* KnownType::accepted(std::string_view name) const
{
    for (const auto& [listed, interned] : attributes) {
        if (sameName(listed, name)) {
            return interned;
        }
    }
    return nullptr;
}

ContentParser::ContentParser(const TagTypeTable& table, pf::Messages& messages,
                             const SourceFile* source, bool warnRemovedBlanks)
    : m_table(table), m_messages(messages), m_source(source), m_warnRemovedBlanks(warnRemovedBlanks)
{
}

bool ContentParser::parse(TagNode& node, std::string_view body, std::size_t begin, std::size_t end,
                          std::pmr::memory_resource& arena)
{
    m_body = body;
    m_arena = &arena;
    m_endTags.index(body, begin, end);
    return run(node, begin, end);
}

bool ContentParser::parseByPage(TagNode& root, std::pmr::memory_resource& arena,
                                PageContents& pages)
{
    m_pages = &pages;
    const std::string_view* id = root.attribute("id");
    m_idlessSeen = id == nullptr || id->empty();
    const std::string_view body = root.content();
    const bool parsed = parse(root, body, 0, body.size(), arena);
    m_pages = nullptr;
    return parsed;
}

KnownType* ContentParser::typeOf(std::string_view name)
{
    // Names of different types differ mostly in length or first letter, so
    // the type last met under a name's shape is nearly always the one.
    const std::size_t shape =
        (name.size() * kShapeStride + (name.empty() ? 0U : static_cast<unsigned char>(name[0]))) %
        kShapes;
    KnownType* seen = m_byShape[shape];
    if (seen != nullptr && sameName(*seen->nodeName, name)) {
        return seen;
    }
    for (KnownType& known : m_known) {
        if (*known.nodeName == name) {
            m_byShape[shape] = &known;
            return &known;
        }
    }
    const TagType* type = m_table.lookup(std::string(name));
    if (type == nullptr) {
        return nullptr;
    }
    KnownType& known = m_known.emplace_back();
    m_byShape[shape] = &known;
    known.type = type;
    known.nodeName = &TagNode::internName(type->name());
    known.spare = spareAttributesOf(type->name());
    known.endTags = m_endTags.numberOf(type->name());
    for (const std::string& attribute : type->getAttributes()) {
        if (!attribute.empty()) {
            known.attributes.emplace_back(attribute, &TagNode::internName(attribute));
        }
    }
    return &known;
}

std::pmr::memory_resource& ContentParser::memoryNow()
{
    return m_pageFrame == kNoFrame ? *m_arena : m_pages->scratch();
}

void ContentParser::finishTop()
{
    const Frame& f = m_stack.back();
    TagNodeBuilder::adoptChildren(*f.node, memoryNow(), m_pending, f.firstChild);
    if (m_stack.size() - 1 == m_pageFrame) {
        m_pages->endPage(*f.node);
        m_pageFrame = kNoFrame;
    }
    m_stack.pop_back();
}

bool ContentParser::fail()
{
    // Every node made so far stays in the tree, each open one with the rest
    // of its content as a view into the body, so that a failed parse shows
    // where it stopped.
    for (std::size_t i = 0; i < m_stack.size(); ++i) {
        const Frame& f = m_stack[i];
        const std::size_t from = (i + 1 == m_stack.size()) ? f.cur : f.elementStart;
        TagNodeBuilder::setContentView(*f.node, m_body.substr(from, f.end - from));
    }
    while (!m_stack.empty()) {
        finishTop();
    }
    return false;
}

bool ContentParser::run(TagNode& node, std::size_t begin, std::size_t end)
{
    m_stack.clear();
    m_stack.push_back(Frame{&node, begin, end, begin, m_pending.size()});
    while (!m_stack.empty()) {
        Frame& f = m_stack.back();
        TagNode& parent = *f.node;
        if (f.cur >= f.end) {
            TagNodeBuilder::clearContent(parent);
            finishTop();
            continue;
        }
        if (m_body[f.cur] != '<') {
            // Text ends the content: whatever is left, tags included.
            TagNodeBuilder::setTextView(parent, m_body.substr(f.cur, f.end - f.cur));
            TagNodeBuilder::clearContent(parent);
            finishTop();
            continue;
        }

        const std::size_t nameBegin = f.cur + 1;
        const auto nameStop = std::find_if(m_body.begin() + static_cast<long>(nameBegin),
                                           m_body.begin() + static_cast<long>(f.end),
                                           [](char c) { return c == ' ' || c == '>'; });
        const std::size_t nameEnd = static_cast<std::size_t>(nameStop - m_body.begin());
        const std::string_view name = m_body.substr(nameBegin, nameEnd - nameBegin);
        KnownType* known = typeOf(name);
        if (known == nullptr) {
            reportAt(m_messages, m_source, f.cur, pf::ids::kUnknownTag, std::string(kUnknownTag),
                     std::string(name));
            return fail();
        }
        if (!(known->type->hasChildren() ? parseElement(*known, name)
                                         : parseSingleTag(*known, name))) {
            return fail();
        }
    }
    return true;
}

TagNode::Child ContentParser::makeChild(const KnownType& known, std::string_view name,
                                        TagNode& parent, std::size_t tagOffset,
                                        std::size_t tagLength)
{
    std::pmr::memory_resource& memory = memoryNow();
    TagNode::Child child =
        TagNodeBuilder::makeChildIn(memory, *known.nodeName, known.type->level(), &parent);
    TagNodeBuilder::setSourceOffset(*child, tagOffset);
    if (tagLength > bareStartTagLength(name) &&
        !readAttributes(
            *child, memory, m_body.substr(tagOffset, tagLength), *known.type,
            [&known](std::string_view attribute) { return known.accepted(attribute); }, known.spare,
            m_messages, m_source, m_warnRemovedBlanks)) {
        return nullptr;
    }
    if (m_pages != nullptr) {
        notePaged(child);
    }
    return child;
}

void ContentParser::notePaged(TagNode::Child& child)
{
    static const TagNode::AttributeKey idKey("id");
    const std::string_view* id = child->attribute(idKey);
    const bool hasId = id != nullptr && !id->empty();
    if (m_pageFrame != kNoFrame) {
        // Inside a page: a tag that a lookup by id or of the agent tag may
        // answer outlives the page's content as a copy.
        if (hasId || !m_idlessSeen || child->name() == "agent") {
            m_pages->keep(TagNodeBuilder::copyWithoutChildren(*child, m_pages->keptMemory(),
                                                              m_stack[m_pageFrame].node));
        }
    } else if (m_firstBody == nullptr && child->name() == "body") {
        m_firstBody = child.get();
        m_pages->setBody(*m_stack.front().node, m_body, *child);
    }
    m_idlessSeen = m_idlessSeen || !hasId;
}

bool ContentParser::parseElement(KnownType& known, std::string_view name)
{
    Frame& f = m_stack.back();
    const std::size_t gt = f.nextGt.find(m_body, f.cur, f.end);
    const std::size_t startTagLength = gt == npos ? 0 : gt + 1 - f.cur;
    // A part of a body may have no end tag of a name that a part before it
    // had none of either.
    if (known.endTags == EndTagIndex::kNoName) {
        known.endTags = m_endTags.numberOf(name);
    }
    const std::size_t endTag = m_endTags.first(known.endTags, name.size(), f.cur, f.end);

    std::size_t innerBegin = 0;
    std::size_t innerEnd = 0;
    if (endTag != npos && endTag >= f.cur + startTagLength) {
        innerBegin = skipSpace(m_body, f.cur + startTagLength, endTag);
        innerEnd = endTag;
        while (innerEnd > innerBegin && pf::isSpace(m_body[innerEnd - 1])) {
            --innerEnd;
        }
    }

    TagNode::Child child = makeChild(known, name, *f.node, f.cur, startTagLength);
    if (!child) {
        return false;
    }
    TagNode& attached = *child;
    const bool page = m_pages != nullptr && f.node == m_firstBody;
    m_pending.push_back(std::move(child));

    // Everything up to and including the end tag leaves the parent's
    // content. Without an end tag that is the "<", the name and one byte
    // more, clamped to the content.
    const std::size_t consumed =
        endTag == npos ? bareStartTagLength(name) : endTag - f.cur + endTagLength(name);
    f.elementStart = f.cur;
    f.cur = skipSpace(m_body, std::min(f.end, f.cur + consumed), f.end);

    // The parent's content is settled; the child's is parsed next, and the
    // parent resumes once the child is done.
    m_stack.push_back(Frame{&attached, innerBegin, innerEnd, innerBegin, m_pending.size()});
    if (page) {
        m_pages->addPage(innerBegin, innerEnd);
        m_pageFrame = m_stack.size() - 1;
    }
    return true;
}

bool ContentParser::parseSingleTag(const KnownType& known, std::string_view name)
{
    Frame& f = m_stack.back();
    const std::size_t singleEnd = f.nextSingleEnd.find(m_body, f.cur, f.end);
    if (singleEnd == npos) {
        reportAt(m_messages, m_source, f.cur, pf::ids::kMissingSingleEnd, std::string(kNoSingleEnd),
                 std::string(name));
    }
    // Without its "/>" the tag is taken to be its "<" alone.
    const std::size_t tagLength = singleEnd == npos ? 1 : singleEnd - f.cur + kSingleEndLength;
    TagNode::Child child = makeChild(known, name, *f.node, f.cur, tagLength);
    if (!child) {
        return false;
    }
    m_pending.push_back(std::move(child));
    if (m_pages != nullptr && f.node == m_firstBody) {
        m_pages->addPage(0, 0); // a page with no content
    }
    f.cur = skipSpace(m_body, f.cur + tagLength, f.end);
    return true;
}

bool parseContent(TagNode& node, const TagTypeTable& table, pf::Messages& messages,
                  const SourceFile* source, bool warnRemovedBlanks)
{
    // Positions are offsets into the node's content; every node made below
    // it holds views into the same bytes.
    if (node.content().empty()) {
        TagNodeBuilder::clearContent(node);
        return true;
    }
    const std::string_view body = node.content();
    return ContentParser(table, messages, source, warnRemovedBlanks)
        .parse(node, body, 0, body.size(), TagNodeBuilder::arenaOf(node, body.size()));
}

bool parseContentByPage(TagNode& root, const TagTypeTable& table, pf::Messages& messages,
                        const SourceFile* source, PageContents& pages)
{
    if (root.content().empty()) {
        TagNodeBuilder::clearContent(root);
        return true;
    }
    // Most of the tags lie inside pages, made in the pages' scratch arena:
    // the root's arena holds the page tags and what lies outside pages.
    const bool parsed =
        ContentParser(table, messages, source, false)
            .parseByPage(root, TagNodeBuilder::pageTagArenaOf(root, root.content().size()), pages);
#ifdef __GLIBC__
    // The parse's own tables (an entry for every end tag of the document)
    // are freed now; the heap gives their pages back, which it otherwise
    // keeps for allocations of their size.
    malloc_trim(0);
#endif
    return parsed;
}

} // namespace orvo::markup
