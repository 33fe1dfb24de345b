#include "markup/tagnode.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>
#include <stdexcept>
#include <sys/mman.h>
#include <unordered_set>
#include <utility>

namespace orvo::markup {

// A parsed document has a node for every tag: keep the node at ten words on
// a 64-bit machine.
static_assert(sizeof(void*) != 8 || sizeof(TagNode) <= 80);

namespace {

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const
    {
        return std::hash<std::string_view>()(name);
    }
};

} // namespace

const std::string& TagNode::internName(std::string_view name)
{
    // Never shrinks: the names are the tag type table's and a few more, and
    // a node may point at its name for as long as the program runs. Set
    // nodes keep their addresses while the set grows.
    static std::mutex lock;
    static std::unordered_set<std::string, NameHash, std::equal_to<>> names;
    const std::lock_guard<std::mutex> guard(lock);
    const auto found = names.find(name);
    if (found != names.end()) {
        return *found;
    }
    return *names.emplace(name).first;
}

TagNode::TagNode(const std::string& name, std::int32_t level, std::string content, TagNode* parent)
    : m_name(&internName(name)), m_parent(parent), m_level(level)
{
    if (!content.empty()) {
        Extra& own = extra();
        own.ownContent = std::move(content);
        own.content = own.ownContent;
    }
}

TagNode::TagNode(const std::string& internedName, std::int32_t level, TagNode* parent)
    : m_name(&internedName), m_parent(parent), m_level(level)
{
}

void TagNodeDeleter::operator()(TagNode* node) const
{
    if (node->m_inArena) {
        node->~TagNode(); // the arena's owner frees the memory
    } else {
        delete node;
    }
}

const TagNode::Child& TagNode::Children::at(std::size_t i) const
{
    if (i >= m_size) {
        throw std::out_of_range("TagNode::Children::at");
    }
    return m_data[i];
}

TagNode::Extra& TagNode::extra()
{
    if (!m_extra) {
        m_extra = std::make_unique<Extra>();
    }
    return *m_extra;
}

namespace {

// Where the arenas get their blocks. The arena of a large document grows to
// megabytes that are touched page by page as nodes are made: a block of
// 2 MiB or more is aligned to 2 MiB and offered to the system's transparent
// huge pages, so that it costs a few page faults instead of hundreds.
// Smaller blocks come from the heap as they always did. A huge page is
// resident as a whole once touched, which a tree that is only partly kept
// pays for in memory: its arena asks for plain pages.
class BlockSource final : public std::pmr::memory_resource {
public:
    static constexpr std::size_t kLargeBlock = std::size_t{2} << 20;

    explicit BlockSource(bool hugePages) : m_hugePages(hugePages) {}

private:
    static std::size_t largeSize(std::size_t bytes)
    {
        return (bytes + kLargeBlock - 1) / kLargeBlock * kLargeBlock;
    }

    void* do_allocate(std::size_t bytes, std::size_t alignment) override
    {
        if (bytes < kLargeBlock || alignment > kLargeBlock || !m_hugePages) {
            return std::pmr::new_delete_resource()->allocate(bytes, alignment);
        }
        const std::size_t size = largeSize(bytes);
        void* block = std::aligned_alloc(kLargeBlock, size);
        if (block == nullptr) {
            throw std::bad_alloc();
        }
#ifdef MADV_HUGEPAGE
        // Only a hint: without huge pages the block is paged as usual.
        (void)::madvise(block, size, MADV_HUGEPAGE);
#endif
        return block;
    }

    void do_deallocate(void* block, std::size_t bytes, std::size_t alignment) override
    {
        if (bytes < kLargeBlock || alignment > kLargeBlock || !m_hugePages) {
            std::pmr::new_delete_resource()->deallocate(block, bytes, alignment);
        } else {
            std::free(block); // NOLINT(cppcoreguidelines-no-malloc): aligned_alloc's
        }
    }

    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override
    {
        return this == &other;
    }

    bool m_hugePages;
};

// One source for the whole run, never destroyed: an arena may be freed at
// any point of the program's exit.
std::pmr::memory_resource& blockSource(bool hugePages)
{
    static BlockSource* const huge = new BlockSource(true);
    static BlockSource* const plain = new BlockSource(false);
    return hugePages ? *huge : *plain;
}

} // namespace

