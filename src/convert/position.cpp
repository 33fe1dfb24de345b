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
    // Every page and every move asks: the values are read in place.
    static const markup::TagNode::AttributeKey kX("x");
    static const markup::TagNode::AttributeKey kY("y");
    static const markup::TagNode::AttributeKey kArea("area");
    static const markup::TagNode::AttributeKey kSpot("spot");
    static const markup::TagNode::AttributeKey kLocation("location");
    const auto valueOf = [](const markup::TagNode& tag, markup::TagNode::AttributeKey key) {
        const std::string_view* value = tag.attribute(key);
        return value == nullptr ? std::string_view() : *value;
    };
    Position position{pf::parseLeadingInt(valueOf(node, kX)),
                      pf::parseLeadingInt(valueOf(node, kY))};

    const std::string_view area = valueOf(node, kArea);
    for (const Area& candidate : kAreas) {
        if (candidate.name == area) {
            position = candidate.position;
        }
    }

    const std::string_view spot = valueOf(node, kSpot);
    if (!spot.empty()) {
        if (const markup::TagNode* target = index.findById(spot)) {
            const std::string_view text = valueOf(*target, kLocation);
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
