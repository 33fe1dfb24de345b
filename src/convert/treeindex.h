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
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvo::markup {
struct SourceFile;
class TagNode;
} // namespace orvo::markup

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
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const
        {
            return std::hash<std::string_view>{}(text);
        }
    };

    std::unordered_map<std::string, markup::TagNode*, Hash, std::equal_to<>> m_byId;
    markup::TagNode* m_agent = nullptr;
    const markup::SourceFile* m_source = nullptr;
};

} // namespace orvo::convert
