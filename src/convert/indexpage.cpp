#include "convert/indexpage.h"

#include <algorithm>
#include <string_view>

#include "convert/pagetemplates.h"
#include "platform/filemessages.h"
#include "platform/files.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

namespace {

constexpr std::string_view kIndexPageName = "debugMain.html";

// How much of the index page is written at a time.
constexpr std::size_t kPieceSize = std::size_t{64} << 10;

// The links are appended as they are: they hold no line end.
static_assert(tp::kIndexPageLink.text().find('\n') == std::string_view::npos);

// The text, its start and end put in by `appendText`, in one allocation: a
// large presentation's index page is megabytes, made while the whole tree is
// held.
template <class AppendText> std::string indexPage(int pageCount, AppendText appendText)
{
    std::string widest;
    pf::appendTemplate(widest, tp::kIndexPageLink, pageCount, pageCount);
    std::string text;
    text.reserve(2 * (tp::kIndexPageStart.text().size() + tp::kIndexPageEnd.text().size()) +
                 widest.size() * static_cast<std::size_t>(std::max(pageCount, 0)));
    appendText(text, tp::kIndexPageStart.text());
    for (int i = 1; i <= pageCount; ++i) {
        pf::appendTemplate(text, tp::kIndexPageLink, i, i);
    }
    appendText(text, tp::kIndexPageEnd.text());
    return text;
}

} // namespace

std::string indexPageText(int pageCount)
{
    return indexPage(pageCount, [](std::string& out, std::string_view text) { out += text; });
}

bool writeIndexPage(const std::string& path, int pageCount, pf::Messages& messages)
{
    if (!pf::writeTextFile(path, indexPageText(pageCount))) {
        pf::reportCannotOpen(messages, path, pf::texts::kWriteOutError);
        return false;
    }
    return true;
}

bool writeIndexPage(const pf::OpenFolder& output, int pageCount, pf::Messages& messages)
{
    // Written piece by piece: a large presentation's index page is
    // megabytes, made while the page tags are held.
    std::string piece;
    bool started = false;
    bool ended = false;
    int link = 1;
    const auto nextPiece = [&]() -> std::string_view {
        piece.clear();
        if (!started) {
            pf::appendWithCrLf(piece, tp::kIndexPageStart.text());
            started = true;
        }
        for (; link <= pageCount && piece.size() < kPieceSize; ++link) {
            pf::appendTemplate(piece, tp::kIndexPageLink, link, link);
        }
        if (link > pageCount && !ended && piece.size() < kPieceSize) {
            pf::appendWithCrLf(piece, tp::kIndexPageEnd.text());
            ended = true;
        }
        return piece;
    };
    if (!output.writeNewFileInPieces(kIndexPageName, nextPiece)) {
        pf::reportCannotOpen(messages, output.pathOf(kIndexPageName), pf::texts::kWriteOutError);
        return false;
    }
    return true;
}

} // namespace orvo::convert
