#include "convert/treeindex.h"

#include "markup/tagnode.h"

#include <functional>
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

std::size_t TreeIndex::slotOf(std::string_view id) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = std::hash<std::string_view>()(id) & mask;; slot = (slot + 1) & mask) {
        const Slot& held = m_slots[slot];
        if (held.node == nullptr || held.id == id) {
            return slot;
        }
    }
}

void TreeIndex::add(std::string_view id, markup::TagNode* node)
{
    Slot& slot = m_slots[slotOf(id)];
    if (slot.node != nullptr) {
        return; // the first node in pre-order keeps the id
    }
    slot = Slot{id, node};
    if (++m_count * 2 > m_slots.size()) {
        std::vector<Slot> old(m_slots.size() * 2);
        old.swap(m_slots);
        for (const Slot& held : old) {
            if (held.node != nullptr) {
                m_slots[slotOf(held.id)] = held;
            }
        }
    }
}

markup::TagNode* TreeIndex::findById(std::string_view id) const
{
    return m_slots[slotOf(id)].node;
}

} // namespace orvo::convert
