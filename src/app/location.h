#pragma once

// Locations as the shell handles them: byte strings (paths in the file
// system's encoding, or URLs) and their mapping to what Qt needs.

#include <string>
#include <string_view>

class QString;
class QUrl;

namespace orvo::app {

// The text after the last "." of a location; a location without a "." counts
// as its whole text. The search is multibyte-aware.
std::string extensionOf(std::string_view location);

// A path or URL as Qt shows it, and back into the bytes that the core and the
// file system use.
QString decodeLocation(const std::string& location);
std::string encodeLocation(const QString& location);

// Where the browser goes for a location: a URL with a scheme as written, any
// other text as a local file (a relative one from the current folder).
QUrl urlForLocation(const std::string& location);

} // namespace orvo::app
