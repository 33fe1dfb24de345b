#include "platform/textfile.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace orvo::platform {

namespace {

// Large enough that a 100 MB markup file is read in few system calls.
constexpr std::size_t kReadChunk = 1 << 16;

// Only a regular file counts as a text file. Paths come from the markup too
// (a page's "ref"), and a device never ends (/dev/zero would fill the memory
// with one endless line) and a named pipe may never deliver: both count as
// files that cannot be opened, like a folder. O_NONBLOCK keeps the open
// itself from waiting for a writer on a named pipe; it is cleared again, as
// it has no business on the reads of a regular file.
int openRegularForReading(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat st {};
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

TextReader::~TextReader()
{
    close();
}

bool TextReader::open(const std::string& path)
{
    close();
    m_fd = openRegularForReading(path);
    if (m_fd < 0) {
        return false;
    }
    m_buffer.resize(kReadChunk);
    m_pos = m_end = 0;
    m_eof = m_failed = false;
    return true;
}

void TextReader::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool TextReader::fill()
{
    if (m_eof || m_fd < 0) {
        return false;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (n > 0) {
            m_pos = 0;
            m_end = static_cast<std::size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            m_failed = true;
        }
        m_eof = true;
        return false;
    }
}

int TextReader::peekByte()
{
    if (m_pos == m_end && !fill()) {
        return -1;
    }
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

bool TextReader::readLine(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (m_pos == m_end && !fill()) {
            return any;
        }
        any = true;
        const char* start = m_buffer.data() + m_pos;
        const std::size_t avail = m_end - m_pos;
        const void* nl = std::memchr(start, '\n', avail);
        if (nl == nullptr) {
            line.append(start, avail);
            m_pos = m_end;
            continue;
        }
        const auto len = static_cast<std::size_t>(static_cast<const char*>(nl) - start);
        line.append(start, len);
        m_pos += len + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return true;
    }
}

bool TextReader::readPiece(std::string& piece, std::size_t maxBytes)
{
    piece.clear();
    while (piece.size() < maxBytes) {
        const int b = peekByte();
        if (b < 0) {
            break;
        }
        ++m_pos;
        if (b == '\r' && peekByte() == '\n') {
            continue; // the LF that follows is taken on the next turn
        }
        piece.push_back(static_cast<char>(b));
        if (b == '\n') {
            break;
        }
    }
    return !piece.empty();
}

bool readWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    const int fd = openRegularForReading(path);
    if (fd < 0) {
        return false;
    }
    char buffer[kReadChunk];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            ok = n == 0;
            break;
        }
    }
    ::close(fd);
    return ok;
}

TextWriter::~TextWriter()
{
    close();
}

bool TextWriter::open(const std::string& path)
{
    close();
    m_failed = false;
    m_file = std::fopen(path.c_str(), "wb");
    return m_file != nullptr;
}

void TextWriter::write(std::string_view text)
{
    if (m_file == nullptr) {
        m_failed = true;
        return;
    }
    std::size_t start = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos;
         nl = text.find('\n', start)) {
        if (std::fwrite(text.data() + start, 1, nl - start, m_file) != nl - start ||
            std::fwrite("\r\n", 1, 2, m_file) != 2) {
            m_failed = true;
        }
        start = nl + 1;
    }
    const std::size_t rest = text.size() - start;
    if (rest > 0 && std::fwrite(text.data() + start, 1, rest, m_file) != rest) {
        m_failed = true;
    }
}

bool TextWriter::close()
{
    if (m_file == nullptr) {
        return !m_failed;
    }
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    return closed && !m_failed;
}

} // namespace orvo::platform
