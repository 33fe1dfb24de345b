#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <utility>

#include "platform/shorthash.h"

namespace orvo::platform {

namespace {

bool statIs(const std::string& path, bool followLink, bool (*kind)(mode_t))
{
    struct stat st {};
    const int rc = followLink ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return rc == 0 && (kind == nullptr || kind(st.st_mode));
}

bool isFolderMode(mode_t mode)
{
    return S_ISDIR(mode);
}

bool isRegularMode(mode_t mode)
{
    return S_ISREG(mode);
}

} // namespace

FileDescriptor::~FileDescriptor()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool FileDescriptor::close()
{
    const int fd = std::exchange(m_fd, -1);
    return fd < 0 || ::close(fd) == 0;
}

// Paths come from the markup too (a page's "ref"), and a device never ends
// (/dev/zero would fill the memory with one endless line) and a named pipe
// may never deliver: both count as files that cannot be opened, like a
// folder. O_NONBLOCK keeps the open itself from waiting for a writer on a
// named pipe; it is cleared again, as it has no business on the reads of a
// regular file.
FileDescriptor openRegularForReading(const std::string& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.isOpen()) {
        return fd;
    }
    struct stat st {};
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (::fstat(fd.get(), &st) != 0) {
        return FileDescriptor();
    }
    if (!S_ISREG(st.st_mode)) {
        // The reason a message gives: a folder or a device is no file to read.
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return FileDescriptor();
    }
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return FileDescriptor();
    }
    return fd;
}

FileDescriptor createForWriting(const std::string& path)
{
    return FileDescriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

bool writeAll(int fd, std::string_view bytes)
{
    const char* data = bytes.data();
    std::size_t size = bytes.size();
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

long readSome(int fd, char* buffer, std::size_t size)
{
    for (;;) {
        const ssize_t n = ::read(fd, buffer, size);
        if (n >= 0 || errno != EINTR) {
            return n < 0 ? -1 : static_cast<long>(n);
        }
    }
}

bool readWholeFile(const std::string& path, std::string& out)
{
    ReadBuffer buffer;
    const bool ok = buffer.read(path);
    out = buffer.take();
    return ok;
}

void FreeBytes::operator()(char* bytes) const
{
    std::free(bytes); // NOLINT(cppcoreguidelines-no-malloc): from malloc or aligned_alloc
}

ByteStorage allocateBytes(std::size_t size)
{
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    void* bytes = nullptr;
    if (size >= kHugePage) {
        const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
        bytes = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
        if (bytes != nullptr) {
            // Only a hint: without huge pages the storage is paged as usual.
            (void)::madvise(bytes, rounded, MADV_HUGEPAGE);
        }
#endif
    } else {
        bytes = std::malloc(size == 0 ? 1 : size); // NOLINT(cppcoreguidelines-no-malloc)
    }
    if (bytes == nullptr) {
        throw std::bad_alloc();
    }
    return ByteStorage(static_cast<char*>(bytes));
}

void releaseUnusedBytes(char* bytes, std::size_t used, std::size_t size)
{
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pageSize <= 0) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(pageSize);
    // The whole pages between the first page boundary at or after `used`
    // and the last one at or before `size`, as offsets from `bytes`.
    const auto address = reinterpret_cast<std::uintptr_t>(bytes);
    const std::uintptr_t from = (address + used + page - 1) / page * page - address;
    const std::uintptr_t to = (address + size) / page * page - address;
    if (to > from) {
        // Only advice: the pages stay part of the buffer either way.
        (void)::madvise(bytes + from, to - from, MADV_DONTNEED);
    }
}

std::string ReadBuffer::take()
{
    std::string bytesRead(bytes());
    m_length = 0;
    return bytesRead;
}

ByteStorage ReadBuffer::release(std::size_t& length)
{
    length = m_length;
    m_length = 0;
    m_capacity = 0;
    return std::move(m_storage);
}

bool ReadBuffer::read(const std::string& path, LastLink lastLink)
{
    m_length = 0;
    // O_NONBLOCK keeps the open from waiting on a named pipe, which fstat
    // then refuses; on a regular file it changes nothing, so it stays.
    const int links = lastLink == LastLink::Refuse ? O_NOFOLLOW : 0;
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | links));
    struct stat st {};
    if (!fd.isOpen() || ::fstat(fd.get(), &st) != 0) {
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        // The reason a message gives: a folder or a device is no file to read.
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // One byte more than the size: a read that stops right at the size
    // fstat gave has met the end of the file, so one read is enough. A read
    // that stops anywhere else (a file that changed meanwhile) is followed
    // by more, up to a read that returns nothing.
    const auto size = static_cast<std::size_t>(st.st_size);
    const std::size_t expected = size + 1;
    for (;;) {
        if (m_capacity < m_length + expected) {
            // Room without zeros; what a read that stopped early got is kept.
            ByteStorage grown = allocateBytes(m_length + expected);
            std::copy_n(m_storage.get(), m_length, grown.get());
            m_storage = std::move(grown);
            m_capacity = m_length + expected;
        }
        const std::size_t room = m_capacity - m_length;
        const long n = readSome(fd.get(), m_storage.get() + m_length, room);
        if (n < 0) {
            m_length = 0;
            return false;
        }
        m_length += static_cast<std::size_t>(n);
        if (n == 0 || (m_length == size && static_cast<std::size_t>(n) < room)) {
            return true;
        }
    }
}

