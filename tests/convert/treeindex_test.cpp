#include "convert/treeindex.h"

#include "convert/convertsupport.h"
#include "markup/tagnode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace {

using orvo::convert::TreeIndex;
using orvo::markup::TagNode;

// A pseudo-random tree of a few thousand nodes: few distinct ids, so most are
// shared by several nodes at different depths; "agent" tags here and there.
// Every answer of the index must equal the tree's own pre-order search.
TEST(TreeIndex, AnswersEqualThePreOrderSearches)
{
    for (std::uint32_t seed : {1U, 7U, 12345U}) {
        SCOPED_TRACE(seed);
        std::uint32_t state = seed;
        const auto next = [&state](std::uint32_t bound) {
            state = state * 1664525U + 1013904223U;
            return (state >> 8) % bound;
        };
        TagNode root("orvo", 1, std::string(), nullptr);
        std::vector<TagNode*> nodes{&root};
        std::set<std::string> ids{"", "unused"};
        for (int k = 0; k < 3000; ++k) {
            TagNode& parent = *nodes[next(static_cast<std::uint32_t>(nodes.size()))];
            const char* names[] = {"page", "speak", "agent", "emotion"};
            std::map<std::string, std::string> attributes;
            if (next(3) != 0) {
                const std::string id = "id" + std::to_string(next(40));
                attributes["id"] = id;
                ids.insert(id);
            }
            nodes.push_back(&orvo::test::addChild(parent, names[next(4)], attributes));
        }
        TreeIndex index(root);
        for (const std::string& id : ids) {
            EXPECT_EQ(index.findById(id), root.findById(id)) << id;
        }
        EXPECT_EQ(index.findById(""), &root);
        EXPECT_EQ(index.findById("unused"), nullptr);
        EXPECT_EQ(index.agent(), root.findByName("agent"));
    }
}

TEST(TreeIndex, TreeWithoutAgent)
{
    TagNode root("orvo", 1, std::string(), nullptr);
    orvo::test::addChild(orvo::test::addChild(root, "body"), "page", {{"id", "p"}});
    TreeIndex index(root);
    EXPECT_EQ(index.agent(), nullptr);
    EXPECT_EQ(index.findById("p"), root.findById("p"));
    EXPECT_EQ(index.findById("P"), nullptr);
}

} // namespace
