#include "platform/filemessages.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/encoding.h"
#include "platform/messageids.h"
#include "platform/standardtexts.h"
#include "platform/textformat.h"

namespace orvo::platform {

namespace {

const char* idOfCaption(const char* captionUtf8)
{
    const std::string_view caption(captionUtf8);
    if (caption == texts::kWriteError) {
        return ids::kEchoUnwritable;
    }
    if (caption == texts::kWriteOutError) {
        return ids::kOutputUnwritable;
    }
    return ids::kFileUnreadable;
}

} // namespace

std::string lastSystemReason()
{
    const int error = errno;
    return error == 0 ? std::string() : std::string(std::strerror(error));
}

void reportCannotOpen(Messages& messages, const std::string& path, const char* captionUtf8)
{
    std::string reason = lastSystemReason();
    reportFileError(messages, idOfCaption(captionUtf8),
                    fillLocalTemplate(texts::kCannotOpenFile, path), localText(captionUtf8), path,
                    std::move(reason));
}

void reportFileError(Messages& messages, const char* id, std::string text, std::string caption,
                     const std::string& path, std::string reason)
{
    Message message;
    message.id = id;
    message.text = std::move(text);
    message.caption = std::move(caption);
    message.file = path;
    message.reason = std::move(reason);
    messages.report(message);
}

} // namespace orvo::platform
