#include "markup/tagmessage.h"

#include <utility>

#include "markup/sourcemap.h"
#include "markup/tagnode.h"

namespace orvo::markup {

platform::Message tagMessage(const SourceFile* source, std::size_t tagOffset, const char* id,
                             std::string text, std::string caption,
                             platform::Message::Severity severity)
{
    platform::Message message;
    message.severity = severity;
    message.id = id;
    message.text = std::move(text);
    message.caption = std::move(caption);
    if (source != nullptr) {
        if (tagOffset == TagNode::kNoOffset) {
            message.file = source->path;
        } else {
            source->locate(tagOffset, message);
        }
    }
    return message;
}

platform::Message tagMessage(const SourceFile* source, const TagNode& tag, const char* id,
                             std::string text, std::string caption,
                             platform::Message::Severity severity)
{
    return tagMessage(source, tag.sourceOffset(), id, std::move(text), std::move(caption),
                      severity);
}

} // namespace orvo::markup
