#include "convert/indexpage.h"

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

} // namespace

std::string indexPageText(int pageCount)
{
    std::string text(tp::kIndexPageStart.text());
    for (int i = 1; i <= pageCount; ++i) {
        text += pf::fillTemplate(tp::kIndexPageLink, i, i);
    }
    text += tp::kIndexPageEnd.text();
    return text;
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
    if (!output.writeNewFile(kIndexPageName, pf::withCrLf(indexPageText(pageCount)))) {
        pf::reportCannotOpen(messages, output.pathOf(kIndexPageName), pf::texts::kWriteOutError);
        return false;
    }
    return true;
}

} // namespace orvo::convert
