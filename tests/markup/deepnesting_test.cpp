// A container can never hold one of its own name, so deep trees need many tag
// names: 20,000 container types t0 ... t19999, nested 20,000 levels deep. None
// of parsing, searching or destroying may recurse per level.

#include <gtest/gtest.h>

#include <vector>

#include "parsertestsupport.h"

using orvo::markup::TagNode;

namespace {

constexpr int kDepth = 20000;

std::string deepTypes()
{
    std::string file;
    for (int i = 0; i < kDepth; ++i) {
        file += "t" + std::to_string(i) + "," + std::to_string(i) + ",children,{id}\n";
    }
    file += "speak,1,children,{}\n";
    return file;
}

std::string deepBody(const std::string& innermost)
{
    std::string body;
    for (int i = 0; i < kDepth; ++i) {
        body += "<t" + std::to_string(i) + " id=\"n" + std::to_string(i) + "\">";
    }
    body += innermost;
    for (int i = kDepth - 1; i >= 0; --i) {
        body += "</t" + std::to_string(i) + ">";
    }
    return body;
}

} // namespace

TEST(DeepNesting, ParsesSearchesAndDestroysWithoutRecursion)
{
    const auto table = orvo::test::loadTable(deepTypes());
    auto p = orvo::test::parse(deepBody("<speak>deep</speak>"), *table);
    ASSERT_TRUE(p->ok);
    EXPECT_TRUE(p->messages.entries().empty());

    TagNode* deepest = p->root->findByName("speak");
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(deepest->text(), "deep");
    EXPECT_EQ(p->root->findById("n19999"), deepest->getParent());
    EXPECT_EQ(p->root->findById("missing"), nullptr);
    EXPECT_EQ(p->root->findByName("missing"), nullptr);
    EXPECT_EQ(deepest->findAncestorOrSelf("t0")->getAttribute("id"), "n0");
    EXPECT_EQ(deepest->findAncestorOrSelf("orvo"), p->root.get());
    std::vector<TagNode*> actions;
    p->root->collectActions(actions);
    ASSERT_EQ(actions.size(), 1U);
    EXPECT_EQ(actions[0], deepest);

    int depth = 0;
    for (TagNode* n = deepest; n->getParent() != nullptr; n = n->getParent()) {
        ++depth;
    }
    EXPECT_EQ(depth, kDepth + 1);
    p->root.reset();
}

TEST(DeepNesting, FailureAtTheBottomReportsOnceAndKeepsViews)
{
    const auto table = orvo::test::loadTable(deepTypes());
    auto p = orvo::test::parse(deepBody("<unknown/>"), *table);
    EXPECT_FALSE(p->ok);
    ASSERT_EQ(p->messages.count(), 1U);
    EXPECT_EQ(p->messages.entries()[0].caption, "unknown/");
    TagNode* bottom = p->root->findById("n19999");
    ASSERT_NE(bottom, nullptr);
    EXPECT_EQ(bottom->content(), "<unknown/>");
    EXPECT_EQ(bottom->getParent()->content().substr(0, 20), "<t19999 id=\"n19999\">");
}
