#pragma once

// Lookups over one tag tree that the page generators make again and again: the
// target of a jump or a spot by its "id", and the "agent" tag. The tree is
// walked once when the index is built, so a conversion stays linear in the
// size of the presentation however many pages and jumps it has.
//
// Every answer equals the pre-order search of TagNode::findById and
// TagNode::findByName on the root: the first node in pre-order wins. The index
// holds plain pointers into the tree and must not outlive it; the generators
// never add nodes or change an "id", so it stays valid for a whole conversion.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "convert/forward.h"
#include "markup/tagnode.h"

namespace orvo::convert {

class TreeIndex {
public:
    // `source`, when given, is the markup file of the tree, for messages
    // about its tags. `pages`, when given, holds the tags inside the pages of
    // a tree parsed by page: their kept copies answer in their place.
    explicit TreeIndex(markup::TagNode& root, const markup::SourceFile* source = nullptr,
                       const markup::PageContents* pages = nullptr);

    // The first node in pre-order whose "id" (empty when absent) equals id; the
    // empty id therefore finds the first node without one, normally the root.
    // Null when nothing matches.
    markup::TagNode* findById(std::string_view id) const;
    // The first "agent" tag in pre-order, or null.
    markup::TagNode* agent() const { return m_agent; }
    const markup::SourceFile* source() const { return m_source; }

private:
    static std::size_t hashOf(std::string_view id);
    // The id of a node of the index: every one has one.
    std::string_view idOf(const markup::TagNode& node) const;
    // The slot that holds id (whose hash is given), or the free one where it
    // would go.
    std::size_t slotOf(std::string_view id, std::size_t hash) const;
    // Makes room for `ids` ids in all.
    void reserve(std::size_t ids);
    // Adds the node under its id unless a node holds that id already.
    void add(std::string_view id, markup::TagNode* node);

    // The nodes with an id lie in one array, found through an open-addressed
    // table of their indexes plus one (0 for a free slot), never more than
    // half full: a presentation has an id on every page, and this costs no
    // allocation per id and 20 bytes per id. An id is read from its node
    // only when its hash, kept beside it, is the one looked for.
    markup::TagNode::AttributeKey m_idKey;
    std::vector<markup::TagNode*> m_nodes;
    std::vector<std::uint32_t> m_hashes;
    std::vector<std::uint32_t> m_slots;
    // The first node without an id, which the empty id finds.
    markup::TagNode* m_idless = nullptr;
    markup::TagNode* m_agent = nullptr;
    const markup::SourceFile* m_source = nullptr;
};

} // namespace orvo::convert
