#include "convert/sourcepage.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <sys/stat.h>

#include "config/presentation.h"
#include "convert/outputfolder.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/messageids.h"
#include "platform/messages.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

constexpr const char* kOutsideSourcePage =
    "The source page %s lies outside the presentation's folder and is not converted";

// The real path (links and ".." resolved); empty when it does not exist.
std::string realPath(const std::string& path)
{
    const std::unique_ptr<char, decltype(&std::free)> real(
        ::realpath(path.empty() ? "." : path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

bool isInside(const std::string& realFolder, const std::string& realFile)
{
    if (realFolder.empty() || realFile.empty()) {
        return false;
    }
    const std::string prefix = realFolder.back() == '/' ? realFolder : realFolder + "/";
    return realFile.size() > prefix.size() && realFile.compare(0, prefix.size(), prefix) == 0;
}

// Whether the ".." of a relative path climb above its start, before any link
// is looked at: "a/../../b" does, "a/../b" does not.
bool climbsOut(std::string_view relative)
{
    int depth = 0;
    while (!relative.empty()) {
        const std::size_t slash = relative.find('/');
        const std::string_view part = relative.substr(0, slash);
        if (part == "..") {
            if (--depth < 0) {
                return true;
            }
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        relative.remove_prefix(slash == std::string_view::npos ? relative.size() : slash + 1);
    }
    return false;
}

// Whether path ends with the lower-case suffix, its letters in either case.
// The suffix begins with ".", a byte below 0x40 that never lies inside a
// double-byte character, so the letters behind it are single bytes and can be
// compared byte-wise.
bool endsWithEitherCase(std::string_view path, std::string_view suffix)
{
    if (path.size() < suffix.size()) {
        return false;
    }
    const std::string_view end = path.substr(path.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = end[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != suffix[i]) {
            return false;
        }
    }
    return true;
}

bool hasWebPageName(std::string_view path)
{
    return endsWithEitherCase(path, ".htm") || endsWithEitherCase(path, ".html");
}

// Whether the relative path names an entry of the folder itself: no "/", no
// "." or "..". Such a file lies inside the folder unless it is a link, so the
// real paths need comparing only for a link (the usual source page costs one
// open instead of a look at every folder of two paths).
bool namesEntryOfFolder(std::string_view relative)
{
    return !relative.empty() && relative != "." && relative != ".." &&
           relative.find('/') == std::string_view::npos;
}

} // namespace

std::string sourcePathOf(const markup::TagNode& page, const std::string& markupFolder)
{
    return markupFolder + pf::replaceAll(page.getAttribute("ref"), "\\", "/");
}

bool leavesMarkupFolder(const std::string& markupFolder, const std::string& source)
{
    const std::string_view ref = std::string_view(source).substr(markupFolder.size());
    if (climbsOut(ref)) {
        return true;
    }
    struct stat st {};
    if (namesEntryOfFolder(ref) && (::lstat(source.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))) {
        return false; // missing, or the folder's own file
    }
    const std::string real = realPath(source);
    return !real.empty() && !isInside(realPath(markupFolder), real);
}

std::string acceptableSourcePage(const std::string& markupFolder, const std::string& source)
{
    // errno says why for the message: the missing file's own reason, or
    // "Permission denied" for a page that is refused.
    if (!hasWebPageName(source) ||
        climbsOut(std::string_view(source).substr(markupFolder.size()))) {
        errno = EACCES;
        return {};
    }
    std::string real = realPath(source);
    if (real.empty()) {
        return {};
    }
    if (!isInside(realPath(markupFolder), real)) {
        errno = EACCES;
        return {};
    }
    return real;
}

bool readSourcePage(const std::string& markupFolder, const std::string& source,
                    pf::ReadBuffer& buffer)
{
    if (hasWebPageName(source) &&
        namesEntryOfFolder(std::string_view(source).substr(markupFolder.size()))) {
        if (buffer.read(source, pf::ReadBuffer::LastLink::Refuse)) {
            return true;
        }
        if (errno != ELOOP) {
            return false;
        }
    }
    const std::string readable = acceptableSourcePage(markupFolder, source);
    return !readable.empty() && buffer.read(readable);
}

std::string outsideSourcePageText(const std::string& ref)
{
    return pf::fillTemplate(kOutsideSourcePage, ref);
}

} // namespace orvo::convert
