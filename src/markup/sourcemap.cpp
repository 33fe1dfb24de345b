#include "markup/sourcemap.h"

#include <algorithm>
#include <bit>

#include "platform/messages.h"

namespace orvo::markup {

namespace {

// The index of the last entry that starts at or before `offset`, plus one;
// 0 when none does.
template <class Entry>
std::size_t linesUpTo(const std::vector<Entry>& entries, unsigned blankBits, std::uint64_t offset)
{
    // The first line that starts after the offset; the one before holds it.
    const auto after = std::upper_bound(entries.begin(), entries.end(), offset,
                                        [blankBits](std::uint64_t value, Entry entry) {
                                            return value < (std::uint64_t{entry} >> blankBits);
                                        });
    return static_cast<std::size_t>(after - entries.begin());
}

} // namespace

void SourceMap::clear()
{
    m_narrow.clear();
    m_wide.clear();
    setNarrowBlankBits(kMostNarrowBlankBits);
    m_wideIndents.clear();
    m_trimmedFront = 0;
}

void SourceMap::setNarrowBlankBits(unsigned bits)
{
    m_wideForm = false;
    m_narrowBlankBits = bits;
    m_narrowBlankMask = (std::uint32_t{1} << bits) - 1;
    m_narrowOffsetLimit = static_cast<std::size_t>(std::uint64_t{1} << (32 - bits));
}

void SourceMap::setWideForm()
{
    m_wideForm = true;
    m_narrowOffsetLimit = 0;
}

void SourceMap::reserve(std::size_t lines, std::size_t bodyBytes)
{
    const auto offsetBits = static_cast<unsigned>(std::bit_width(std::uint64_t{bodyBytes}));
    if (offsetBits > 32) {
        setWideForm();
        m_wide.reserve(lines);
        return;
    }
    setNarrowBlankBits(std::min(32 - offsetBits, kMostNarrowBlankBits));
    m_narrow.reserve(lines);
}

bool SourceMap::addWideIndent(std::size_t leadingBlanks)
{
    const std::size_t index = m_narrow.size();
    if (m_wideIndents.size() >= kFewWideIndents &&
        m_wideIndents.size() >= index / kLinesPerWideIndent) {
        return false;
    }
    m_wideIndents.emplace_back(index, leadingBlanks);
    return true;
}

void SourceMap::widen()
{
    std::vector<std::uint64_t> wide;
    wide.reserve(std::max(m_narrow.capacity(), m_narrow.size() + 1));
    std::vector<std::pair<std::size_t, std::size_t>> wideIndents;
    const std::uint32_t mask = m_narrowBlankMask;
    constexpr std::uint64_t kWideMask = (std::uint64_t{1} << kWideBlankBits) - 1;
    for (std::size_t i = 0; i < m_narrow.size(); ++i) {
        const std::uint32_t entry = m_narrow[i];
        const std::uint64_t offset = entry >> m_narrowBlankBits;
        std::uint64_t blanks = entry & mask;
        if (blanks == mask) {
            blanks = sideBlanksOf(i);
        }
        if (blanks >= kWideMask) {
            wideIndents.emplace_back(i, static_cast<std::size_t>(blanks));
            blanks = kWideMask;
        }
        wide.push_back((offset << kWideBlankBits) | blanks);
    }
    m_wide = std::move(wide);
    m_wideIndents = std::move(wideIndents);
    m_narrow = std::vector<std::uint32_t>();
    setWideForm();
}

void SourceMap::addWide(std::size_t bodyOffset, std::size_t leadingBlanks)
{
    if (!m_wideForm) {
        widen();
    }
    constexpr std::uint64_t kWideMask = (std::uint64_t{1} << kWideBlankBits) - 1;
    std::uint64_t blanks = leadingBlanks;
    if (blanks >= kWideMask) {
        m_wideIndents.emplace_back(m_wide.size(), leadingBlanks);
        blanks = kWideMask;
    }
    m_wide.push_back((static_cast<std::uint64_t>(bodyOffset) << kWideBlankBits) | blanks);
}

std::size_t SourceMap::sideBlanksOf(std::size_t lineIndex) const
{
    const auto wide = std::lower_bound(m_wideIndents.begin(), m_wideIndents.end(), lineIndex,
                                       [](const std::pair<std::size_t, std::size_t>& entry,
                                          std::size_t index) { return entry.first < index; });
    return wide == m_wideIndents.end() || wide->first != lineIndex ? 0 : wide->second;
}

SourcePosition SourceMap::positionOf(std::size_t bodyOffset) const
{
    const std::uint64_t offset = static_cast<std::uint64_t>(bodyOffset) + m_trimmedFront;
    const unsigned blankBits = m_wideForm ? kWideBlankBits : m_narrowBlankBits;
    const std::size_t lines =
        m_wideForm ? linesUpTo(m_wide, blankBits, offset) : linesUpTo(m_narrow, blankBits, offset);
    if (lines == 0) {
        return {};
    }
    const std::size_t index = lines - 1;
    const std::uint64_t entry = m_wideForm ? m_wide[index] : m_narrow[index];
    const std::uint64_t mask = (std::uint64_t{1} << blankBits) - 1;
    const std::uint64_t start = entry >> blankBits;
    const std::uint64_t packed = entry & mask;
    const std::size_t blanks =
        packed == mask ? sideBlanksOf(index) : static_cast<std::size_t>(packed);
    return {index + 1, static_cast<std::size_t>(offset - start) + blanks + 1};
}

void SourceFile::locate(std::size_t bodyOffset, platform::Message& message) const
{
    message.file = path;
    const SourcePosition position = map.positionOf(bodyOffset);
    message.line = position.line;
    message.column = position.column;
}

} // namespace orvo::markup
