#pragma once

// Every file and folder operation of the program, on POSIX descriptors: whole
// files read and written as bytes, copies, folders made, listed and emptied.
// Paths are byte strings in the active code page, joined by the callers with
// plain concatenation; folder paths end with "/". Nothing here follows a
// symbolic link where that could touch anything outside the folder at hand.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::platform {

// Owns one open file descriptor and closes it once.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int get() const { return m_fd; }
    // Closes now; false when the close reported an error (a write that the
    // system had deferred failed). True when nothing was open.
    [[nodiscard]] bool close();

private:
    int m_fd = -1;
};

// Opens a regular file for reading. Anything else (a folder, a device, a
// named pipe) gives a descriptor that is not open, like a missing file.
FileDescriptor openRegularForReading(const std::string& path);

// Creates a file or empties an existing one, for writing.
FileDescriptor createForWriting(const std::string& path);

// Writes every byte, resuming after interruptions; false on any error.
[[nodiscard]] bool writeAll(int fd, std::string_view bytes);

// Reads up to size bytes, resuming after interruptions: the count read (0 at
// the end of the file), or -1 after an error.
long readSome(int fd, char* buffer, std::size_t size);

// Reads a whole file into `out` as raw bytes. False when it cannot be opened
// or read, or is not a regular file.
[[nodiscard]] bool readWholeFile(const std::string& path, std::string& out);

// Whole files read one after another into storage that is kept: in the
// steady state a read costs an open, an fstat (only a regular file counts,
// and its size sizes the read), one read and a close, and no allocation.
class ReadBuffer {
public:
    // False when the file cannot be opened or read or is not a regular file;
    // bytes() is then empty.
    [[nodiscard]] bool read(const std::string& path);
    // The bytes of the last read, valid until the next one.
    std::string_view bytes() const { return std::string_view(m_storage).substr(0, m_length); }
    // The bytes of the last read as a string of their own, without a copy;
    // the next read starts with fresh storage.
    std::string take();

private:
    std::string m_storage;
    std::size_t m_length = 0;
};

// Writes bytes as they are into a file, replacing an existing one. False when
// the file cannot be created or not every byte was written.
[[nodiscard]] bool writeWholeFile(const std::string& target, std::string_view bytes);

// Copies one file byte for byte, replacing an existing target. False when the
// source cannot be read (a folder included) or the target cannot be written.
[[nodiscard]] bool copyFile(const std::string& source, const std::string& target);

// Creates one folder; false when it exists already or cannot be made.
bool createFolder(const std::string& folder);

// Creates a folder and any missing folders above it; true when the folder
// exists afterwards.
bool createFolderPath(const std::string& folder);

// Renames a file within one file system, replacing the target.
[[nodiscard]] bool renameFile(const std::string& source, const std::string& target);

// True when anything (a dangling link included) is at path.
bool pathExists(const std::string& path);
bool isFolder(const std::string& path);
bool isRegularFile(const std::string& path);

// The names in a folder, "." and ".." included, in the order the system
// gives them; nullopt when the folder cannot be read.
std::optional<std::vector<std::string>> listFolder(const std::string& folder);

// Deletes a file (a link as a link); false when it is still there. Missing
// counts as deleted. Replaceable for tests.
using FileDeleter = std::function<bool(const std::string& path)>;
bool deletePlainFile(const std::string& path);

struct RemoveResult {
    // The folder itself was removed.
    bool removed = false;
    // A file that could not be deleted; empty when every delete succeeded.
    // The clean-up stops at the first such file.
    std::string undeletable;
};

// Deletes the plain files directly inside folder (which ends with "/"), then
// the folder. Subfolders are skipped with their contents, and a symbolic link
// is deleted as a link: nothing outside the folder is ever touched.
RemoveResult removeFolder(const std::string& folder, const FileDeleter& deleter = deletePlainFile);

} // namespace orvo::platform
