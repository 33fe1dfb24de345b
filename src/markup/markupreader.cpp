#include "markup/markupreader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/forwardfind.h"
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

// Trims the body in place: the tail first, then one shift of the rest to the
// front, so a large body is never copied whole. Returns the bytes removed at
// the front.
std::size_t trimInPlace(std::string& body)
{
    const std::string_view right = pf::trimRightView(body);
    body.resize(right.size());
    const std::size_t lead = body.size() - pf::trimLeftView(body).size();
    body.erase(0, lead);
    return lead;
}

} // namespace

// The file is read whole with one read, and the body is gathered at the front
// of that same buffer as its lines are classified: the body lines only ever
// move towards the front, so the document never exists twice in memory.
// Each marker is looked for with one forward scan of the whole file rather
// than once per line.
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
    std::string text = file.take();
    // One entry per line: counted first, so that the map is allocated once at
    // its final size instead of growing by doubling.
    const auto newlines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    map.reserve(newlines + (text.empty() || text.back() == '\n' ? 0 : 1));
    pf::ForwardFind commentStart("<!--");
    pf::ForwardFind commentEnd("-->");
    pf::ForwardFind declaration("<?");
    pf::ForwardFind rootStart("<orvo>");
    pf::ForwardFind rootEnd("</orvo>");
    for (pf::ForwardFind* find : {&commentStart, &commentEnd, &declaration, &rootStart, &rootEnd}) {
        find->restart(text);
    }
    std::size_t bodySize = 0;
    bool bodyOpen = false;
    bool inComment = false;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t nl = text.find('\n', begin);
        const std::size_t end = nl == std::string::npos ? text.size() : nl;
        const std::size_t next = nl == std::string::npos ? text.size() : nl + 1;
        // Trimming takes a CR before the LF with it; the markers hold no
        // white space, so they lie in the trimmed line exactly when they lie
        // in the raw one.
        bool kept = false;
        if (inComment || commentStart.within(begin, end)) {
            inComment = !commentEnd.within(begin, end);
        } else if (declaration.within(begin, end)) {
            // A declaration: dropped.
        } else if (rootStart.within(begin, end)) {
            bodyOpen = true;
        } else if (rootEnd.within(begin, end)) {
            bodyOpen = false;
        } else if (bodyOpen) {
            const std::string_view raw = std::string_view(text).substr(begin, end - begin);
            const std::string_view line = pf::trimView(raw);
            map.addBodyLine(bodySize, static_cast<std::size_t>(line.data() - raw.data()));
            std::memmove(text.data() + bodySize, line.data(), line.size());
            bodySize += line.size();
            kept = true;
        }
        if (!kept) {
            map.addDroppedLine(bodySize);
        }
        begin = next;
    }
    text.resize(bodySize);
    map.setTrimmedFront(trimInPlace(text));
    return std::make_unique<TagNode>("orvo", 1, std::move(text), nullptr);
}

} // namespace orvo::markup
