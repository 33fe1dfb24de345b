#pragma once

// Every file and folder operation of the program, on POSIX descriptors: whole
// files read and written as bytes, copies, folders made, listed and emptied.
// Paths are byte strings in the active code page, joined by the callers with
// plain concatenation; folder paths end with "/". Nothing here follows a
// symbolic link where that could touch anything outside the folder at hand.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
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

// Bytes in storage of their own, freed with std::free.
struct FreeBytes {
    void operator()(char* bytes) const;
};
using ByteStorage = std::unique_ptr<char[], FreeBytes>;

// Storage for `size` bytes, not zero-filled. Large storage is aligned for the
// system's huge pages and offered to them, so that filling it costs a few
// page faults instead of one per page. Throws std::bad_alloc when there is
// no memory.
ByteStorage allocateBytes(std::size_t size);
// Gives the whole pages of bytes[used, size) back to the system: their bytes
// are no longer needed, and a large buffer that shrank in place would keep
// them resident. Reading them afterwards gives zeros.
void releaseUnusedBytes(char* bytes, std::size_t used, std::size_t size);

// Whole files read one after another into storage that is kept: in the
// steady state a read costs an open, an fstat (only a regular file counts,
// and its size sizes the read), one read and a close, and no allocation.
// The storage is never filled with zeros before a read writes over it.
class ReadBuffer {
public:
    // Whether a symbolic link as the path's last part is followed; refused,
    // it fails the read with ELOOP.
    enum class LastLink { Follow, Refuse };

    // False when the file cannot be opened or read or is not a regular file;
    // bytes() is then empty.
    [[nodiscard]] bool read(const std::string& path, LastLink lastLink = LastLink::Follow);
    // The bytes of the last read, valid until the next one.
    std::string_view bytes() const { return {m_storage.get(), m_length}; }
    // A copy of the bytes of the last read as a string.
    std::string take();
    // The storage with the bytes of the last read at its front, given away
    // without a copy: `length` receives their number. The next read starts
    // with fresh storage.
    ByteStorage release(std::size_t& length);

private:
    ByteStorage m_storage;
    std::size_t m_capacity = 0;
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

// A hash of names that a string_view looks up without a copy.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const
    {
        return std::hash<std::string_view>()(name);
    }
};

// The regular files of a folder by name, each with whether it is a link. A
// folder may hold thousands of pages: the names lie in one string and are
// found through an open-addressed table, with no allocation per name.
class RegularFiles {
public:
    // Adds a file; a name already listed keeps its first entry.
    void add(std::string_view name, bool link);
    // Whether the file is a link; null when no regular file has that name.
    const bool* find(std::string_view name) const;
    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        std::size_t offset;
        std::size_t length;
        bool link;
    };
    std::string_view nameOf(const Entry& entry) const
    {
        return std::string_view(m_names).substr(entry.offset, entry.length);
    }
    // The slot that holds name, or the free one where it would go.
    std::size_t slotOf(std::string_view name) const;

    std::string m_names;
    std::vector<Entry> m_entries;
    // Each slot holds an entry's index plus one, or 0 when free; never more
    // than half full.
    std::vector<std::size_t> m_slots = std::vector<std::size_t>(64, 0);
};

// The names of the regular files in a folder (a link counts by what it
// points to), each with whether it is a link, for many existence checks at
// the cost of one listing; nullopt when the folder cannot be read.
std::optional<RegularFiles> listRegularFiles(const std::string& folder);

// Deletes a file (a link as a link); false when it is still there. Missing
// counts as deleted.
bool deletePlainFile(const std::string& path);

// Deletes the entry `name` of the folder open as `folder` (a link as a link);
// false when it is still there. Replaceable for tests.
using EntryDeleter = std::function<bool(int folder, const std::string& name)>;
bool deleteEntry(int folder, const std::string& name);

// A folder opened once, by descriptor, so that its clean-up and the files
// written into it cannot be diverted by symbolic links: the folder itself is
// never a link (the open refuses one), nothing inside it is followed, and
// new files are created exclusively, so that a link planted between the
// clean-up and the writes is never written through. Used for the output
// folder, which is emptied by every conversion.
class OpenFolder {
public:
    // Opens folder (its path ends with "/"), creating it when it is missing.
    // Not open when it can be neither opened nor made, or when it is a
    // symbolic link (isLink) or something else that is not a folder.
    static OpenFolder openOrCreate(const std::string& folder);

    bool isOpen() const { return m_fd.isOpen(); }
    bool isLink() const { return m_link; }
    const std::string& path() const { return m_path; }
    // The path of an entry, for messages.
    std::string pathOf(std::string_view name) const { return m_path + std::string(name); }

    // Deletes the entries directly inside the folder that are not folders:
    // files, and links as links. Subfolders stay with their contents. The
    // path of the first entry that cannot be deleted, where the clean-up
    // stops; empty when all went.
    std::string deletePlainFiles(const EntryDeleter& deleter = deleteEntry) const;

    // Creates the file `name`, which must not exist yet (nor a link by that
    // name), and writes bytes into it. False when anything is in the way or
    // not every byte was written.
    [[nodiscard]] bool writeNewFile(std::string_view name, std::string_view bytes) const;
    // The same with the bytes given piece after piece by nextPiece, until it
    // gives an empty piece: a large file need not be held whole.
    [[nodiscard]] bool
    writeNewFileInPieces(std::string_view name,
                         const std::function<std::string_view()>& nextPiece) const;
    // Copies a file byte for byte into a new file `name`.
    [[nodiscard]] bool copyIn(const std::string& source, std::string_view name) const;

private:
    // Creates the file `name` for writeNewFile; not open when anything is in
    // the way.
    FileDescriptor createNewFile(std::string_view name) const;

    FileDescriptor m_fd;
    std::string m_path;
    bool m_link = false;
};

} // namespace orvo::platform
