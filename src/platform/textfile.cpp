#include "platform/textfile.h"

#include <cstring>

namespace orvo::platform {

namespace {

// Large enough that a 100 MB markup file is read, and a large page written,
// in few system calls.
constexpr std::size_t kChunk = 1 << 16;

} // namespace

TextReader::~TextReader()
{
    close();
}

bool TextReader::open(const std::string& path)
{
    close();
    m_fd = openRegularForReading(path);
    if (!m_fd.isOpen()) {
        return false;
    }
    m_buffer.resize(kChunk);
    m_pos = m_end = 0;
    m_eof = m_failed = false;
    return true;
}

void TextReader::close()
{
    // Nothing was written through a reader: an error of the close changes
    // nothing of what was read.
    static_cast<void>(m_fd.close());
}

bool TextReader::fill()
{
    if (m_eof || !m_fd.isOpen()) {
        return false;
    }
    const long n = readSome(m_fd.get(), m_buffer.data(), m_buffer.size());
    if (n > 0) {
        m_pos = 0;
        m_end = static_cast<std::size_t>(n);
        return true;
    }
    m_failed = n < 0;
    m_eof = true;
    return false;
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

TextWriter::~TextWriter()
{
    // A writer dropped without close() has no one to tell of a failure.
    static_cast<void>(close());
}

bool TextWriter::open(const std::string& path)
{
    static_cast<void>(close());
    m_failed = false;
    m_pending.clear();
    m_fd = createForWriting(path);
    return m_fd.isOpen();
}

void TextWriter::write(std::string_view text)
{
    if (!m_fd.isOpen()) {
        m_failed = true;
        return;
    }
    std::size_t start = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos;
         nl = text.find('\n', start)) {
        m_pending.append(text.data() + start, nl - start);
        m_pending += "\r\n";
        start = nl + 1;
        // Written as it grows, so that a large text is never held twice.
        if (m_pending.size() >= kChunk) {
            flush();
        }
    }
    m_pending.append(text.data() + start, text.size() - start);
    if (m_pending.size() >= kChunk) {
        flush();
    }
}

void TextWriter::flush()
{
    if (!writeAll(m_fd.get(), m_pending)) {
        m_failed = true;
    }
    m_pending.clear();
}

bool TextWriter::close()
{
    if (!m_fd.isOpen()) {
        return !m_failed;
    }
    flush();
    const bool closed = m_fd.close();
    return closed && !m_failed;
}

void appendWithCrLf(std::string& out, std::string_view text)
{
    std::size_t start = 0;
    for (std::size_t nl = text.find('\n'); nl != std::string_view::npos;
         nl = text.find('\n', start)) {
        out.append(text.data() + start, nl - start);
        out += "\r\n";
        start = nl + 1;
    }
    out.append(text.data() + start, text.size() - start);
}

std::string withCrLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    appendWithCrLf(out, text);
    return out;
}

bool writeTextFile(const std::string& path, std::string_view text)
{
    TextWriter writer;
    if (!writer.open(path)) {
        return false;
    }
    writer.write(text);
    return writer.close();
}

} // namespace orvo::platform
