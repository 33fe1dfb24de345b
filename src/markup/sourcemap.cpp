#include "markup/sourcemap.h"

#include <algorithm>

#include "platform/messages.h"

namespace orvo::markup {

void SourceMap::clear()
{
    m_lines.clear();
    m_wideIndents.clear();
    m_trimmedFront = 0;
}

void SourceMap::addWideIndent(std::size_t leadingBlanks)
{
    m_wideIndents.emplace_back(m_lines.size(), leadingBlanks);
}

std::size_t SourceMap::blanksOf(std::size_t lineIndex) const
{
    const std::uint64_t blanks = m_lines[lineIndex] & kWideIndent;
    if (blanks != kWideIndent) {
        return static_cast<std::size_t>(blanks);
    }
    const auto wide = std::lower_bound(m_wideIndents.begin(), m_wideIndents.end(), lineIndex,
                                       [](const std::pair<std::size_t, std::size_t>& entry,
                                          std::size_t index) { return entry.first < index; });
    return wide == m_wideIndents.end() ? 0 : wide->second;
}

SourcePosition SourceMap::positionOf(std::size_t bodyOffset) const
{
    const std::uint64_t offset = static_cast<std::uint64_t>(bodyOffset) + m_trimmedFront;
    // The first line that starts after the offset; the one before holds it.
    const auto after = std::upper_bound(
        m_lines.begin(), m_lines.end(), offset,
        [](std::uint64_t value, std::uint64_t entry) { return value < (entry >> kBlankBits); });
    if (after == m_lines.begin()) {
        return {};
    }
    const auto index = static_cast<std::size_t>(after - m_lines.begin()) - 1;
    const std::uint64_t start = m_lines[index] >> kBlankBits;
    return {index + 1, static_cast<std::size_t>(offset - start) + blanksOf(index) + 1};
}

void SourceFile::locate(std::size_t bodyOffset, platform::Message& message) const
{
    message.file = path;
    const SourcePosition position = map.positionOf(bodyOffset);
    message.line = position.line;
    message.column = position.column;
}

} // namespace orvo::markup
