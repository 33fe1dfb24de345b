#pragma once

// Positions of every end tag ("</" name ">") in a document body, grouped by
// name, so that "the first end tag of this name at or after here" costs a
// step or a binary search instead of a scan of the rest of the body. A scan
// per container would make deep nesting quadratic.
//
// The names are numbered as they are met; a parser asks for a name's number
// once and then looks its end tags up by number, without hashing the name
// again.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvo::markup {

class EndTagIndex {
public:
    static constexpr std::size_t kNoName = static_cast<std::size_t>(-1);

    EndTagIndex() : m_slots(kFirstSlots, 0) {}
    // Indexes the end tags that lie wholly inside body[begin, end).
    EndTagIndex(std::string_view body, std::size_t begin, std::size_t end);

    // Indexes body[begin, end) instead, a part of the same body as before:
    // the names met so far keep their numbers, so that a parser of one part
    // after another asks for a name's number once.
    void index(std::string_view body, std::size_t begin, std::size_t end);

    // The number of a name that has end tags in the body; kNoName otherwise.
    std::size_t numberOf(std::string_view name) const;

    // Position of the first end tag of the name numbered `number` (whose
    // name is nameLength bytes long) that starts at or after `from` and ends
    // at or before `end`; npos when there is none or number is kNoName.
    // Each name remembers where its last answer was, so that questions in
    // document order take a step or two each.
    std::size_t first(std::size_t number, std::size_t nameLength, std::size_t from,
                      std::size_t end);

    // The same, by name.
    std::size_t first(std::string_view name, std::size_t from, std::size_t end)
    {
        return first(numberOf(name), name.size(), from, end);
    }

private:
    // A name's end tags, as offsets from the start of the indexed part: 32
    // bits for every part under 4 GiB, which is what the index is sized by
    // (an entry for every end tag of a document).
    struct Name {
        std::string_view name;
        std::vector<std::uint32_t> positions;
        std::vector<std::size_t> widePositions;
        std::size_t cursor = 0;
    };

    // The index of the first of positions at or after `from` (an offset of
    // the same kind), stepping from the cursor.
    template <typename Position>
    static std::size_t firstAtOrAfter(const std::vector<Position>& positions, std::size_t cursor,
                                      std::size_t from);

    static std::uint64_t hashOf(std::string_view name);
    // The slot of name in m_slots: the one that holds it, or the empty one
    // where it would go.
    std::size_t slotOf(std::string_view name, std::uint64_t hash) const;
    std::size_t addName(std::string_view name);
    void grow();

    static constexpr std::size_t kFirstSlots = 64;

    std::vector<Name> m_names;
    std::size_t m_base = 0;
    bool m_wide = false;
    // Open addressing over the names: each slot holds a name's number plus
    // one, or 0 when empty; never more than half full.
    std::vector<std::uint32_t> m_slots;
};

} // namespace orvo::markup