std::pmr::memory_resource& TagNode::nodeArena(std::size_t firstBlock, bool hugePages)
{
    Extra& own = extra();
    if (!own.arena) {
        own.arena = std::make_unique<std::pmr::monotonic_buffer_resource>(firstBlock,
                                                                          &blockSource(hugePages));
    }
    return *own.arena;
}

std::pmr::memory_resource& TagNode::memory()
{
    // Arena nodes lie below the node whose parse made them: the first
    // ancestor that is not in an arena. Only a node's own attribute and text
    // changes ask, a handful per page.
    TagNode* owner = this;
    while (owner->m_inArena && owner->m_parent != nullptr) {
        owner = owner->m_parent;
    }
    // The tags of a page parsed again live in the page's memory, and so do
    // their changes; the page's own attributes stay with the root.
    if (owner->m_extra && owner->m_extra->openPage != nullptr) {
        for (const TagNode* node = m_parent; node != nullptr; node = node->m_parent) {
            if (node == owner->m_extra->openPage) {
                return *owner->m_extra->openPageMemory;
            }
        }
    }
    return owner->nodeArena(kValueBlock);
}

TagNode::Child TagNode::makeArenaChild(const std::string& internedName, std::int32_t level,
                                       TagNode* parent)
{
    return makeNodeIn(nodeArena(kParseBlock), internedName, level, parent);
}

TagNode::Child TagNode::makeNodeIn(std::pmr::memory_resource& memory,
                                   const std::string& internedName, std::int32_t level,
                                   TagNode* parent)
{
    void* place = memory.allocate(sizeof(TagNode), alignof(TagNode));
    auto* node = new (place) TagNode(internedName, level, parent);
    node->m_inArena = true;
    return Child(node);
}

TagNode::~TagNode()
{
    clear();
}

void TagNode::takeChildren(std::vector<Child>& out)
{
    for (std::uint32_t i = 0; i < m_children.m_size; ++i) {
        out.push_back(std::move(m_children.m_data[i]));
    }
    m_children.m_size = 0;
    if (m_extra) {
        m_extra->attached.clear();
    }
}

void TagNode::clear()
{
    m_attributeCount = 0;
    std::vector<Child> pending;
    dropChildren(pending);
}

void TagNode::dropChildren(std::vector<Child>& pending)
{
    // Destroy the subtree without recursion: take the children of each node
    // before it is destroyed, so no destructor has a child left to free.
    takeChildren(pending);
    while (!pending.empty()) {
        Child node = std::move(pending.back());
        pending.pop_back();
        node->takeChildren(pending);
    }
}

std::size_t TagNode::sourceOffset() const
{
    if (m_sourceOffset == kWideOffset32) {
        return m_extra->wideOffset;
    }
    return m_sourceOffset == kNoOffset32 ? kNoOffset : m_sourceOffset;
}

void TagNode::setSourceOffset(std::size_t offset)
{
    if (offset == kNoOffset) {
        m_sourceOffset = kNoOffset32;
    } else if (offset < kWideOffset32) {
        m_sourceOffset = static_cast<std::uint32_t>(offset);
    } else {
        extra().wideOffset = offset;
        m_sourceOffset = kWideOffset32;
    }
}

const TagNode::Children* TagNode::getChildren() const
{
    return m_hasChildren ? &m_children : nullptr;
}

std::string_view TagNode::content() const
{
    return m_extra ? m_extra->content : std::string_view();
}

const TagNode::Attribute* TagNode::findAttribute(std::string_view name) const
{
    // Attribute names differ mostly in length or first letter: both are
    // compared before the bytes.
    for (std::uint32_t i = 0; i < m_attributeCount; ++i) {
        const std::string& held = *m_attributes[i].name;
        if (held.size() == name.size() &&
            (name.empty() || (held.front() == name.front() && held == name))) {
            return &m_attributes[i];
        }
    }
    return nullptr;
}

std::string TagNode::getAttribute(std::string_view name) const
{
    return std::string(attributeView(name));
}

std::string_view TagNode::attributeView(std::string_view name) const
{
    const Attribute* attribute = findAttribute(name);
    return attribute == nullptr ? std::string_view() : attribute->value;
}

