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
    // One place of the id table: a node and its id, or no node when free.
    struct Slot {
        std::string_view id;
        markup::TagNode* node = nullptr;
        std::size_t hash = 0;
    };

    static std::size_t hashOf(std::string_view id);
    // The slot that holds id (whose hash is given), or the free one where it
    // would go.
    std::size_t slotOf(std::string_view id, std::size_t hash) const;
    // Adds the node under id unless a node holds that id already.
    void add(std::string_view id, markup::TagNode* node);

    // The ids are views of the nodes' own values, which stay while the index
    // is in use. Open addressing, never more than half full: a presentation
    // has an id on every page, and a table in one array costs no allocation
    // per id.
    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
    markup::TagNode* m_agent = nullptr;
    const markup::SourceFile* m_source = nullptr;
};

} // namespace orvo::convert
