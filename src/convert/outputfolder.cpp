#include "convert/outputfolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <sys/stat.h>
#include <vector>

#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

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

bool deletePlainFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

RemoveResult removeFolder(const std::string& folder, const FileDeleter& deleter)
{
    RemoveResult result;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return result;
    }
    // Names first, deletes after: deleting while the folder is being read
    // leaves it open which entries the reading still returns.
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + name;
        struct stat st {};
        // lstat: a link is judged as a link, never by what it points to.
        if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) {
            continue;
        }
        if (!deleter(path)) {
            result.undeletable = path;
            return result;
        }
    }
    result.removed = ::rmdir(folder.c_str()) == 0;
    return result;
}

bool createFolder(const std::string& folder)
{
    return ::mkdir(folder.c_str(), 0777) == 0;
}

bool writeFile(const std::string& target, std::string_view bytes)
{
    FileDescriptor out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.get() < 0) {
        return false;
    }
    return writeAll(out.get(), bytes.data(), bytes.size()) && out.close();
}

bool copyFile(const std::string& source, const std::string& target)
{
    std::string bytes;
    if (!pf::readWholeFile(source, bytes)) {
        return false;
    }
    return writeFile(target, bytes);
}

std::string indexPageText(int pageCount)
{
    std::string text = "<HTML>\n<HEAD>\n</HEAD>\n<BODY  text =\"00000e\">\n";
    for (int i = 1; i <= pageCount; ++i) {
        const std::string number = pf::toDecimal(i);
        text +=
            pf::fillTemplate("<a href=\"%d.html\" target=\"up_frame\"> %d </a>", {number, number});
    }
    text += "</BODY>\n</HTML>\n";
    return text;
}

void writeIndexPage(const std::string& path, int pageCount, pf::Messages& messages)
{
    const std::string text = indexPageText(pageCount);
    pf::TextWriter writer;
    if (!writer.open(path)) {
        pf::reportCannotOpen(messages, path, pf::texts::kWriteOutError);
        return;
    }
    writer.write(text);
    if (!writer.close()) {
        pf::reportCannotOpen(messages, path, pf::texts::kWriteOutError);
    }
}

} // namespace orvo::convert
