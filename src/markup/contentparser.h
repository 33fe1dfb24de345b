#pragma once

// The tag parser's machinery, shared by the parse of a whole document and by
// the parse of one page again (page contents). Only src/markup includes this
// header; everything else goes through tagparser.h.
//
// A parser keeps what it learns and the room it grows from one parse to the
// next: the tag types it has met, the end tag index and its stacks. Parsing
// one part of a body after another therefore costs no allocation once the
// first parts have been parsed.

#include <array>
#include <cstddef>
#include <deque>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "markup/endtagindex.h"
#include "markup/tagnode.h"

namespace orvo::platform {
class Messages;
}

namespace orvo::markup {

class PageContents;
struct SourceFile;
class TagType;
class TagTypeTable;

// The first occurrence of ">" or "/>" at or after a moving position inside
// one node's content. Positions only move forward within a node, so the
// result of the last search answers the next one until the position passes
// it; this keeps runs of unterminated tags from rescanning the rest of the
// body.
class ForwardSearch {
public:
    explicit ForwardSearch(bool singleEnd) : m_singleEnd(singleEnd) {}

    std::size_t find(std::string_view body, std::size_t from, std::size_t end);

private:
    bool m_singleEnd;
    bool m_valid = false;
    std::size_t m_from = 0;
    std::size_t m_pos = std::string_view::npos;
};

// What a parser has learnt about a tag type the first time it met a tag of
// it: the name its nodes point to, the interned names of the attributes it
// accepts, and where its end tags are in the index. Documents use a few types
// over and over, so each tag costs a short comparison instead of a hash of
// its name.
struct KnownType {
    const TagType* type;
    const std::string* nodeName;
    std::size_t spare;
    // The name's number in the end tag index; kNoName while no part parsed
    // so far had an end tag of it.
    std::size_t endTags;
    // The accepted names as the type lists them, each with its interned copy.
    std::vector<std::pair<std::string_view, const std::string*>> attributes;

    const std::string* accepted(std::string_view name) const;
};

// One parse at a time of a node's content: the body, what checks it, and the
// stack of nodes whose content is being consumed.
class ContentParser {
public:
    // Messages about the tags name the file and its lines through `source`
    // when it is given.
    ContentParser(const TagTypeTable& table, platform::Messages& messages, const SourceFile* source,
                  bool warnRemovedBlanks);

    // Parses body[begin, end) into node's children, attributes and text, the
    // nodes and their arrays made in `arena`. Every later parse of the same
    // parser must be of the same body.
    bool parse(TagNode& node, std::string_view body, std::size_t begin, std::size_t end,
               std::pmr::memory_resource& arena);
    // The same, for a whole document whose pages `pages` takes over: the
    // children of the first "body" tag keep their attributes and text, and
    // what lies inside each of them is parsed and then dropped.
    bool parseByPage(TagNode& root, std::pmr::memory_resource& arena, PageContents& pages);

private:
    // One node whose content is being consumed: body[cur, end) is what is
    // left of it; elementStart is where the element being parsed below it
    // began. Its children wait in the pending list from firstChild on until
    // the node is done, and then move into an array of exactly their number.
    struct Frame {
        TagNode* node;
        std::size_t cur;
        std::size_t end;
        std::size_t elementStart;
        std::size_t firstChild;
        ForwardSearch nextGt{false};
        ForwardSearch nextSingleEnd{true};
    };
    static constexpr std::size_t kNoFrame = static_cast<std::size_t>(-1);

    bool run(TagNode& node, std::size_t begin, std::size_t end);
    // The type of the tag named `name`, as the table has it; null for a name
    // the table does not know.
    KnownType* typeOf(std::string_view name);
    // The element (a tag with children) that begins at the top frame's
    // position: attaches it and pushes its frame, so that its content is
    // parsed next.
    bool parseElement(KnownType& known, std::string_view name);
    // The single tag that begins at the top frame's position.
    bool parseSingleTag(const KnownType& known, std::string_view name);
    // A node for the tag at `tagOffset`, its attributes read from the tag's
    // first tagLength bytes; null after an attribute error.
    TagNode::Child makeChild(const KnownType& known, std::string_view name, TagNode& parent,
                             std::size_t tagOffset, std::size_t tagLength);
    // Where the nodes and arrays made now go: inside a page whose content
    // is dropped, the page contents' scratch arena.
    std::pmr::memory_resource& memoryNow();
    // Paged parses only: notes what a new node means for the page contents.
    void notePaged(TagNode::Child& child);
    void finishTop();
    bool fail();

    const TagTypeTable& m_table;
    platform::Messages& m_messages;
    const SourceFile* m_source;
    bool m_warnRemovedBlanks;

    // The parse under way.
    std::string_view m_body;
    std::pmr::memory_resource* m_arena = nullptr;
    EndTagIndex m_endTags;
    // The types met so far; a deque keeps their addresses as it grows.
    std::deque<KnownType> m_known;
    // The type last met for each shape (length and first byte) of a name.
    static constexpr std::size_t kShapes = 64;
    static constexpr std::size_t kShapeStride = 7;
    std::array<KnownType*, kShapes> m_byShape{};
    std::vector<Frame> m_stack;
    std::vector<TagNode::Child> m_pending;

    // A paged parse: the pages, the first body tag once met, the frame of
    // the page whose content is being parsed (kNoFrame outside pages), and
    // whether a node without an id has been made.
    PageContents* m_pages = nullptr;
    TagNode* m_firstBody = nullptr;
    std::size_t m_pageFrame = kNoFrame;
    bool m_idlessSeen = false;
};

} // namespace orvo::markup
