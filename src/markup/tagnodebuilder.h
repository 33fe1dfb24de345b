#pragma once

// The tag parser's access to the nodes it builds. These operations make
// nodes whose texts, contents and attribute values are views into the
// document body, so they are only safe while the parser holds that body;
// the public TagNode interface offers none of them. Only src/markup includes
// this header.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
        node.extra().content = content;
    }
    // The node takes over `bytes`, and its content is bytes[begin, end).
    static void adoptContent(TagNode& node, platform::ByteStorage bytes, std::size_t begin,
                             std::size_t end)
    {
        TagNode::Extra& own = node.extra();
        own.ownBytes = std::move(bytes);
        own.content = std::string_view(own.ownBytes.get() + begin, end - begin);
    }
    static void clearContent(TagNode& node)
    {
        if (node.m_extra) {
            node.m_extra->content = {};
        }
    }
    // The memory of the nodes that the parse of `root` makes: their arrays
    // and the bytes they own.
    // A parse of a large content asks for a first block in proportion to
    // it, so that the arena is not grown block after block; pages of a block
    // that are never touched cost no memory.
    static std::pmr::memory_resource& arenaOf(TagNode& root, std::size_t contentSize = 0)
    {
        return root.nodeArena(
            std::max(TagNode::kParseBlock, contentSize * TagNode::kArenaBytesPerContentByte));
    }
    // The same for a parse that keeps the page tags only (about one tag in
    // ten): its block is sized for a share of the content, and has plain
    // pages, which are resident only as far as they are used.
    static std::pmr::memory_resource& pageTagArenaOf(TagNode& root, std::size_t contentSize)
    {
        return root.nodeArena(std::max(TagNode::kParseBlock, contentSize / 2), false);
    }
    // The memory of a node made anywhere, found through its ancestors.
    static std::pmr::memory_resource& memoryOf(TagNode& node) { return node.memory(); }
    static void reserveAttributes(TagNode& node, std::pmr::memory_resource& memory,
                                  std::size_t count)
    {
        node.reserveAttributes(memory, count);
    }
    // Adds an attribute without looking for an earlier one of that name;
    // the value is a view.
    static void addAttributeView(TagNode& node, std::pmr::memory_resource& memory,
                                 const std::string& internedName, std::string_view value)
    {
        node.addAttribute(memory, internedName, value);
    }
    // Whether node has the attribute of that interned name: one name has
    // one interned copy, so the addresses tell.
    static bool hasInternedAttribute(const TagNode& node, const std::string& internedName)
    {
        for (std::uint32_t i = 0; i < node.m_attributeCount; ++i) {
            if (node.m_attributes[i].name == &internedName) {
                return true;
            }
        }
        return false;
    }
    // Sets an attribute to a copy of value kept in memory, in place when the
    // node has one of that name.
    static void setAttributeCopy(TagNode& node, std::pmr::memory_resource& memory,
                                 const std::string& internedName, std::string_view value)
    {
        node.setAttributeIn(memory, internedName, value);
    }
    static void setSourceOffset(TagNode& node, std::size_t offset) { node.setSourceOffset(offset); }
    // A node made in the arena of `root` (the node being parsed), not yet
    // attached; the arena lives as long as `root`.
    static TagNode::Child makeArenaChild(TagNode& root, const std::string& internedName,
                                         std::int32_t level, TagNode* parent)
    {
        return root.makeArenaChild(internedName, level, parent);
    }
    // A node made in `memory`, an arena that outlives it, not yet attached.
    static TagNode::Child makeChildIn(std::pmr::memory_resource& memory,
                                      const std::string& internedName, std::int32_t level,
                                      TagNode* parent)
    {
        return TagNode::makeNodeIn(memory, internedName, level, parent);
    }
    // Marks `page`, below `root`, as parsed again into `memory` (null: no
    // longer); see TagNode::memory.
    static void setOpenPage(TagNode& root, const TagNode* page, std::pmr::memory_resource* memory)
    {
        root.extra().openPage = page;
        root.extra().openPageMemory = memory;
    }
    // Destroys the children of node and their subtrees, and leaves the node
    // as it would be had it never had any; `pending` is the walk's stack.
    static void removeChildren(TagNode& node, std::vector<TagNode::Child>& pending)
    {
        node.dropChildren(pending);
        if (node.m_extra) {
            node.m_extra->attached.clear();
        }
        node.m_children.m_data = nullptr;
        node.m_hasChildren = false;
    }
    // A copy of node without its children, made in `memory` with `parent` as
    // its parent: its name, level, tag offset and attributes, whose values
    // are copied into memory.
    static TagNode::Child copyWithoutChildren(const TagNode& node,
                                              std::pmr::memory_resource& memory, TagNode* parent)
    {
        TagNode::Child copy = TagNode::makeNodeIn(memory, *node.m_name, node.m_level, parent);
        copy->setSourceOffset(node.sourceOffset());
        copy->reserveAttributes(memory, node.m_attributeCount);
        for (std::uint32_t i = 0; i < node.m_attributeCount; ++i) {
            copy->setAttributeIn(memory, *node.m_attributes[i].name, node.m_attributes[i].value);
        }
        return copy;
    }
    // Makes pending[from, end) the children of node, in an array of exactly
    // their number in memory, and drops them from pending. A node that gets
    // none keeps the children it had; one that had some keeps them in front.
    static void adoptChildren(TagNode& node, std::pmr::memory_resource& memory,
                              std::vector<TagNode::Child>& pending, std::size_t from)
    {
        const std::size_t added = pending.size() - from;
        if (added == 0) {
            return;
        }
        TagNode::Children& children = node.m_children;
        const std::size_t count = children.m_size + added;
        auto* array = static_cast<TagNode::Child*>(
            memory.allocate(count * sizeof(TagNode::Child), alignof(TagNode::Child)));
        for (std::size_t i = 0; i < children.m_size; ++i) {
            new (&array[i]) TagNode::Child(std::move(children.m_data[i]));
        }
        for (std::size_t i = 0; i < added; ++i) {
            new (&array[children.m_size + i]) TagNode::Child(std::move(pending[from + i]));
        }
        pending.resize(from);
        if (node.m_extra) {
            node.m_extra->attached.clear(); // moved into the array above
        }
        children.m_data = array;
        children.m_size = static_cast<std::uint32_t>(count);
        node.m_hasChildren = true;
    }
};

} // namespace orvo::markup
