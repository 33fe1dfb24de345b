#include "convert/navigationbar.h"

#include "convert/pagetemplates.h"
#include "platform/textformat.h"

namespace orvo::convert {

namespace pf = orvo::platform;
namespace tp = templates;

std::string generateNavigationBar(int i, int n)
{
    std::string bar(tp::kNavigationStart.text());
    if (i > 1) {
        bar += pf::fillTemplate(tp::kNavigationPrevious, i - 1);
    }
    bar += pf::fillTemplate(tp::kNavigationNumber, i);
    if (i < n) {
        bar += pf::fillTemplate(tp::kNavigationNext, std::int64_t{i} + 1);
    }
    bar += tp::kNavigationEnd.text();
    return bar;
}

} // namespace orvo::convert
