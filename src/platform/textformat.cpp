#include "platform/textformat.h"

#include <limits>

namespace orvo::platform {

std::string fillTemplate(std::string_view tmpl, std::initializer_list<std::string_view> args)
{
    std::string out;
    out.reserve(tmpl.size() + 64);
    auto next = args.begin();
    for (std::size_t i = 0; i < tmpl.size(); ++i) {
        const bool placeholder =
            tmpl[i] == '%' && i + 1 < tmpl.size() && (tmpl[i + 1] == 's' || tmpl[i + 1] == 'd');
        if (placeholder && next != args.end()) {
            out.append(*next);
            ++next;
            ++i;
        } else {
            out.push_back(tmpl[i]);
        }
    }
    return out;
}

std::string toDecimal(std::int64_t value)
{
    return std::to_string(value);
}

std::int32_t parseLeadingInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) {
            value = limit;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > std::numeric_limits<std::int32_t>::max()) {
        value = std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace orvo::platform
