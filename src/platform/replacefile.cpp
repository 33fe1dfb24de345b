#include "platform/replacefile.h"

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/textfile.h"

namespace orvo::platform {

bool replaceTextFile(const std::string& path, std::string_view text)
{
    // mkostemp makes the name unique and opens with O_CREAT | O_EXCL, so
    // nothing that already exists (a planted link above all) is written to.
    std::string temporary = path + ".XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    temporary.assign(name.data());
    const bool written = writeAll(fd, withCrLf(text));
    const bool closed = ::close(fd) == 0;
    if (written && closed && std::rename(temporary.c_str(), path.c_str()) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

} // namespace orvo::platform
