#include "platform/filemessages.h"

#include "platform/encoding.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textformat.h"

namespace orvo::platform {

void reportCannotOpen(Messages& messages, const std::string& path, const char* captionUtf8)
{
    messages.error(fillLocalTemplate(texts::kCannotOpenFile, path), localText(captionUtf8));
}

} // namespace orvo::platform
