#pragma once

// The pages of a document that is parsed page by page. A conversion needs the
// tags of one page at a time, and a large presentation's tags take twice the
// memory of its markup: so the parse of the whole document (which checks
// every tag and shows every message) keeps the page tags, the children of the
// first "body" tag, with their attributes and text, and drops what lies
// inside each page as soon as the page has been parsed. `open` parses a page
// again right before it is converted, `close` drops its tags afterwards.
//
// The parse is the same for the same bytes, and a page's content is closed
// (every search of the parser stops at its end), so an opened page has
// exactly the tags it had in the first parse, with the same positions; its
// messages were shown then and are not shown again.
//
// Lookups over the tree (an id, the agent tag) may answer a tag inside a
// page. The contents keep a copy of each such tag: `keptIn` gives them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <span>
#include <string_view>
#include <vector>

#include "markup/tagnode.h"

namespace orvo::platform {
class Messages;
}

namespace orvo::markup {

class ContentParser;
class TagTypeTable;

class PageContents {
public:
    // The table must outlive the contents.
    explicit PageContents(const TagTypeTable& table);
    ~PageContents();
    PageContents(const PageContents&) = delete;
    PageContents& operator=(const PageContents&) = delete;

    // The first "body" tag, whose children are the pages; null when the
    // document has none.
    const TagNode* body() const { return m_bodyTag; }
    std::size_t pageCount() const { return m_pages.size(); }
    // The copies that keptIn gives, of all pages.
    std::size_t keptCount() const { return m_kept.size(); }

    // Copies of the tags inside page `index` (0-based) that a lookup may
    // answer, in document order: every tag with an id, every "agent" tag,
    // and the first tag without an id when every tag before it had one. A
    // copy has the tag's name, level, position and attributes, no text nor
    // children, and the page as its parent.
    std::span<const TagNode::Child> keptIn(std::size_t index) const;

    // Gives `page`, page `index` of the body, the tags inside it again.
    void open(std::size_t index, TagNode& page);
    // Drops the tags inside `page` again.
    void close(TagNode& page);

private:
    friend class ContentParser;

    // Where a page's content lies in the body.
    struct Page {
        std::size_t begin;
        std::size_t end;
    };

    // The first parse's calls: the document's body bytes and first body
    // tag, each page's content as body[begin, end), in order, and the copies
    // of the tags that lookups may answer.
    void setBody(TagNode& root, std::string_view bodyText, TagNode& bodyTag);
    void addPage(std::size_t begin, std::size_t end);
    // Keeps a copy of a tag inside the last page added, made in keptMemory().
    void keep(TagNode::Child copy);
    std::pmr::memory_resource& keptMemory() { return m_keptMemory; }
    // The last page added has been parsed: its tags are dropped.
    void endPage(TagNode& page) { close(page); }
    // Where the tags inside the page being parsed are made.
    std::pmr::memory_resource& scratch() { return m_scratch; }

    const TagTypeTable& m_table;
    TagNode* m_root = nullptr;
    std::string_view m_bodyText;
    TagNode* m_bodyTag = nullptr;
    std::vector<Page> m_pages;
    // The kept copies in document order, and the index of the page of each;
    // the copies live in memory of their own, so that they may go before or
    // after the tree.
    std::pmr::monotonic_buffer_resource m_keptMemory;
    std::vector<TagNode::Child> m_kept;
    std::vector<std::size_t> m_keptPages;

    // A page's tags are made in a block kept from page to page; only a
    // page larger than it allocates, and gives it back when it is closed.
    std::vector<std::byte> m_firstBlock;
    std::pmr::monotonic_buffer_resource m_scratch;
    std::vector<TagNode::Child> m_dropping;
    // The parse of single pages, made on the first open; its messages are
    // dropped.
    std::unique_ptr<platform::Messages> m_quiet;
    std::unique_ptr<ContentParser> m_parser;
};

} // namespace orvo::markup
