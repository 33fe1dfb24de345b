#include "convert/navigationbar.h"

#include "convert/pagetemplates.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

std::string generateNavigationBar(int i, int n)
{
    std::string bar;
    appendNavigationBar(bar, i, n);
    return bar;
}

void appendNavigationBar(std::string& out, int i, int n)
{
    out += tp::kNavigationStart.text();
    if (i > 1) {
        pf::appendTemplate(out, tp::kNavigationPrevious, i - 1);
    }
    pf::appendTemplate(out, tp::kNavigationNumber, i);
    if (i < n) {
        pf::appendTemplate(out, tp::kNavigationNext, std::int64_t{i} + 1);
    }
    out += tp::kNavigationEnd.text();
}

} // namespace orvo::convert
