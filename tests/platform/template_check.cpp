// Compiled, never run, by the template_check tests: with CASE_CONTROL it must
// build; with any other CASE_ it must not, because the template's
// placeholders do not match the arguments given.

#include "platform/textformat.h"

#include <cstdint>
#include <string>

namespace pf = orvo::platform;

[[maybe_unused]] constexpr pf::Template<pf::Text, pf::Number> kLine{"%s=%d"};

std::string check()
{
#if defined(CASE_CONTROL)
    return pf::fillTemplate("%d.html", 3) + pf::fillTemplate(kLine, std::string("x"), 2) +
           pf::fillTemplate("%s %d", "a", std::int64_t{4}) + pf::fillTemplate("no slots") +
           pf::fillLocalTemplate("%s", "x");
#elif defined(CASE_NUMBER_GIVEN_TEXT)
    return pf::fillTemplate("%d.html", std::string("3"));
#elif defined(CASE_TEXT_GIVEN_NUMBER)
    return pf::fillTemplate("Case %s", 3);
#elif defined(CASE_TOO_FEW)
    return pf::fillTemplate("%s and %s", "x");
#elif defined(CASE_TOO_MANY)
    return pf::fillTemplate("%s", "x", "y");
#elif defined(CASE_NONE_GIVEN)
    return pf::fillTemplate("%d.html");
#elif defined(CASE_BOOL)
    return pf::fillTemplate("%d", true);
#elif defined(CASE_CONSTANT_MISUSED)
    return pf::fillTemplate(kLine, 1, 2);
#elif defined(CASE_CONSTANT_MISDECLARED)
    constexpr pf::Template<pf::Number> kWrong{"%s"};
    return pf::fillTemplate(kWrong, 1);
#else
#error "no CASE_ given"
#endif
}
