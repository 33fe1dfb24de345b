#include "markup/markupreader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "markup/tagnode.h"
#include "markup/tagnodebuilder.h"
#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textformat.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvo::markup {

namespace pf = orvo::platform;

namespace {

void reportReadError(const std::string& path, pf::Messages& messages)
{
    pf::reportCannotOpen(messages, path, pf::texts::kReadError);
}

// The body without its blanks at both ends: the bytes [begin, end) of the
// buffer it was gathered in.
struct TrimmedBody {
    std::size_t begin;
    std::size_t end;
};

TrimmedBody trimmedBody(std::string_view body)
{
    const std::string_view right = pf::trimRightView(body);
    return {right.size() - pf::trimLeftView(right).size(), right.size()};
}

// The markers a line is classified by. Every one but "-->" begins with "<",
// so a line is looked at only where it holds a "<".
struct LineMarkers {
    bool commentStart = false;
    bool declaration = false;
    bool rootStart = false;
    bool rootEnd = false;
};

// "<" and "-" are below 0x40, so neither is the second byte of a Shift-JIS
// character, and both are ASCII, so neither is part of a UTF-8 sequence: a
// plain byte comparison finds exactly the markers that start on a character.
// `lt` is the position of a "<" in text. The markers hold no line feed, so
// one that matches the bytes after the "<" lies in the line of the "<".
void noteMarker(std::string_view text, std::size_t lt, LineMarkers& found)
{
    const std::string_view rest = text.substr(lt + 1);
    if (rest.empty()) {
        return;
    }
    switch (rest.front()) {
    case '!':
        found.commentStart = found.commentStart || rest.starts_with("!--");
        break;
    case '?':
        found.declaration = true;
        break;
    case 'o':
        found.rootStart = found.rootStart || rest.starts_with("orvo>");
        break;
    case '/':
        found.rootEnd = found.rootEnd || rest.starts_with("/orvo>");
        break;
    default:
        break;
    }
}

// The number of line feeds in text. std::count widens every byte it
// compares to a 64-bit count; here sixteen bytes are compared at a time and
// counted in bytes, which are summed before any can overflow.
std::size_t countLineFeeds(std::string_view text)
{
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t count = 0;
    std::size_t pos = 0;
#if defined(__SSE2__)
    // A byte counter takes 255 blocks before it would wrap.
    constexpr std::size_t kBlocksPerSum = 255;
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    while (pos + 16 <= size) {
        __m128i counts = zero;
        for (std::size_t blocks = 0; blocks < kBlocksPerSum && pos + 16 <= size;
             ++blocks, pos += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
            // A match is all ones, -1: subtracting it adds one.
            counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(bytes, lineFeed));
        }
        // Two sums of eight byte counters each, in the low bits of two
        // 64-bit halves.
        alignas(16) std::uint64_t sums[2];
        _mm_store_si128(reinterpret_cast<__m128i*>(sums), _mm_sad_epu8(counts, zero));
        count += static_cast<std::size_t>(sums[0] + sums[1]);
    }
#endif
    return count + static_cast<std::size_t>(std::count(data + pos, data + size, '\n'));
}

// A line of the text: where its line feed is (or the text's end), and the
// markers in it.
struct ScannedLine {
    std::size_t end;
    LineMarkers markers;
};

// Scans the line that starts at `begin` once, for its line feed and its "<"
// together.
ScannedLine scanLine(std::string_view text, std::size_t begin)
{
    LineMarkers found;
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t pos = begin;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a line of markup holds a "<" or two, so the
    // few positions that pass are looked at one by one.
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i lessThan = _mm_set1_epi8('<');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
        const auto lineFeeds =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)));
        auto tags = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lessThan)));
        if (lineFeeds != 0) {
            // Only the "<" before the first line feed are in this line.
            tags &= (lineFeeds & (0U - lineFeeds)) - 1;
        }
        for (; tags != 0; tags &= tags - 1) {
            noteMarker(text, pos + static_cast<std::size_t>(std::countr_zero(tags)), found);
        }
        if (lineFeeds != 0) {
            return {pos + static_cast<std::size_t>(std::countr_zero(lineFeeds)), found};
        }
    }
