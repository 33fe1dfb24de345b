#pragma once

// Positions of every end tag ("</" name ">") in a document body, grouped by
// name, so that "the first end tag of this name at or after here" costs a
// binary search instead of a scan of the rest of the body. A scan per
// container would make deep nesting quadratic.

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace orvo::markup {

class EndTagIndex {
public:
    // Indexes the end tags that lie wholly inside body[begin, end).
    EndTagIndex(std::string_view body, std::size_t begin, std::size_t end);

    // Position of the first "</name>" that starts at or after `from` and ends at
    // or before `end`; npos when there is none.
    std::size_t first(std::string_view name, std::size_t from, std::size_t end) const;

private:
    std::unordered_map<std::string_view, std::vector<std::size_t>> m_positions;
};

} // namespace orvo::markup
