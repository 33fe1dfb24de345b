#include "convert/treeindex.h"

#include "markup/pagecontents.h"
#include "markup/tagnode.h"
#include "platform/shorthash.h"

#include <cstdint>
#include <vector>

namespace orvo::convert {

namespace {

// The table starts with room for a small presentation's ids.
constexpr std::size_t kFirstSlots = 256;

} // namespace

TreeIndex::TreeIndex(markup::TagNode& root, const markup::SourceFile* source,
                     const markup::PageContents* pages)
    : m_idKey("id"), m_slots(kFirstSlots), m_source(source)
{
    // The pages of a tree parsed by page come in order; the kept copies of
    // the tags inside a page stand where those tags would come, right
    // behind the page.
    const markup::TagNode* body = pages == nullptr ? nullptr : pages->body();
    if (body != nullptr) {
        // Nearly every page has an id; the others are few.
        reserve(pages->pageCount() + pages->keptCount() + kFirstSlots / 2);
    }
    // Pre-order with an explicit stack (children pushed in reverse), the same
    // order as the tree's own searches; only the first node per id is kept.
    std::vector<markup::TagNode*> stack{&root};
    // Every node's name is an interned copy: one name, one address.
    const std::string* const agentName = &markup::TagNode::internName("agent");
    const auto visit = [this, agentName](markup::TagNode* node) {
        // Most nodes have no id: only the first of them is looked up.
        const std::string_view* id = node->attribute(m_idKey);
        if (id != nullptr && !id->empty()) {
            add(*id, node);
        } else if (m_idless == nullptr) {
            m_idless = node;
        }
        if (m_agent == nullptr && &node->name() == agentName) {
            m_agent = node;
        }
    };
    std::size_t page = 0;
    while (!stack.empty()) {
        markup::TagNode* node = stack.back();
        stack.pop_back();
        visit(node);
        if (body != nullptr && node->getParent() == body && page < pages->pageCount()) {
            for (const markup::TagNode::Child& kept : pages->keptIn(page)) {
                visit(kept.get());
            }
            ++page;
        }
        if (const auto* children = node->getChildren()) {
            for (auto it = children->rbegin(); it != children->rend(); ++it) {
                stack.push_back(it->get());
            }
        }
    }
}

std::size_t TreeIndex::hashOf(std::string_view id)
{
    return platform::shortTextHash(id);
}

std::string_view TreeIndex::idOf(const markup::TagNode& node) const
{
    const std::string_view* id = node.attribute(m_idKey);
    return id == nullptr ? std::string_view() : *id;
}

std::size_t TreeIndex::slotOf(std::string_view id, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = m_slots[slot];
        if (held == 0 || (m_hashes[held - 1] == static_cast<std::uint32_t>(hash) &&
                          idOf(*m_nodes[held - 1]) == id)) {
            return slot;
        }
    }
}

void TreeIndex::reserve(std::size_t ids)
{
    m_nodes.reserve(ids);
    m_hashes.reserve(ids);
    std::size_t slots = m_slots.size();
    while (slots < ids * 2) {
        slots *= 2;
    }
    if (slots == m_slots.size()) {
        return;
    }
    // The ids are all different: each goes to the first free slot from its
    // hash.
    m_slots.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        std::size_t slot = m_hashes[i] & mask;
        while (m_slots[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        m_slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

void TreeIndex::add(std::string_view id, markup::TagNode* node)
{
    const std::size_t hash = hashOf(id);
    std::uint32_t& slot = m_slots[slotOf(id, hash)];
    if (slot != 0) {
        return; // the first node in pre-order keeps the id
    }
    m_nodes.push_back(node);
    m_hashes.push_back(static_cast<std::uint32_t>(hash));
    slot = static_cast<std::uint32_t>(m_nodes.size());
    if (m_nodes.size() * 2 > m_slots.size()) {
        reserve(m_slots.size()); // twice the slots
    }
}

markup::TagNode* TreeIndex::findById(std::string_view id) const
{
    if (id.empty()) {
        return m_idless;
    }
    const std::uint32_t held = m_slots[slotOf(id, hashOf(id))];
    return held == 0 ? nullptr : m_nodes[held - 1];
}

} // namespace orvo::convert
