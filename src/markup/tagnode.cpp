#include "markup/tagnode.h"

#include <mutex>
#include <unordered_set>
#include <utility>

namespace orvo::markup {

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
        owned().content = std::move(content);
        m_content = m_owned->content;
    }
}

TagNode::TagNode(const std::string& internedName, std::int32_t level, TagNode* parent,
                 std::pmr::memory_resource* memory)
    : m_name(&internedName), m_parent(parent), m_level(level), m_attributes(memory),
      m_children(memory)
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

std::pmr::memory_resource& TagNode::nodeArena()
{
    Owned& own = owned();
    if (!own.arena) {
        // Blocks grow from a first one sized for a small document; the pages
        // of a block that are never used cost no memory.
        own.arena = std::make_unique<std::pmr::monotonic_buffer_resource>(std::size_t{1} << 16);
    }
    return *own.arena;
}

TagNode::Child TagNode::makeArenaChild(const std::string& internedName, std::int32_t level,
                                       TagNode* parent)
{
    std::pmr::memory_resource& arena = nodeArena();
    void* place = arena.allocate(sizeof(TagNode), alignof(TagNode));
    auto* node = new (place) TagNode(internedName, level, parent, &arena);
    node->m_inArena = true;
    return Child(node);
}

TagNode::Owned& TagNode::owned()
{
    if (!m_owned) {
        m_owned = std::make_unique<Owned>();
    }
    return *m_owned;
}

TagNode::~TagNode()
{
    clear();
}

void TagNode::clear()
{
    m_attributes.clear();
    // Destroy the subtree without recursion: detach the grandchildren of each
    // node before it is destroyed, so no destructor has a child left to free.
    std::vector<Child> pending;
    pending.reserve(m_children.size());
    for (Child& child : m_children) {
        pending.push_back(std::move(child));
    }
    m_children.clear();
    while (!pending.empty()) {
        Child node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children) {
            pending.push_back(std::move(child));
        }
        node->m_children.clear();
    }
}

const TagNode::Children* TagNode::getChildren() const
{
    return m_hasChildren ? &m_children : nullptr;
}

const TagNode::Attribute* TagNode::findAttribute(std::string_view name) const
{
    for (const Attribute& attribute : m_attributes) {
        if (attribute.name == name) {
            return &attribute;
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

void TagNode::setAttribute(std::string_view name, std::string_view value)
{
    auto owned = std::make_unique<std::string>(value);
    for (Attribute& attribute : m_attributes) {
        if (attribute.name == name) {
            attribute.value = *owned;
            attribute.owned = std::move(owned);
            return;
        }
    }
    const std::string_view stored = *owned;
    m_attributes.push_back(Attribute{internName(name), stored, std::move(owned)});
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
    std::vector<TagNode*> stack{this};
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

void TagNode::setText(std::string text)
{
    owned().text = std::move(text);
    m_text = m_owned->text;
    m_hasText = true;
}

TagNode& TagNode::appendChild(std::unique_ptr<TagNode> child)
{
    m_children.push_back(Child(child.release()));
    m_hasChildren = true;
    return *m_children.back();
}

TagNode& TagNode::appendChild(Child child)
{
    m_children.push_back(std::move(child));
    m_hasChildren = true;
    return *m_children.back();
}

} // namespace orvo::markup
