#include "convert/indexpage.h"

#include "platform/filemessages.h"
#include "platform/standardtexts.h"
#include "platform/textfile.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

std::string indexPageText(int pageCount)
{
    std::string text = "<HTML>\n<HEAD>\n</HEAD>\n<BODY  text =\"00000e\">\n";
    for (int i = 1; i <= pageCount; ++i) {
        const std::string number = pf::toDecimal(i);
        text +=
            pf::fillTemplate("<a href=\"%d.html\" target=\"up_frame\"> %d </a>", {number, number});
    }
    text += "</BODY>\n</HTML>\n";
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

} // namespace orvo::convert
