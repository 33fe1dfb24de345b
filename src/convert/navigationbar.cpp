#include "convert/navigationbar.h"

#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;

std::string generateNavigationBar(int i, int n)
{
    std::string bar = "<center>\n";
    if (i > 1) {
        bar += pf::fillTemplate("<a href=\"%d.html\"> <IMG src=\"previous.gif\" border=0></a>\n",
                                {pf::toDecimal(i - 1)});
    }
    bar += pf::fillTemplate("<STRONG><FONT size=6> %d </FONT></STRONG>\n", {pf::toDecimal(i)});
    if (i < n) {
        bar += pf::fillTemplate("<a href=\"%d.html\"> <IMG src=\"next.gif\" border=0></a>\n",
                                {pf::toDecimal(std::int64_t{i} + 1)});
    }
    bar += "</center>\n";
    return bar;
}

} // namespace orvo::convert
