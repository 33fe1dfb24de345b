#pragma once

// A message about one tag of the markup: placed at the tag's line and column
// of the markup file when the file and its map are known.

#include <cstddef>
#include <string>

#include "platform/messages.h"

namespace orvo::markup {

struct SourceFile;
class TagNode;

// `tagOffset` is where the tag begins in the body (TagNode::sourceOffset);
// without `source`, or for a node the parser did not make, the message has
// no position.
platform::Message
tagMessage(const SourceFile* source, std::size_t tagOffset, const char* id, std::string text,
           std::string caption,
           platform::Message::Severity severity = platform::Message::Severity::Error);
platform::Message
tagMessage(const SourceFile* source, const TagNode& tag, const char* id, std::string text,
           std::string caption,
           platform::Message::Severity severity = platform::Message::Severity::Error);

} // namespace orvo::markup
