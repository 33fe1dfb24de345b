#pragma once

// The tag parser's access to the nodes it builds. These operations make
// nodes whose texts, contents and attribute values are views into the
// document body, so they are only safe while the parser holds that body;
// the public TagNode interface offers none of them. Only src/markup includes
// this header.

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>

#include "markup/tagnode.h"

namespace orvo::markup {

class TagNodeBuilder {
public:
    // The text, content and attributes below are views into the content of
    // an ancestor (the root's document body), which outlives them.
    static void setTextView(TagNode& node, std::string_view text)
    {
        node.m_text = text;
        node.m_hasText = true;
    }
    static void setContentView(TagNode& node, std::string_view content)
    {
        node.m_content = content;
    }
    static void clearContent(TagNode& node) { node.m_content = {}; }
    // Adds an attribute without looking for an earlier one of that name.
    static void addAttributeView(TagNode& node, std::string_view name, std::string_view value)
    {
        node.m_attributes.push_back(TagNode::Attribute{name, value, nullptr});
    }
    static void reserveAttributes(TagNode& node, std::size_t count)
    {
        node.m_attributes.reserve(count);
    }
    static void setSourceOffset(TagNode& node, std::size_t offset) { node.m_sourceOffset = offset; }
    // A node made in the arena of `owner` (the node being parsed), not yet
    // attached; the arena lives as long as `owner`.
    static TagNode::Child makeArenaChild(TagNode& owner, const std::string& internedName,
                                         std::int32_t level, TagNode* parent)
    {
        return owner.makeArenaChild(internedName, level, parent);
    }
    static TagNode& appendChild(TagNode& parent, TagNode::Child child)
    {
        return parent.appendChild(std::move(child));
    }
};

} // namespace orvo::markup
