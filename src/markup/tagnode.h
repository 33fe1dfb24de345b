#pragma once

// One tag of a markup document. A node owns its children; `parent` is a plain
// back pointer. Every walk over the tree (searches, destruction) uses an
// explicit stack, so a tree nested tens of thousands of levels deep is safe.
//
// Strings are bytes in the active code page; names and attribute values are
// compared byte for byte, case-sensitively.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo::markup {

class TagNode {
public:
    using Children = std::vector<std::unique_ptr<TagNode>>;

    TagNode(std::string name, std::int32_t level, std::string content, TagNode* parent);
    virtual ~TagNode();
    TagNode(const TagNode&) = delete;
    TagNode& operator=(const TagNode&) = delete;

    // Removes every attribute and destroys every child. Name, text, the two
    // flags and the content stay as they are.
    void clear();

    const std::string& name() const { return m_name; }
    std::int32_t level() const { return m_level; }
    const std::string& text() const { return m_text; }
    bool hasText() const { return m_hasText != 0; }
    bool hasChildren() const { return m_hasChildren != 0; }
    // The children when at least one was attached, otherwise none (null), not
    // an empty array.
    const Children* getChildren() const;
    TagNode* getParent() const { return m_parent; }

    // A copy of the value; empty when the attribute is absent.
    std::string getAttribute(const std::string& name) const;
    // The value itself, or null when the attribute is absent: for walks that
    // look at many nodes and keep nothing.
    const std::string* attribute(std::string_view name) const { return findAttribute(name); }
    void setAttribute(const std::string& name, const std::string& value);
    std::size_t attributeCount() const { return m_attributes.size(); }

    // The raw inner markup not yet consumed by the parser (empty after a
    // successful parse). It may be a view into the document body that the
    // root holds, so that no level of a deep tree copies its content.
    std::string_view content() const;

    // Pre-order, depth first, the node itself first; children are visited only
    // when the hasChildren flag is set. None (null) when nothing matches.
    TagNode* findByName(std::string_view name);
    TagNode* findById(std::string_view id);
    // This node, then its ancestors.
    TagNode* findAncestorOrSelf(std::string_view name);
    // Appends the action tags (play, speak, move, listen, jump) in document
    // order, without descending into an action tag.
    void collectActions(std::vector<TagNode*>& actions);

    static bool isActionName(std::string_view name);

    // Building the tree (the tag parser, and trees made by hand).
    void setText(std::string text);
    TagNode& appendChild(std::unique_ptr<TagNode> child);

    // Where the node's tag begins in the document body (its "<"), so that
    // messages about it can name its line and column; kNoOffset for a node
    // that the parser did not make.
    static constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
    std::size_t sourceOffset() const { return m_sourceOffset; }

private:
    // The raw content and the source offset are the tag parser's business
    // alone (tagnodecontent.h).
    friend class TagNodeContent;
    void setContentView(std::shared_ptr<const std::string> buffer, std::size_t begin,
                        std::size_t length);
    void clearContent();

    template <typename Match> TagNode* findPreOrder(Match match);
    const std::string* findAttribute(std::string_view name) const;

    std::string m_name;
    std::int32_t m_level;
    // A tag carries a handful of attributes at most (its type's list comes from
    // one short line), so a flat list beats a hash map: one allocation per
    // node instead of buckets plus one per attribute.
    std::vector<std::pair<std::string, std::string>> m_attributes;
    TagNode* m_parent;
    std::int32_t m_hasText = 0;
    std::string m_text;
    std::int32_t m_hasChildren = 0;
    Children m_children;
    std::shared_ptr<const std::string> m_contentBuffer;
    std::size_t m_contentBegin = 0;
    std::size_t m_contentLength = 0;
    std::size_t m_sourceOffset = kNoOffset;
};

} // namespace orvo::markup
