#pragma once

// One tag of a markup document. A node owns its children; `parent` is a plain
// back pointer. Every walk over the tree (searches, destruction) uses an
// explicit stack, so a tree nested tens of thousands of levels deep is safe.
//
// Strings are bytes in the active code page; names and attribute values are
// compared byte for byte, case-sensitively.

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo::markup {

class TagNode;

// Frees a node as it was made: the nodes that the parser makes live in an
// arena of the node it parsed and are only destroyed, the others are deleted.
struct TagNodeDeleter {
    void operator()(TagNode* node) const;
};

class TagNode {
public:
    using Child = std::unique_ptr<TagNode, TagNodeDeleter>;
    using Children = std::pmr::vector<Child>;

    // The node owns a copy of its content (the document body, for a root);
    // the nodes that the parser makes below it hold views into it.
    TagNode(const std::string& name, std::int32_t level, std::string content, TagNode* parent);
    virtual ~TagNode();
    TagNode(const TagNode&) = delete;
    TagNode& operator=(const TagNode&) = delete;

    // Removes every attribute and destroys every child. Name, text, the two
    // flags and the content stay as they are.
    void clear();

    const std::string& name() const { return *m_name; }
    std::int32_t level() const { return m_level; }
    std::string text() const { return std::string(m_text); }
    std::string_view textView() const { return m_text; }
    bool hasText() const { return m_hasText; }
    bool hasChildren() const { return m_hasChildren; }
    // The children when at least one was attached, otherwise none (null), not
    // an empty array.
    const Children* getChildren() const;
    TagNode* getParent() const { return m_parent; }

    // A copy of the value; empty when the attribute is absent.
    std::string getAttribute(std::string_view name) const;
    // The value in place, valid while the node and its value stay.
    std::string_view attributeView(std::string_view name) const;
    bool hasAttribute(std::string_view name) const { return findAttribute(name) != nullptr; }
    void setAttribute(std::string_view name, std::string_view value);
    // The value in place, or null when the attribute is absent: for walks
    // that look at many nodes and keep nothing.
    const std::string_view* attribute(std::string_view name) const
    {
        const Attribute* found = findAttribute(name);
        return found == nullptr ? nullptr : &found->value;
    }
    std::size_t attributeCount() const { return m_attributes.size(); }

    // The raw inner markup not yet consumed by the parser (empty after a
    // successful parse). It may be a view into the document body that the
    // root holds, so that no level of a deep tree copies its content.
    std::string_view content() const { return m_content; }

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

    // A name kept for the whole run: node names are few (the tag type
    // table's), so each node holds a pointer instead of a copy.
    static const std::string& internName(std::string_view name);

    // Sets a text of the node's own (a copy).
    void setText(std::string text);
    // Attaches a node made outside the parser; the node takes it over.
    TagNode& appendChild(std::unique_ptr<TagNode> child);
    // Where the node's tag begins in the document body (its "<"), so that
    // messages about it can name its line and column; kNoOffset for a node
    // that the parser did not make.
    static constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
    std::size_t sourceOffset() const { return m_sourceOffset; }

private:
    // A view, or a value of its own when it was set from outside the
    // document or had to be cleaned.
    struct Attribute {
        std::string_view name;
        std::string_view value;
        std::unique_ptr<std::string> owned;
    };
    // Bytes of the node's own: the content it was made with, a text set from
    // outside the document, and the arena of the nodes parsed below it.
    struct Owned {
        std::string content;
        std::string text;
        std::unique_ptr<std::pmr::monotonic_buffer_resource> arena;
    };
    friend struct TagNodeDeleter;
    friend class TagNodeBuilder;

    template <typename Match> TagNode* findPreOrder(Match match);
    const Attribute* findAttribute(std::string_view name) const;
    Owned& owned();
    // A node without content of its own, named by a name from internName,
    // whose lists take their memory from `memory`.
    TagNode(const std::string& internedName, std::int32_t level, TagNode* parent,
            std::pmr::memory_resource* memory);
    TagNode& appendChild(Child child);
    // The arena for the nodes parsed below this one, made on first use; it
    // lives as long as this node, and nodes made in it are destroyed before
    // it goes.
    std::pmr::memory_resource& nodeArena();
    Child makeArenaChild(const std::string& internedName, std::int32_t level, TagNode* parent);

    const std::string* m_name;
    TagNode* m_parent;
    std::int32_t m_level;
    bool m_hasText = false;
    bool m_hasChildren = false;
    bool m_inArena = false;
    // A tag carries a handful of attributes at most (its type's list comes
    // from one short line): a flat list, sized once by the parser.
    std::pmr::vector<Attribute> m_attributes;
    std::string_view m_text;
    std::string_view m_content;
    Children m_children;
    std::unique_ptr<Owned> m_owned;
    std::size_t m_sourceOffset = kNoOffset;
};

} // namespace orvo::markup
