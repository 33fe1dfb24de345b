#pragma once

// The tag parser: builds the tree below a node out of the node's raw content,
// checking every tag and attribute name against the tag type table.
//
// It works on positions in the one body buffer instead of consuming copies of
// the content, keeps an explicit stack instead of recursing, and finds end tags
// through an index built once per parse, so its time is linear in the size of
// the body and its stack use is constant whatever the nesting depth.

#include <string_view>

namespace orvo::platform {
class Messages;
}

namespace orvo::markup {

struct SourceFile;
class TagNode;
class TagType;
class TagTypeTable;

// Parses node's content into children, attributes and text. True when the
// whole content was consumed. A failure shows exactly one message of its own
// (a single tag without "/>" is reported too, but parsing goes on after it);
// the failing node keeps the unparsed rest of its content, each enclosing node
// keeps its content from the failing element on, and every node attached so
// far stays in the tree. Every node made gets the body offset of its tag;
// with `source` (the file of the body and its map), the messages name the
// file, line and column of the tag they are about. With warnRemovedBlanks,
// a warning reports each value whose blanks are removed (`word="New York"`
// is stored as NewYork).
[[nodiscard]] bool parseContent(TagNode& node, const TagTypeTable& table,
                                platform::Messages& messages, const SourceFile* source = nullptr,
                                bool warnRemovedBlanks = false);

class PageContents;

// parseContent for a whole document (`root`, without the blanks warning) that
// is converted one page at a time: `pages` takes over the pages, the children
// of the first "body" tag, each of which is left without the tags inside it.
// The messages are those of parseContent.
[[nodiscard]] bool parseContentByPage(TagNode& root, const TagTypeTable& table,
                                      platform::Messages& messages, const SourceFile* source,
                                      PageContents& pages);

// Stores the attributes written in tagText (a start tag or single tag) into
// child. False after the attribute error message, placed at the child's tag.
[[nodiscard]] bool parseAttributes(TagNode& child, std::string_view tagText, const TagType& type,
                                   platform::Messages& messages, const SourceFile* source = nullptr,
                                   bool warnRemovedBlanks = false);

} // namespace orvo::markup
