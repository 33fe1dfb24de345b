#include "convert/animationnames.h"

#include "platform/codepage.h"

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

bool endsWith(std::string_view text, std::string_view tail)
{
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "idle<digits>_<digits>".
bool isIdleVariant(std::string_view key)
{
    if (key.substr(0, 4) != "idle") {
        return false;
    }
    std::size_t i = 4;
    const std::size_t firstDigits = i;
    while (i < key.size() && isDigit(key[i])) {
        ++i;
    }
    if (i == firstDigits || i >= key.size() || key[i] != '_') {
        return false;
    }
    const std::size_t secondDigits = ++i;
    while (i < key.size() && isDigit(key[i])) {
        ++i;
    }
    return i > secondDigits && i == key.size();
}

} // namespace

AnimationNames AnimationNames::fromList(std::string_view list)
{
    AnimationNames names;
    while (!list.empty()) {
        const std::size_t end = list.find('\n');
        const std::string_view line = pf::trimView(list.substr(0, end));
        if (!line.empty()) {
            names.m_names.emplace(line);
        }
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
    }
    return names;
}

bool AnimationNames::knows(std::string_view name) const
{
    return resolves(pf::toLower(pf::trimView(name)));
}

// The runtime's resolution, step by step; a "return" or "blink" suffix is
// cut off and the shorter key resolved in the next round.
bool AnimationNames::resolves(std::string key) const
{
    while (!key.empty()) {
        if (direct(key)) {
            return true;
        }
        if (endsWith(key, "return")) {
            key.resize(key.size() - 6);
            continue;
        }
        if (endsWith(key, "blink") && key.size() > 5) {
            key.resize(key.size() - 5);
            continue;
        }
        if (isIdleVariant(key)) {
            return true; // an idle beyond the table plays the first of its level
        }
        std::size_t digits = key.size();
        while (digits > 0 && isDigit(key[digits - 1])) {
            --digits;
        }
        if (digits < key.size()) {
            const std::string number = key.substr(digits);
            std::string base = key.substr(0, digits);
            if (!base.empty() && base.back() == '_') {
                base.pop_back();
            }
            return direct(base + number) || direct(base) || direct(base + "1");
        }
        return direct(key + "1");
    }
    return false;
}

} // namespace orvo::convert
