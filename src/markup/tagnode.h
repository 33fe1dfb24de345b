#pragma once

// One tag of a markup document. A node owns its children; `parent` is a plain
// back pointer. Every walk over the tree (searches, destruction) uses an
// explicit stack, so a tree nested tens of thousands of levels deep is safe.
//
// Strings are bytes in the active code page; names and attribute values are
// compared byte for byte, case-sensitively.
//
// A parsed document has a node for every tag, so a node is kept small: the
// nodes, their child and attribute arrays and the bytes they own come from
// one arena of the root, names point to one interned copy, and texts and
// plain attribute values are views into the root's body.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

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

    // The children of a node in document order, as an array that the node
    // owns; the node stays their owner.
    class Children {
    public:
        using value_type = Child;
        using const_iterator = const Child*;
        using const_reverse_iterator = std::reverse_iterator<const Child*>;

        const Child* begin() const { return m_data; }
        const Child* end() const { return m_data + m_size; }
        const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
        const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }
        std::size_t size() const { return m_size; }
        bool empty() const { return m_size == 0; }
        const Child& operator[](std::size_t i) const { return m_data[i]; }
        // Throws std::out_of_range past the end, as a vector's does.
        const Child& at(std::size_t i) const;
        const Child& front() const { return m_data[0]; }
        const Child& back() const { return m_data[m_size - 1]; }

    private:
        friend class TagNode;
        friend class TagNodeBuilder;
        Child* m_data = nullptr;
        std::uint32_t m_size = 0;
    };

    // The node owns a copy of its content (the document body, for a root);
    // the nodes that the parser makes below it hold views into it.
    TagNode(const std::string& name, std::int32_t level, std::string content, TagNode* parent);
    ~TagNode();
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
    // Out of line: callers that know the node has children dereference the
    // answer, which an inlined null branch makes GCC warn about.
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
    // An attribute name held as its interned copy, for walks that ask many
    // nodes for the same attribute: every attribute of a node is named by an
    // interned name, so a lookup by key compares addresses only.
    class AttributeKey {
    public:
        explicit AttributeKey(std::string_view name) : m_name(&internName(name)) {}

    private:
        friend class TagNode;
        const std::string* m_name;
    };
    const std::string_view* attribute(AttributeKey key) const
    {
        for (std::uint32_t i = 0; i < m_attributeCount; ++i) {
            if (m_attributes[i].name == key.m_name) {
                return &m_attributes[i].value;
            }
        }
        return nullptr;
    }
    std::size_t attributeCount() const { return m_attributeCount; }

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
    // The same, with the walk's stack kept by the caller.
    void collectActions(std::vector<TagNode*>& actions, std::vector<TagNode*>& stack);

    static bool isActionName(std::string_view name);

    // A name kept for the whole run: node names are few (the tag type
    // table's), so each node holds a pointer instead of a copy.
    static const std::string& internName(std::string_view name);

    // Sets a text of the node's own (a copy).
    void setText(std::string_view text);
    // Attaches a node made outside the parser; the node takes it over.
    TagNode& appendChild(std::unique_ptr<TagNode> child);
    // Where the node's tag begins in the document body (its "<"), so that
    // messages about it can name its line and column; kNoOffset for a node
    // that the parser did not make.
    static constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);
    std::size_t sourceOffset() const;

private:
    // The name points to an interned name; the value is a view into the
    // body or into bytes of the arena.
    struct Attribute {
        const std::string* name;
        std::string_view value;
    };
    // What few nodes need: the content a node was made with or that a failed
    // parse left in it, the arena of the nodes parsed below a root, and the
    // children attached from outside the parser.
    struct Extra {
        std::string ownContent;
        // The bytes a reader handed over whole; the content lies inside them.
        platform::ByteStorage ownBytes;
        std::string_view content;
        std::unique_ptr<std::pmr::monotonic_buffer_resource> arena;
        std::vector<Child> attached;
        // The offset of a tag too far into a body for the node's own field.
        std::size_t wideOffset = kNoOffset;
        // A root's page whose tags were parsed again for a while, and the
        // memory they were made in: changes to those tags go there too, so
        // that the root's arena does not grow page after page.
        const TagNode* openPage = nullptr;
        std::pmr::memory_resource* openPageMemory = nullptr;
    };
    friend struct TagNodeDeleter;
    friend class TagNodeBuilder;

    // A node without content of its own, named by a name from internName.
    TagNode(const std::string& internedName, std::int32_t level, TagNode* parent);

    template <typename Match> TagNode* findPreOrder(Match match);
    const Attribute* findAttribute(std::string_view name) const;
    Extra& extra();
    // The arena of the nodes parsed below this one, made on first use with
    // a first block of firstBlock bytes, its large blocks offered to huge
    // pages or not; it lives as long as this node, and nodes made in it are
    // destroyed before it goes.
    std::pmr::memory_resource& nodeArena(std::size_t firstBlock, bool hugePages = true);
    // A parse starts with a block sized for a small document (the pages of
    // a block that are never used cost no memory); a node built by hand
    // keeps a few values.
    static constexpr std::size_t kParseBlock = std::size_t{1} << 16;
    // A parsed tree takes two to three bytes of arena for each byte of its
    // markup (a node, its attribute and child arrays for each tag).
    static constexpr std::size_t kArenaBytesPerContentByte = 3;
    static constexpr std::size_t kValueBlock = 256;
    // Where this node's arrays and bytes come from: the arena of the node
    // whose parse made it, or its own.
    std::pmr::memory_resource& memory();
    Child makeArenaChild(const std::string& internedName, std::int32_t level, TagNode* parent);
    // A node made in `memory`, an arena that outlives it, not yet attached.
    static Child makeNodeIn(std::pmr::memory_resource& memory, const std::string& internedName,
                            std::int32_t level, TagNode* parent);
    // Destroys every child and its subtree, with `pending` as the walk's
    // stack (left empty, its room kept); everything else stays, the
    // hasChildren flag included.
    void dropChildren(std::vector<Child>& pending);
    // Room for `count` attributes in all, the present ones kept.
    void reserveAttributes(std::pmr::memory_resource& memory, std::size_t count);
    void addAttribute(std::pmr::memory_resource& memory, const std::string& name,
                      std::string_view value);
    // setAttribute with the copy of the value kept in memory.
    void setAttributeIn(std::pmr::memory_resource& memory, const std::string& internedName,
                        std::string_view value);
    // Moves every child out into `out`, leaving none.
    void takeChildren(std::vector<Child>& out);
    void setSourceOffset(std::size_t offset);

    // The source offset in 32 bits, with two values kept for no offset and
    // for one that lies in Extra: a body of 4 GiB or more is rare, a node
    // for every tag is not.
    static constexpr std::uint32_t kNoOffset32 = 0xFFFFFFFFU;
    static constexpr std::uint32_t kWideOffset32 = 0xFFFFFFFEU;

    const std::string* m_name;
    TagNode* m_parent;
    // No unique address: the offset below fills the padding behind the
    // children's 32-bit count.
    [[no_unique_address]] Children m_children;
    std::uint32_t m_sourceOffset = kNoOffset32;
    Attribute* m_attributes = nullptr;
    std::string_view m_text;
    std::unique_ptr<Extra> m_extra;
    std::int32_t m_level;
    std::uint32_t m_attributeCount = 0;
    std::uint32_t m_attributeCapacity = 0;
    bool m_hasText = false;
    bool m_hasChildren = false;
    bool m_inArena = false;
};

} // namespace orvo::markup
