#include "markup/tagnode.h"

#include <utility>

namespace orvo::markup {

TagNode::TagNode(std::string name, std::int32_t level, std::string content, TagNode* parent)
    : m_name(std::move(name)), m_level(level), m_parent(parent)
{
    if (!content.empty()) {
        m_contentLength = content.size();
        m_contentBuffer = std::make_shared<const std::string>(std::move(content));
    }
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
    Children pending = std::move(m_children);
    m_children.clear();
    while (!pending.empty()) {
        std::unique_ptr<TagNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->m_children) {
            pending.push_back(std::move(child));
        }
        node->m_children.clear();
    }
}

const TagNode::Children* TagNode::getChildren() const
{
    return m_hasChildren != 0 ? &m_children : nullptr;
}

const std::string* TagNode::findAttribute(std::string_view name) const
{
    for (const auto& [key, value] : m_attributes) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

std::string TagNode::getAttribute(const std::string& name) const
{
    const std::string* value = findAttribute(name);
    return value == nullptr ? std::string() : *value;
}

void TagNode::setAttribute(const std::string& name, const std::string& value)
{
    for (auto& [key, stored] : m_attributes) {
        if (key == name) {
            stored = value;
            return;
        }
    }
    m_attributes.emplace_back(name, value);
}

std::string_view TagNode::content() const
{
    if (!m_contentBuffer) {
        return {};
    }
    return std::string_view(*m_contentBuffer).substr(m_contentBegin, m_contentLength);
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
        if (node->m_hasChildren != 0) {
            for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
                stack.push_back(it->get());
            }
        }
    }
    return nullptr;
}

TagNode* TagNode::findByName(std::string_view name)
{
    return findPreOrder([name](const TagNode& node) { return node.m_name == name; });
}

TagNode* TagNode::findById(std::string_view id)
{
    return findPreOrder([id](const TagNode& node) {
        const std::string* value = node.findAttribute("id");
        return (value == nullptr ? std::string_view() : std::string_view(*value)) == id;
    });
}

TagNode* TagNode::findAncestorOrSelf(std::string_view name)
{
    for (TagNode* node = this; node != nullptr; node = node->m_parent) {
        if (node->m_name == name) {
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
        if (isActionName(node->m_name)) {
            actions.push_back(node);
            continue;
        }
        if (node->m_hasChildren != 0) {
            for (auto it = node->m_children.rbegin(); it != node->m_children.rend(); ++it) {
                stack.push_back(it->get());
            }
        }
    }
}

void TagNode::setText(std::string text)
{
    m_text = std::move(text);
    m_hasText = 1;
}

TagNode& TagNode::appendChild(std::unique_ptr<TagNode> child)
{
    m_children.push_back(std::move(child));
    m_hasChildren = 1;
    return *m_children.back();
}

void TagNode::setContentView(std::shared_ptr<const std::string> buffer, std::size_t begin,
                             std::size_t length)
{
    m_contentBuffer = std::move(buffer);
    m_contentBegin = begin;
    m_contentLength = length;
}

void TagNode::clearContent()
{
    m_contentBuffer.reset();
    m_contentBegin = 0;
    m_contentLength = 0;
}

} // namespace orvo::markup
