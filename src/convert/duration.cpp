#include "convert/duration.h"

#include "platform/codepage.h"
#include "platform/textformat.h"

#include <string>

namespace orvo::convert {

namespace pf = orvo::platform;

std::int64_t parseDuration(std::string_view text)
{
    constexpr std::int64_t kSecond = 1000;
    constexpr std::int64_t kMinute = 60 * kSecond;
    constexpr std::int64_t kHour = 60 * kMinute;

    std::string rest = pf::removeChars(text, "s");
    std::int64_t unit = kSecond;
    std::string withoutMinutes = pf::removeChars(rest, "m");
    if (withoutMinutes.size() != rest.size()) {
        unit = kMinute;
    }
    std::string withoutHours = pf::removeChars(withoutMinutes, "h");
    if (withoutHours.size() != withoutMinutes.size()) {
        unit = kHour;
    }
    const std::int32_t count = pf::parseLeadingInt(withoutHours);
    if (count == 0) {
        return -1;
    }
    return count * unit;
}

} // namespace orvo::convert
