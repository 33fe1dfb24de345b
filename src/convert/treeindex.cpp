#include "convert/treeindex.h"

#include "markup/tagnode.h"
#include "platform/shorthash.h"

#include <cstdint>
#include <vector>

namespace orvo::convert {

namespace {

// The table starts with room for a small presentation's ids.
constexpr std::size_t kFirstSlots = 256;

} // namespace

TreeIndex::TreeIndex(markup::TagNode& root, const markup::SourceFile* source)
    : m_slots(kFirstSlots), m_source(source)
{
    // Pre-order with an explicit stack (children pushed in reverse), the same
    // order as the tree's own searches; only the first node per id is kept.
    std::vector<markup::TagNode*> stack{&root};
    bool emptyIdTaken = false;
    const markup::TagNode::AttributeKey idKey("id");
    while (!stack.empty()) {
        markup::TagNode* node = stack.back();
        stack.pop_back();
        // Most nodes have no id: only the first of them is looked up.
        const std::string_view* id = node->attribute(idKey);
        if (id != nullptr && !id->empty()) {
            add(*id, node);
        } else if (!emptyIdTaken) {
            add(std::string_view(), node);
            emptyIdTaken = true;
        }
        if (m_agent == nullptr && node->name() == "agent") {
            m_agent = node;
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

std::size_t TreeIndex::slotOf(std::string_view id, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = m_slots[slot];
        if (held == 0 || m_entries[held - 1].id == id) {
            return slot;
        }
    }
}

void TreeIndex::add(std::string_view id, markup::TagNode* node)
{
    std::uint32_t& slot = m_slots[slotOf(id, hashOf(id))];
    if (slot != 0) {
        return; // the first node in pre-order keeps the id
    }
    m_entries.push_back(Entry{id, node});
    slot = static_cast<std::uint32_t>(m_entries.size());
    if (m_entries.size() * 2 > m_slots.size()) {
        m_slots.assign(m_slots.size() * 2, 0);
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            m_slots[slotOf(m_entries[i].id, hashOf(m_entries[i].id))] =
                static_cast<std::uint32_t>(i + 1);
        }
    }
}

markup::TagNode* TreeIndex::findById(std::string_view id) const
{
    const std::uint32_t held = m_slots[slotOf(id, hashOf(id))];
    return held == 0 ? nullptr : m_entries[held - 1].node;
}

} // namespace orvo::convert