bool writeWholeFile(const std::string& target, std::string_view bytes)
{
    FileDescriptor out = createForWriting(target);
    return out.isOpen() && writeAll(out.get(), bytes) && out.close();
}

bool copyFile(const std::string& source, const std::string& target)
{
    std::string bytes;
    return readWholeFile(source, bytes) && writeWholeFile(target, bytes);
}

bool createFolder(const std::string& folder)
{
    return ::mkdir(folder.c_str(), 0777) == 0;
}

bool createFolderPath(const std::string& folder)
{
    // Each prefix that ends at a "/" is one level; the last level may lack it.
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        createFolder(folder.substr(0, slash));
    }
    createFolder(folder);
    return isFolder(folder);
}

bool renameFile(const std::string& source, const std::string& target)
{
    return std::rename(source.c_str(), target.c_str()) == 0;
}

bool pathExists(const std::string& path)
{
    return statIs(path, false, nullptr);
}

bool isFolder(const std::string& path)
{
    return statIs(path, true, isFolderMode);
}

bool isRegularFile(const std::string& path)
{
    return statIs(path, true, isRegularMode);
}

std::optional<std::vector<std::string>> listFolder(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

std::optional<RegularFiles> listRegularFiles(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    RegularFiles names;
    while (const dirent* entry = ::readdir(dir)) {
        // The entry's type spares a stat per file; links and file systems
        // that give no type are asked.
        const bool regular =
            entry->d_type == DT_REG || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
                                        isRegularFile(folder + entry->d_name));
        if (regular) {
            names.add(entry->d_name, entry->d_type != DT_REG);
        }
    }
    ::closedir(dir);
    return names;
}

std::size_t RegularFiles::slotOf(std::string_view name) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = shortTextHash(name) & mask;; slot = (slot + 1) & mask) {
        const std::size_t held = m_slots[slot];
        if (held == 0 || nameOf(m_entries[held - 1]) == name) {
            return slot;
        }
    }
}

void RegularFiles::add(std::string_view name, bool link)
{
    const std::size_t slot = slotOf(name);
    if (m_slots[slot] != 0) {
        return;
    }
    m_entries.push_back(Entry{m_names.size(), name.size(), link});
    m_names.append(name);
    m_slots[slot] = m_entries.size();
    if (m_entries.size() * 2 > m_slots.size()) {
        m_slots.assign(m_slots.size() * 2, 0);
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            m_slots[slotOf(nameOf(m_entries[i]))] = i + 1;
        }
    }
}

