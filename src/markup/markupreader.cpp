#include "markup/markupreader.h"

#include <algorithm>
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
LineMarkers markersOf(std::string_view line)
{
    LineMarkers found;
    for (std::size_t lt = line.find('<'); lt != std::string_view::npos;
         lt = line.find('<', lt + 1)) {
        const std::string_view rest = line.substr(lt + 1);
        if (rest.empty()) {
            break;
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
    return found;
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
// Each line is scanned once, for its line feed and then for its markers.
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
    const auto newlines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    map.reserve(newlines + (text.empty() || text.back() == '\n' ? 0 : 1));
    std::size_t bodySize = 0;
    bool bodyOpen = false;
    bool inComment = false;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t nl = text.find('\n', begin);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        // Trimming takes a CR before the LF with it; the markers hold no
        // white space, so they lie in the trimmed line exactly when they lie
        // in the raw one.
        const std::string_view raw = text.substr(begin, end - begin);
        bool kept = false;
        if (inComment) {
            inComment = !holdsCommentEnd(raw);
        } else {
            const LineMarkers markers = markersOf(raw);
            if (markers.commentStart) {
                inComment = !holdsCommentEnd(raw);
            } else if (markers.declaration) {
                // A declaration: dropped.
            } else if (markers.rootStart) {
                bodyOpen = true;
            } else if (markers.rootEnd) {
                bodyOpen = false;
            } else if (bodyOpen) {
                std::size_t first = 0;
                std::size_t last = raw.size();
                while (first < last && pf::isSpace(raw[first])) {
                    ++first;
                }
                while (last > first && pf::isSpace(raw[last - 1])) {
                    --last;
                }
                map.addBodyLine(bodySize, first);
                std::memmove(data + bodySize, raw.data() + first, last - first);
                bodySize += last - first;
                kept = true;
            }
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
    auto root = std::make_unique<TagNode>("orvo", 1, std::string(), nullptr);
    if (body.end > body.begin) {
        TagNodeBuilder::adoptContent(*root, std::move(bytes), body.begin, body.end);
    }
    return root;
}

} // namespace orvo::markup
