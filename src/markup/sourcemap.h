#pragma once

// Where the bytes of a document body came from in its markup file. The reader
// joins the trimmed body lines into one buffer and drops comments,
// declarations and the root tag lines; messages about a tag must still name
// the line and column of the file where the tag was written.
//
// One integer per line of the file: the body offset at which the line's
// bytes begin, with the number of blanks trimmed from its front packed into
// its low bits. A lookup is a binary search, so building is linear and each
// lookup logarithmic in the number of lines.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvo::platform {
struct Message;
}

namespace orvo::markup {

struct SourcePosition {
    std::size_t line = 0;   // 1-based; 0 when unknown
    std::size_t column = 0; // 1-based, in bytes
};

class SourceMap {
public:
    void clear();
    void reserve(std::size_t lines) { m_lines.reserve(lines); }

    // The reader's calls, one per line of the file in order: a line whose
    // trimmed bytes were appended at `bodyOffset` after `leadingBlanks` were
    // trimmed from its front, or a line that added nothing to the body.
    // Inline: the reader calls them once per line of the file.
    void addBodyLine(std::size_t bodyOffset, std::size_t leadingBlanks)
    {
        add(bodyOffset, leadingBlanks);
    }
    // A dropped line starts where the next body line will: the lookup takes
    // the last line starting at or before an offset, and a body line that
    // holds the offset always comes after the dropped lines before it.
    void addDroppedLine(std::size_t bodyLength) { add(bodyLength, 0); }
    // The joined body lost this many bytes at its front when it was trimmed.
    void setTrimmedFront(std::size_t bytes) { m_trimmedFront = bytes; }

    // The line and column of the byte at `bodyOffset` of the trimmed body;
    // {0, 0} when the map holds no line for it.
    SourcePosition positionOf(std::size_t bodyOffset) const;

    std::size_t lineCount() const { return m_lines.size(); }

private:
    static constexpr unsigned kBlankBits = 16;
    static constexpr std::uint64_t kWideIndent = (std::uint64_t{1} << kBlankBits) - 1;

    void add(std::size_t bodyOffset, std::size_t leadingBlanks)
    {
        std::uint64_t blanks = leadingBlanks;
        if (blanks >= kWideIndent) {
            addWideIndent(leadingBlanks);
            blanks = kWideIndent;
        }
        m_lines.push_back((static_cast<std::uint64_t>(bodyOffset) << kBlankBits) | blanks);
    }
    // Keeps the blanks of the line about to be added, which are too many
    // for its entry.
    void addWideIndent(std::size_t leadingBlanks);
    std::size_t blanksOf(std::size_t lineIndex) const;

    std::vector<std::uint64_t> m_lines;
    // The few lines indented by kWideIndent blanks or more: (index, blanks),
    // in line order.
    std::vector<std::pair<std::size_t, std::size_t>> m_wideIndents;
    std::size_t m_trimmedFront = 0;
};

// A markup file and the map of its body: what a message about a tag needs.
struct SourceFile {
    std::string path;
    SourceMap map;

    // Names the file in `message` and, when the map knows the offset, the
    // line and column of the body byte at `bodyOffset`.
    void locate(std::size_t bodyOffset, platform::Message& message) const;
};

} // namespace orvo::markup
