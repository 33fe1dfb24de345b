#include "convert/sourcepage.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "config/presentation.h"
#include "convert/outputfolder.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
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

bool hasWebPageName(std::string_view path)
{
    const std::string lower = pf::toLower(path);
    return lower.ends_with(".htm") || lower.ends_with(".html");
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

std::string outsideSourcePageText(const std::string& ref)
{
    return pf::fillTemplate(kOutsideSourcePage, ref);
}

} // namespace orvo::convert