#endif
    for (; pos < size && data[pos] != '\n'; ++pos) {
        if (data[pos] == '<') {
            noteMarker(text, pos, found);
        }
    }
    return {pos, found};
}

bool holdsCommentEnd(std::string_view line)
{
    for (std::size_t dash = line.find('-'); dash != std::string_view::npos;
         dash = line.find('-', dash + 1)) {
        if (line.substr(dash).starts_with("-->")) {
            return true;
        }
    }
    return false;
}

} // namespace

// The file is read whole with one read, and the body is gathered at the front
// of that same buffer as its lines are classified: the body lines only ever
// move towards the front, so the document never exists twice in memory.
// Each line is scanned once, for its line feed and its markers together.
std::unique_ptr<TagNode> readMarkup(const std::string& path, pf::Messages& messages,
                                    SourceMap* sourceMap)
{
    SourceMap unused;
    SourceMap& map = sourceMap != nullptr ? *sourceMap : unused;
    map.clear();
    pf::ReadBuffer file;
    if (!file.read(path)) {
        // Also when the file layer failed after a successful open: a
        // half-read body would silently convert a truncated presentation.
        reportReadError(path, messages);
        return nullptr;
    }
    std::size_t length = 0;
    pf::ByteStorage bytes = file.release(length);
    char* const data = bytes.get();
    const std::string_view text(data, length);
    // One entry per line: counted first, so that the map is allocated once at
    // its final size instead of growing by doubling.
    const std::size_t newlines = countLineFeeds(text);
    map.reserve(newlines + (text.empty() || text.back() == '\n' ? 0 : 1), length);
    std::size_t bodySize = 0;
    bool bodyOpen = false;
    bool inComment = false;
    for (std::size_t begin = 0; begin < text.size();) {
        if (inComment) {
            // Comments are few: their lines take the plain way.
            const std::size_t nl = text.find('\n', begin);
            const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
            inComment = !holdsCommentEnd(text.substr(begin, end - begin));
            map.addDroppedLine(bodySize);
            begin = nl == std::string_view::npos ? text.size() : nl + 1;
            continue;
        }
        const ScannedLine line = scanLine(text, begin);
        const std::size_t end = line.end;
        const std::size_t next = end == text.size() ? end : end + 1;
        // Trimming takes a CR before the LF with it; the markers hold no
        // white space, so they lie in the trimmed line exactly when they lie
        // in the raw one.
        bool kept = false;
        if (line.markers.commentStart) {
            inComment = !holdsCommentEnd(text.substr(begin, end - begin));
        } else if (line.markers.declaration) {
            // A declaration: dropped.
        } else if (line.markers.rootStart) {
            bodyOpen = true;
        } else if (line.markers.rootEnd) {
            bodyOpen = false;
        } else if (bodyOpen) {
            std::size_t first = begin;
            std::size_t last = end;
            while (first < last && pf::isSpace(data[first])) {
                ++first;
            }
            while (last > first && pf::isSpace(data[last - 1])) {
                --last;
            }
            map.addBodyLine(bodySize, first - begin);
            std::memmove(data + bodySize, data + first, last - first);
            bodySize += last - first;
            kept = true;
        }
        if (!kept) {
            map.addDroppedLine(bodySize);
        }
        begin = next;
    }
    // The body stays where it was gathered: the root takes the whole buffer
    // and views the trimmed body inside it, so it is never copied.
    const TrimmedBody body = trimmedBody(std::string_view(data, bodySize));
    map.setTrimmedFront(body.begin);
    // What the lines gave up (indents, line ends, comments) lies behind the
    // body now: a large file gives those pages back.
    pf::releaseUnusedBytes(data, body.end, length);
    auto root = std::make_unique<TagNode>("orvo", 1, std::string(), nullptr);
    if (body.end > body.begin) {
        TagNodeBuilder::adoptContent(*root, std::move(bytes), body.begin, body.end);
    }
    return root;
}

} // namespace orvo::markup
