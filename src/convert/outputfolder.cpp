#include "convert/outputfolder.h"

#include "platform/codepage.h"

namespace orvo::convert {

namespace pf = orvo::platform;

std::string markupFolderOf(std::string_view markupPath)
{
    const std::size_t slash = pf::rfind(markupPath, "/");
    return slash == pf::npos ? std::string() : std::string(markupPath.substr(0, slash + 1));
}

bool isSafeWorkingDir(std::string_view workingDir)
{
    if (workingDir.size() < 2 || workingDir.back() != '/') {
        return false;
    }
    const std::string_view name = workingDir.substr(0, workingDir.size() - 1);
    if (name == "." || name == "..") {
        return false;
    }
    return name.find('/') == std::string_view::npos && pf::find(name, "\\") == pf::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace orvo::convert
