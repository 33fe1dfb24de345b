#pragma once

// The tag parser's access to a node's raw content (the buffer it lies in, its
// offset there, setting or dropping it) and to the body offset of its tag.
// Kept out of TagNode's public interface so that nothing but the parser can
// change what is left to parse or where a tag lies.

#include <cstddef>
#include <memory>
#include <string>
#include <utility>

#include "markup/tagnode.h"

namespace orvo::markup {

class TagNodeContent {
public:
    // The buffer that holds the node's content (null when it has none).
    static const std::shared_ptr<const std::string>& buffer(const TagNode& node)
    {
        return node.m_contentBuffer;
    }
    static std::size_t offset(const TagNode& node) { return node.m_contentBegin; }
    static void setView(TagNode& node, std::shared_ptr<const std::string> buffer, std::size_t begin,
                        std::size_t length)
    {
        node.setContentView(std::move(buffer), begin, length);
    }
    static void clear(TagNode& node) { node.clearContent(); }
    // Where the node's tag begins in the document body (TagNode::sourceOffset).
    static void setSourceOffset(TagNode& node, std::size_t offset) { node.m_sourceOffset = offset; }
};

} // namespace orvo::markup
