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
//
// The integer takes 32 bits for a body under 4 GiB: the offsets take as many
// bits as the body's size needs (26 for 50 MB) and the blanks the rest. A
// line indented further than its bits hold keeps its blanks in a side list
// of the few such lines. A map whose offsets outgrow 32 bits, or whose side
// list grows past one line in eight, changes once to 64 bits per line with 16
// bits for the blanks.

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
    // Room for `lines` lines of a body of at most `bodyBytes` bytes (the
    // size of the file it is gathered from); called on an empty map. Bigger
    // offsets are still kept, in the wider form.
    void reserve(std::size_t lines, std::size_t bodyBytes);

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

    std::size_t lineCount() const { return m_wideForm ? m_wide.size() : m_narrow.size(); }

private:
    // The blanks' bits in the 64-bit form.
    static constexpr unsigned kWideBlankBits = 16;
    // At most this many bits for the blanks in the 32-bit form: the offsets
    // keep at least 16.
    static constexpr unsigned kMostNarrowBlankBits = 16;
    // The side list may hold one line in this many before the map turns to
    // the 64-bit form, where a line costs 8 bytes however it is indented...
    static constexpr std::size_t kLinesPerWideIndent = 8;
    // ...once it holds this many: a few deep indents in a short file are
    // cheaper where they are.
    static constexpr std::size_t kFewWideIndents = 256;

    void add(std::size_t bodyOffset, std::size_t leadingBlanks)
    {
        if (bodyOffset < m_narrowOffsetLimit) {
            const std::uint32_t mask = m_narrowBlankMask;
            std::uint32_t blanks = mask;
            if (leadingBlanks < mask) {
                blanks = static_cast<std::uint32_t>(leadingBlanks);
            } else if (leadingBlanks != 0 && !addWideIndent(leadingBlanks)) {
                addWide(bodyOffset, leadingBlanks);
                return;
            }
            m_narrow.push_back((static_cast<std::uint32_t>(bodyOffset) << m_narrowBlankBits) |
                               blanks);
            return;
        }
        addWide(bodyOffset, leadingBlanks);
    }
    // Keeps the blanks of the line about to be added, which are too many
    // for its entry in the 32-bit form; false when the side list would grow
    // too long and the map is to change form instead.
    bool addWideIndent(std::size_t leadingBlanks);
    // Adds a line in the 64-bit form, changing the map to it first.
    void addWide(std::size_t bodyOffset, std::size_t leadingBlanks);
    void widen();
    void setNarrowBlankBits(unsigned bits);
    void setWideForm();
    // The blanks of a line whose entry has no room for them.
    std::size_t sideBlanksOf(std::size_t lineIndex) const;

    // One of the two, as m_wideForm says.
    std::vector<std::uint32_t> m_narrow;
    std::vector<std::uint64_t> m_wide;
    bool m_wideForm = false;
    unsigned m_narrowBlankBits = kMostNarrowBlankBits;
    std::uint32_t m_narrowBlankMask = (std::uint32_t{1} << kMostNarrowBlankBits) - 1;
    // The offsets that the 32-bit form holds lie below this; 0 in the 64-bit
    // form.
    std::size_t m_narrowOffsetLimit = std::size_t{1} << (32 - kMostNarrowBlankBits);
    // The lines whose entries have no room for their blanks: (index,
    // blanks), in line order.
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
