#pragma once

// Text files as the program reads and writes them. Reading accepts CR LF or LF
// line ends (a CR directly before a LF is dropped; any other CR is kept) and a
// last line without a line end; lines may be of any length. Writing turns
// every LF into CR LF, so the files on disk look the same on every platform.
// A path that names anything but a regular file (a folder, a device, a named
// pipe) counts as a file that cannot be opened.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace orvo::platform {

class TextReader {
public:
    TextReader() = default;
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // False when the path is missing, unreadable or not a regular file.
    [[nodiscard]] bool open(const std::string& path);
    void close();

    // The next line without its line end. False at the end of the file (or
    // after a read error, see failed()).
    bool readLine(std::string& line);

    // The text up to and including the next line feed, but at most maxBytes
    // bytes, counted after CR LF has become LF (the bounded read of a text
    // stream). False when nothing is left.
    bool readPiece(std::string& piece, std::size_t maxBytes);

    // True when the file layer failed after a successful open.
    bool failed() const { return m_failed; }

private:
    bool fill();
    int peekByte();

    FileDescriptor m_fd;
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_failed = false;
};

class TextWriter {
public:
    TextWriter() = default;
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // Creates the file or empties it. False when that fails.
    [[nodiscard]] bool open(const std::string& path);
    // Writes text, each LF as CR LF. The bytes are collected and written in
    // large pieces; a failure shows at close().
    void write(std::string_view text);
    // Writes what is left and closes; false when any write failed.
    [[nodiscard]] bool close();

private:
    void flush();

    FileDescriptor m_fd;
    std::string m_pending;
    bool m_failed = false;
};

// The on-disk form of a text: each LF as CR LF.
std::string withCrLf(std::string_view text);
// The same, appended to `out`.
void appendWithCrLf(std::string& out, std::string_view text);

// Writes a whole text file at once, each LF as CR LF, replacing an existing
// file. False when it cannot be created or not every byte was written.
[[nodiscard]] bool writeTextFile(const std::string& path, std::string_view text);

} // namespace orvo::platform
