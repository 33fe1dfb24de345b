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

namespace orvo::convert {

class TreeIndex {
public:
    // `source`, when given, is the markup file of the tree, for messages
    // about its tags.
    explicit TreeIndex(markup::TagNode& root, const markup::SourceFile* source = nullptr);

    // The first node in pre-order whose "id" (empty when absent) equals id; the
    // empty id therefore finds the first node without one, normally the root.
    // Null when nothing matches.
    markup::TagNode* findById(std::string_view id) const;
    // The first "agent" tag in pre-order, or null.
    markup::TagNode* agent() const { return m_agent; }
    const markup::SourceFile* source() const { return m_source; }

private:
    // A node under its id.
    struct Entry {
        std::string_view id;
        markup::TagNode* node;
    };

    static std::size_t hashOf(std::string_view id);
    // The slot that holds id (whose hash is given), or the free one where it
    // would go.
    std::size_t slotOf(std::string_view id, std::size_t hash) const;
    // Adds the node under id unless a node holds that id already.
    void add(std::string_view id, markup::TagNode* node);

    // The ids are views of the nodes' own values, which stay while the index
    // is in use. The entries lie in one array, found through an open-addressed
    // table of their indexes plus one (0 for a free slot), never more than
    // half full: a presentation has an id on every page, and this costs no
    // allocation per id and a few bytes per slot.
    std::vector<Entry> m_entries;
    std::vector<std::uint32_t> m_slots;
    markup::TagNode* m_agent = nullptr;
    const markup::SourceFile* m_source = nullptr;
};

} // namespace orvo::convert
