#include "convert/treeindex.h"

#include "markup/tagnode.h"

#include <vector>

namespace orvo::convert {

TreeIndex::TreeIndex(markup::TagNode& root, const markup::SourceFile* source) : m_source(source)
{
    // Pre-order with an explicit stack (children pushed in reverse), the same
    // order as the tree's own searches; only the first node per id is kept.
    std::vector<markup::TagNode*> stack{&root};
    bool emptyIdTaken = false;
    while (!stack.empty()) {
        markup::TagNode* node = stack.back();
        stack.pop_back();
        // Most nodes have no id: only the first of them is looked up.
        const std::string_view* id = node->attribute("id");
        if (id != nullptr && !id->empty()) {
            m_byId.try_emplace(*id, node);
        } else if (!emptyIdTaken) {
            m_byId.try_emplace(std::string_view(), node);
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

markup::TagNode* TreeIndex::findById(std::string_view id) const
{
    const auto found = m_byId.find(id);
    return found == m_byId.end() ? nullptr : found->second;
}

} // namespace orvo::convert