const bool* RegularFiles::find(std::string_view name) const
{
    const std::size_t held = m_slots[slotOf(name)];
    return held == 0 ? nullptr : &m_entries[held - 1].link;
}

bool deletePlainFile(const std::string& path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool deleteEntry(int folder, const std::string& name)
{
    return ::unlinkat(folder, name.c_str(), 0) == 0 || errno == ENOENT;
}

OpenFolder OpenFolder::openOrCreate(const std::string& folder)
{
    OpenFolder opened;
    opened.m_path = folder;
    // The folder's own name, without the "/" that would make the system
    // follow a link there.
    std::string name = folder;
    while (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    if (name.empty()) {
        name = ".";
    }
    const auto open = [&name] {
        return FileDescriptor(
            ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    };
    opened.m_fd = open();
    if (!opened.m_fd.isOpen() && errno == ENOENT && ::mkdir(name.c_str(), 0777) == 0) {
        opened.m_fd = open();
    }
    if (!opened.m_fd.isOpen()) {
        struct stat st {};
        opened.m_link = ::lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    }
    return opened;
}

std::string OpenFolder::deletePlainFiles(const EntryDeleter& deleter) const
{
    if (!isOpen()) {
        return {};
    }
    // The listing reads a descriptor of its own, which closedir closes.
    const int listing = ::fcntl(m_fd.get(), F_DUPFD_CLOEXEC, 0);
    DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (dir == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return {};
    }
    ::rewinddir(dir);
    // Names first, deletes after: deleting while the folder is being read
    // leaves it open which entries the reading still returns. The entry's
    // type from the listing spares a stat of every file; only where the file
    // system does not give it is the entry looked at. The listing is one
    // string of records (the type's byte, the name, a NUL): an output folder
    // holds a file for every page, and it is emptied while the whole tree of
    // the presentation is held.
    std::string listed;
    while (const dirent* entry = ::readdir(dir)) {
        listed += static_cast<char>(entry->d_type);
        listed += entry->d_name;
        listed += '\0';
    }
    ::closedir(dir);
    std::string name;
    for (std::size_t at = 0; at < listed.size();) {
        const auto type = static_cast<unsigned char>(listed[at]);
        const std::size_t end = listed.find('\0', at + 1);
        name.assign(listed, at + 1, end - at - 1);
        at = end + 1;
        // A link is judged as a link, never by what it points to.
        bool folder = type == DT_DIR;
        if (type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(m_fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
                     S_ISDIR(st.st_mode);
        }
        if (folder) {
            continue;
        }
        if (!deleter(m_fd.get(), name)) {
            return pathOf(name);
        }
    }
    return {};
}

FileDescriptor OpenFolder::createNewFile(std::string_view name) const
{
    if (!isOpen() || name.empty() || name.find('/') != std::string_view::npos) {
        return FileDescriptor(-1);
    }
    const std::string entry(name);
    FileDescriptor out(::openat(m_fd.get(), entry.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!out.isOpen()) {
        // A folder that the clean-up left in the way is reported as such.
        struct stat st {};
        if (errno == EEXIST &&
            ::fstatat(m_fd.get(), entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISDIR(st.st_mode)) {
            errno = EISDIR;
        }
    }
    return out;
}

bool OpenFolder::writeNewFile(std::string_view name, std::string_view bytes) const
{
    FileDescriptor out = createNewFile(name);
    return out.isOpen() && writeAll(out.get(), bytes) && out.close();
}

bool OpenFolder::writeNewFileInPieces(std::string_view name,
                                      const std::function<std::string_view()>& nextPiece) const
{
    FileDescriptor out = createNewFile(name);
    if (!out.isOpen()) {
        return false;
    }
    for (std::string_view piece = nextPiece(); !piece.empty(); piece = nextPiece()) {
        if (!writeAll(out.get(), piece)) {
            return false;
        }
    }
    return out.close();
}

bool OpenFolder::copyIn(const std::string& source, std::string_view name) const
{
    std::string bytes;
    return readWholeFile(source, bytes) && writeNewFile(name, bytes);
}

} // namespace orvo::platform
