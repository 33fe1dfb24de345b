#include "markup/endtagindex.h"

#include <algorithm>

namespace orvo::markup {

// "<" and ">" are below 0x40, so neither can be the second byte of a Shift-JIS
// character, and both are ASCII, so neither is part of a UTF-8 sequence: plain
// byte searches find exactly the occurrences that start on a character.
EndTagIndex::EndTagIndex(std::string_view body, std::size_t begin, std::size_t end)
{
    const std::string_view text = body.substr(0, end);
    std::size_t nextGt = std::string_view::npos;
    bool gtSearched = false;
    for (std::size_t p = text.find("</", begin); p != std::string_view::npos;
         p = text.find("</", p + 1)) {
        // The name of an end tag holds no ">", so the first ">" after "</"
        // closes it; remember that ">" for the "</" that follow before it.
        if (!gtSearched || nextGt < p + 2) {
            nextGt = text.find('>', p + 2);
            gtSearched = true;
        }
        if (nextGt == std::string_view::npos) {
            break;
        }
        m_positions[text.substr(p + 2, nextGt - p - 2)].push_back(p);
    }
}

std::size_t EndTagIndex::first(std::string_view name, std::size_t from, std::size_t end) const
{
    const auto it = m_positions.find(name);
    if (it == m_positions.end()) {
        return std::string_view::npos;
    }
    const std::vector<std::size_t>& positions = it->second;
    const auto found = std::lower_bound(positions.begin(), positions.end(), from);
    if (found == positions.end() || *found + name.size() + 3 > end) {
        return std::string_view::npos;
    }
    return *found;
}

} // namespace orvo::markup
