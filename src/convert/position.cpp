#include "convert/position.h"

#include "convert/treeindex.h"
#include "markup/tagnode.h"
#include "platform/codepage.h"
#include "platform/textformat.h"

#include <array>
#include <string>
#include <string_view>

namespace orvo::convert {

namespace pf = orvo::platform;

namespace {

struct Area {
    std::string_view name;
    Position position;
};

// The named areas of the screen, in the pixel coordinates of the move.
constexpr std::array<Area, 6> kAreas{{
    {"left_top", {0, 0}},
    {"left_middle", {0, 210}},
    {"left_bottom", {0, 360}},
    {"right_top", {600, 0}},
    {"right_middle", {600, 210}},
    {"right_bottom", {600, 360}},
}};

} // namespace

Position resolvePosition(const markup::TagNode& node, const TreeIndex& index)
{
    Position position{pf::parseLeadingInt(node.getAttribute("x")),
                      pf::parseLeadingInt(node.getAttribute("y"))};

    const std::string area = node.getAttribute("area");
    for (const Area& candidate : kAreas) {
        if (candidate.name == area) {
            position = candidate.position;
        }
    }

    const std::string spot = node.getAttribute("spot");
    if (!spot.empty()) {
        if (const markup::TagNode* target = index.findById(spot)) {
            const std::string location = target->getAttribute("location");
            const std::string_view text(location);
            const std::size_t comma = pf::find(text, ",");
            const std::string_view xText = comma == pf::npos ? text : text.substr(0, comma);
            const std::string_view yText =
                comma == pf::npos ? std::string_view() : text.substr(comma + 1);
            position.x = pf::parseLeadingInt(pf::trimView(xText));
            position.y = pf::parseLeadingInt(pf::trimView(yText));
        }
    }
    return position;
}

} // namespace orvo::convert
