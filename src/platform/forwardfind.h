#pragma once

// The first occurrence of a needle at or after a position that only moves
// forward through one text: the last answer stands until the position passes
// it, so a text split into lines is scanned once per needle, however many
// lines are asked about. Searches are multibyte-aware (codepage.h); every
// position asked about must lie on a character boundary (a line start does).

#include <cstddef>
#include <string_view>

#include "platform/codepage.h"

namespace orvo::platform {

class ForwardFind {
public:
    explicit ForwardFind(std::string_view needle) : m_needle(needle) {}

    void restart(std::string_view text)
    {
        m_text = text;
        m_valid = false;
    }

    std::size_t next(std::size_t from)
    {
        if (!m_valid || from < m_from || (m_pos != npos && m_pos < from)) {
            m_pos = find(m_text, m_needle, from);
            m_from = from;
            m_valid = true;
        }
        return m_pos;
    }

    // Whether the needle starts in text[begin, end); a needle without line
    // feeds that starts inside a line also ends inside it.
    bool within(std::size_t begin, std::size_t end) { return next(begin) < end; }

private:
    std::string_view m_needle;
    std::string_view m_text;
    bool m_valid = false;
    std::size_t m_from = 0;
    std::size_t m_pos = npos;
};

} // namespace orvo::platform
