#pragma once

// Screen positions of the agent character, in the pixels its move takes.

#include <cstdint>

#include "convert/forward.h"

namespace orvo::convert {

struct Position {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Position&) const = default;
};

// The position a tag names, each later source overriding the earlier: the
// integers of "x" and "y"; then one of the six named "area"s; then the
// "location" ("x,y") of the node whose "id" is the tag's "spot". A spot that
// names no node keeps the position from "x", "y" and "area".
Position resolvePosition(const markup::TagNode& node, const TreeIndex& index);

} // namespace orvo::convert
