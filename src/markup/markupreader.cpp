#include "markup/markupreader.h"

#include <string_view>

#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/encoding.h"
#include "platform/filemessages.h"
#include "platform/messages.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::markup {

namespace pf = orvo::platform;

namespace {

bool contains(std::string_view line, std::string_view text)
{
    return pf::find(line, text) != pf::npos;
}

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

std::unique_ptr<TagNode> readMarkup(const std::string& path, pf::Messages& messages,
                                    SourceMap* sourceMap)
{
    SourceMap unused;
    SourceMap& map = sourceMap != nullptr ? *sourceMap : unused;
    map.clear();
    pf::TextReader reader;
    if (!reader.open(path)) {
        map.clear();
        reportReadError(path, messages);
        return nullptr;
    }
    std::string body;
    bool bodyOpen = false;
    bool inComment = false;
    std::string raw;
    while (reader.readLine(raw)) {
        const std::string_view line = pf::trimView(raw);
        if (inComment) {
            inComment = !contains(line, "-->");
            map.addDroppedLine(body.size());
            continue;
        }
        if (contains(line, "<!--")) {
            inComment = !contains(line, "-->");
        } else if (contains(line, "<?")) {
            // A declaration: dropped.
        } else if (contains(line, "<orvo>")) {
            bodyOpen = true;
        } else if (contains(line, "</orvo>")) {
            bodyOpen = false;
        } else if (bodyOpen) {
            map.addBodyLine(body.size(), static_cast<std::size_t>(line.data() - raw.data()));
            body.append(line);
            continue;
        }
        map.addDroppedLine(body.size());
    }
    if (reader.failed()) {
        map.clear();
        // The file layer failed after a successful open (an I/O error, a
        // file that vanished from a network share): a half-read body would
        // silently convert a truncated presentation, so report it as the
        // read error it is.
        reportReadError(path, messages);
        return nullptr;
    }
    reader.close();
    map.setTrimmedFront(trimInPlace(body));
    return std::make_unique<TagNode>("orvo", 1, std::move(body), nullptr);
}

} // namespace orvo::markup
