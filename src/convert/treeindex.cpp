#include "convert/treeindex.h"

#include "markup/tagnode.h"

#include <vector>

namespace orvo::convert {

TreeIndex::TreeIndex(markup::TagNode& root, const markup::SourceFile* source) : m_source(source)
{
    // Pre-order with an explicit stack (children pushed in reverse), the same
    // order as the tree's own searches; only the first node per id is kept.
    std::vector<markup::TagNode*> stack{&root};
    while (!stack.empty()) {
        markup::TagNode* node = stack.back();
        stack.pop_back();
        m_byId.try_emplace(node->getAttribute("id"), node);
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
