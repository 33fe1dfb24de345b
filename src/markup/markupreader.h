#pragma once

// The markup file reader: turns a markup file into a root node whose content
// is the document body, unparsed.
//
// Each line is trimmed of single-byte white space and classified by the first
// rule that applies:
//   1. holds "<!--": a comment; dropped, and when it holds no "-->" the lines
//      after it are dropped too, up to and including the first one that does
//   2. holds "<?": a declaration; dropped
//   3. holds "<orvo>": dropped; the body opens
//   4. holds "</orvo>": dropped; the body closes
//   5. anything else: appended to the body while it is open
// Collected lines are joined with nothing between them, and the joined body is
// trimmed at both ends. The body is built by appending, so reading is linear
// in the size of the file.

#include <memory>
#include <string>

#include "markup/sourcemap.h"

namespace orvo::platform {
class Messages;
}

namespace orvo::markup {

class TagNode;

// The root node "orvo" (level 1, no parent, the body as content), or null
// after the read-error box when the file cannot be opened or the file layer
// fails while reading it. `sourceMap`, when given, receives where each byte
// of the body lies in the file (empty after a failure).
std::unique_ptr<TagNode> readMarkup(const std::string& path, platform::Messages& messages,
                                    SourceMap* sourceMap = nullptr);

} // namespace orvo::markup