namespace {

// A copy of bytes in memory that lives as long as the tree.
std::string_view copyInto(std::pmr::memory_resource& memory, std::string_view bytes)
{
    if (bytes.empty()) {
        return {};
    }
    auto* copy = static_cast<char*>(memory.allocate(bytes.size(), 1));
    std::char_traits<char>::copy(copy, bytes.data(), bytes.size());
    return {copy, bytes.size()};
}

} // namespace

void TagNode::reserveAttributes(std::pmr::memory_resource& memory, std::size_t count)
{
    if (count <= m_attributeCapacity) {
        return;
    }
    auto* grown =
        static_cast<Attribute*>(memory.allocate(count * sizeof(Attribute), alignof(Attribute)));
    std::uninitialized_copy_n(m_attributes, m_attributeCount, grown);
    m_attributes = grown; // the old array stays in the arena, unused
    m_attributeCapacity = static_cast<std::uint32_t>(count);
}

void TagNode::addAttribute(std::pmr::memory_resource& memory, const std::string& name,
                           std::string_view value)
{
    if (m_attributeCount == m_attributeCapacity) {
        // A parsed node's array has room for what its tag holds; one more
        // (a page's file name) costs one slot, a node built by hand doubles.
        reserveAttributes(memory,
                          m_inArena ? m_attributeCount + std::size_t{1}
                                    : std::max<std::size_t>(4, std::size_t{2} * m_attributeCount));
    }
    new (&m_attributes[m_attributeCount++]) Attribute{&name, value};
}

void TagNode::setAttributeIn(std::pmr::memory_resource& memory, const std::string& internedName,
                             std::string_view value)
{
    const std::string_view stored = copyInto(memory, value);
    for (std::uint32_t i = 0; i < m_attributeCount; ++i) {
        if (m_attributes[i].name == &internedName) {
            m_attributes[i].value = stored;
            return;
        }
    }
    addAttribute(memory, internedName, stored);
}

void TagNode::setAttribute(std::string_view name, std::string_view value)
{
    setAttributeIn(memory(), internName(name), value);
}

template <typename Match> TagNode* TagNode::findPreOrder(Match match)
{
    std::vector<TagNode*> stack{this};
    while (!stack.empty()) {
        TagNode* node = stack.back();
        stack.pop_back();
        if (match(*node)) {
            return node;
        }
        if (node->m_hasChildren) {
            for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
                stack.push_back(it->get());
            }
        }
    }
    return nullptr;
}

TagNode* TagNode::findByName(std::string_view name)
{
    return findPreOrder([name](const TagNode& node) { return *node.m_name == name; });
}

TagNode* TagNode::findById(std::string_view id)
{
    return findPreOrder([id](const TagNode& node) { return node.attributeView("id") == id; });
}

TagNode* TagNode::findAncestorOrSelf(std::string_view name)
{
    for (TagNode* node = this; node != nullptr; node = node->m_parent) {
        if (*node->m_name == name) {
            return node;
        }
    }
    return nullptr;
}

bool TagNode::isActionName(std::string_view name)
{
    return name == "play" || name == "speak" || name == "move" || name == "listen" ||
           name == "jump";
}

void TagNode::collectActions(std::vector<TagNode*>& actions)
{
    std::vector<TagNode*> stack;
    collectActions(actions, stack);
}

void TagNode::collectActions(std::vector<TagNode*>& actions, std::vector<TagNode*>& stack)
{
    stack.assign(1, this);
    while (!stack.empty()) {
        TagNode* node = stack.back();
        stack.pop_back();
        if (isActionName(*node->m_name)) {
            actions.push_back(node);
            continue;
        }
        if (node->m_hasChildren) {
            for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
                stack.push_back(it->get());
            }
        }
    }
}

void TagNode::setText(std::string_view text)
{
    m_text = copyInto(memory(), text);
    m_hasText = true;
}

TagNode& TagNode::appendChild(std::unique_ptr<TagNode> child)
{
    // Children attached by hand live in a vector of the node's own; any that
    // the parser attached move there first.
    std::vector<Child>& attached = extra().attached;
    if (attached.empty()) {
        for (std::uint32_t i = 0; i < m_children.m_size; ++i) {
            attached.push_back(std::move(m_children.m_data[i]));
        }
    }
    attached.push_back(Child(child.release()));
    m_children.m_data = attached.data();
    m_children.m_size = static_cast<std::uint32_t>(attached.size());
    m_hasChildren = true;
    return *attached.back();
}

} // namespace orvo::markup
