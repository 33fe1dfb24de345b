#include "markup/endtagindex.h"

#include <algorithm>
#include <cstdint>

#include "platform/shorthash.h"

namespace orvo::markup {

namespace {

constexpr std::size_t npos = std::string_view::npos;
// "</" name ">" is this much longer than the name.
constexpr std::size_t kEndTagExtra = 3;
// How far an answer is looked for step by step from the last one before a
// binary search takes over.
constexpr std::size_t kSteps = 4;

} // namespace

// "<" and ">" are below 0x40, so neither can be the second byte of a Shift-JIS
// character, and both are ASCII, so neither is part of a UTF-8 sequence: plain
// byte searches find exactly the occurrences that start on a character.
EndTagIndex::EndTagIndex(std::string_view body, std::size_t begin, std::size_t end) : EndTagIndex()
{
    index(body, begin, end);
}

void EndTagIndex::index(std::string_view body, std::size_t begin, std::size_t end)
{
    for (Name& name : m_names) {
        name.positions.clear();
        name.widePositions.clear();
        name.cursor = 0;
    }
    m_base = begin;
    m_wide = end - begin > UINT32_MAX;
    const std::string_view text = body.substr(0, end);
    std::size_t nextGt = npos;
    bool gtSearched = false;
    // The last name met and its number: an end tag often follows another of
    // the same name (a run of closing speeches).
    std::string_view lastName;
    std::size_t lastNumber = kNoName;
    // A "/" is rarer than a "<" (start tags have none), so the search looks
    // for the "/" of "</".
    for (std::size_t slash = text.find('/', begin + 1); slash != npos;
         slash = text.find('/', slash + 1)) {
        if (text[slash - 1] != '<') {
            continue;
        }
        const std::size_t p = slash - 1;
        // The name of an end tag holds no ">", so the first ">" after "</"
        // closes it; remember that ">" for the "</" that follow before it.
        if (!gtSearched || nextGt < p + 2) {
            nextGt = text.find('>', p + 2);
            gtSearched = true;
        }
        if (nextGt == npos) {
            break;
        }
        const std::string_view name = text.substr(p + 2, nextGt - p - 2);
        if (lastNumber == kNoName || name.size() != lastName.size() ||
            (!name.empty() && name.front() != lastName.front()) || name != lastName) {
            lastNumber = addName(name);
            lastName = name;
        }
        if (m_wide) {
            m_names[lastNumber].widePositions.push_back(p);
        } else {
            m_names[lastNumber].positions.push_back(static_cast<std::uint32_t>(p - m_base));
        }
    }
}

std::uint64_t EndTagIndex::hashOf(std::string_view name)
{
    return platform::shortTextHash(name);
}

std::size_t EndTagIndex::slotOf(std::string_view name, std::uint64_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t held = m_slots[slot];
        if (held == 0 || m_names[held - 1].name == name) {
            return slot;
        }
    }
}

std::size_t EndTagIndex::addName(std::string_view name)
{
    const std::size_t slot = slotOf(name, hashOf(name));
    if (m_slots[slot] != 0) {
        return m_slots[slot] - 1;
    }
    m_names.push_back(Name{name, {}, {}, 0});
    m_slots[slot] = static_cast<std::uint32_t>(m_names.size());
    if (m_names.size() * 2 > m_slots.size()) {
        grow();
    }
    return m_names.size() - 1;
}

void EndTagIndex::grow()
{
    m_slots.assign(m_slots.size() * 2, 0);
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        m_slots[slotOf(m_names[i].name, hashOf(m_names[i].name))] =
            static_cast<std::uint32_t>(i + 1);
    }
}

std::size_t EndTagIndex::numberOf(std::string_view name) const
{
    const std::uint32_t held = m_slots[slotOf(name, hashOf(name))];
    return held == 0 ? kNoName : held - 1;
}

template <typename Position>
std::size_t EndTagIndex::firstAtOrAfter(const std::vector<Position>& positions, std::size_t cursor,
                                        std::size_t from)
{
    // The answer is the first position at or after `from`. From the last
    // answer it lies a few steps ahead when the questions come in document
    // order; otherwise it is searched for.
    const std::size_t size = positions.size();
    std::size_t found = cursor;
    if (found > 0 && positions[found - 1] >= from) {
        return static_cast<std::size_t>(
            std::lower_bound(positions.begin(), positions.begin() + static_cast<long>(found),
                             from) -
            positions.begin());
    }
    const std::size_t stop = std::min(size, found + kSteps);
    while (found < stop && positions[found] < from) {
        ++found;
    }
    if (found == stop && found < size) {
        found = static_cast<std::size_t>(
            std::lower_bound(positions.begin() + static_cast<long>(found), positions.end(), from) -
            positions.begin());
    }
    return found;
}

std::size_t EndTagIndex::first(std::size_t number, std::size_t nameLength, std::size_t from,
                               std::size_t end)
{
    if (number >= m_names.size()) {
        return npos;
    }
    Name& entry = m_names[number];
    std::size_t position = npos;
    if (m_wide) {
        entry.cursor = firstAtOrAfter(entry.widePositions, entry.cursor, from);
        if (entry.cursor < entry.widePositions.size()) {
            position = entry.widePositions[entry.cursor];
        }
    } else {
        // Offsets before the indexed part are asked as its start.
        const std::size_t offset = from < m_base ? 0 : from - m_base;
        entry.cursor = firstAtOrAfter(entry.positions, entry.cursor, offset);
        if (entry.cursor < entry.positions.size()) {
            position = m_base + entry.positions[entry.cursor];
        }
    }
    if (position == npos || position + nameLength + kEndTagExtra > end) {
        return npos;
    }
    return position;
}

} // namespace orvo::markup
