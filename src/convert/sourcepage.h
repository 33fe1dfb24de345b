#pragma once

// Which file a page's source page is, and whether it may be read. The "ref"
// of a page comes from the presentation, which may come from a stranger: a
// "ref" that climbs out of the presentation's folder, or names a file that
// is no web page, would copy any readable file of the user into the output
// (/proc/self/environ, ~/.ssh/id_rsa). A source page must lie inside the
// presentation's folder tree (the markup folder and the folders below it,
// links resolved) and be named .htm or .html, in any case.

#include <cstddef>
#include <string>

namespace orvo::config {
class Presentation;
}
namespace orvo::markup {
class TagNode;
}
namespace orvo::platform {
class Messages;
class ReadBuffer;
} // namespace orvo::platform

namespace orvo::convert {

// markupFolder + the page's "ref", each backslash taken as "/" (presentations
// written on Windows name subfolders with backslashes).
std::string sourcePathOf(const markup::TagNode& page, const std::string& markupFolder);

// The source path as it may be opened: the real path of a file inside the
// markup folder's tree whose name (as written) ends in .htm or .html; empty
// when there is no such file.
std::string acceptableSourcePage(const std::string& markupFolder, const std::string& source);

// Reads the source page into buffer when acceptableSourcePage accepts it,
// without resolving the real paths of a page that lies directly in the
// markup folder and is no link. False, with errno saying why, otherwise.
[[nodiscard]] bool readSourcePage(const std::string& markupFolder, const std::string& source,
                                  platform::ReadBuffer& buffer);

// True when the source path leads out of the markup folder's tree: an
// absolute "ref", one whose ".." climb above the folder, or one through a
// link that points elsewhere.
bool leavesMarkupFolder(const std::string& markupFolder, const std::string& source);

// The text of `orvo check`'s warning about a page whose "ref" leads out of
// the presentation's folder, which the conversion refuses.
std::string outsideSourcePageText(const std::string& ref);

} // namespace orvo::convert
