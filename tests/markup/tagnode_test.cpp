#include "markup/tagnode.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using orvo::markup::TagNode;

namespace {

TagNode& add(TagNode& parent, const std::string& name, const std::string& id = {})
{
    auto child = std::make_unique<TagNode>(name, 2, std::string(), &parent);
    if (!id.empty()) {
        child->setAttribute("id", id);
    }
    return parent.appendChild(std::move(child));
}

std::vector<std::string> names(const std::vector<TagNode*>& nodes)
{
    std::vector<std::string> out;
    for (const TagNode* n : nodes) {
        out.push_back(n->name() + ":" + n->getAttribute("id"));
    }
    return out;
}

// orvo
//   body
//     page id=p1
//       emotion
//         speak id=s1
//       listen id=l1
//         word
//           speak id=s2
//     page id=p2
//       speak id=s3
//       page id=inner
struct Sample {
    TagNode root{"orvo", 1, std::string(), nullptr};
    TagNode* p1;
    TagNode* p2;
    TagNode* s1;
    TagNode* s2;
    Sample()
    {
        TagNode& body = add(root, "body");
        p1 = &add(body, "page", "p1");
        s1 = &add(add(*p1, "emotion"), "speak", "s1");
        s2 = &add(add(add(*p1, "listen", "l1"), "word"), "speak", "s2");
        p2 = &add(body, "page", "p2");
        add(*p2, "speak", "s3");
        add(*p2, "page", "inner");
    }
};

} // namespace

TEST(TagNode, AttributesAndChildrenAccess)
{
    TagNode node("speak", 3, std::string(), nullptr);
    EXPECT_EQ(node.getAttribute("type"), "");
    node.setAttribute("type", "");
    EXPECT_EQ(node.getAttribute("type"), "");
    node.setAttribute("type", "a");
    node.setAttribute("type", "b");
    EXPECT_EQ(node.getAttribute("type"), "b");
    EXPECT_EQ(node.attributeCount(), 1U);
    // No child yet: none, not an empty array.
    EXPECT_EQ(node.getChildren(), nullptr);
    add(node, "x");
    const TagNode::Children* children = node.getChildren();
    ASSERT_NE(children, nullptr);
    EXPECT_EQ(children->size(), 1U);
    EXPECT_EQ(children->front()->getParent(), &node);
}

TEST(TagNode, ClearKeepsNameTextFlagsAndContent)
{
    TagNode node("page", 2, "<speak>x</speak>", nullptr);
    node.setText("t");
    node.setAttribute("ref", "a.html");
    add(node, "speak");
    node.clear();
    EXPECT_EQ(node.attributeCount(), 0U);
    EXPECT_EQ(node.name(), "page");
    EXPECT_EQ(node.text(), "t");
    EXPECT_TRUE(node.hasChildren());
    EXPECT_EQ(node.content(), "<speak>x</speak>");
    const TagNode::Children* children = node.getChildren();
    ASSERT_NE(children, nullptr);
    EXPECT_TRUE(children->empty());
}

TEST(TagNode, FindByNameIsPreOrder)
{
    Sample s;
    EXPECT_EQ(s.root.findByName("orvo"), &s.root);
    EXPECT_EQ(s.root.findByName("page"), s.p1);
    EXPECT_EQ(s.root.findByName("speak"), s.s1);
    EXPECT_EQ(s.p2->findByName("page"), s.p2);
    EXPECT_EQ(s.root.findByName("missing"), nullptr);
}

TEST(TagNode, FindByIdIncludingTheEmptyId)
{
    Sample s;
    EXPECT_EQ(s.root.findById("s2"), s.s2);
    EXPECT_EQ(s.root.findById("inner")->getParent(), s.p2);
    EXPECT_EQ(s.root.findById(""), &s.root);
    EXPECT_EQ(s.p1->findById(""), s.p1->getChildren()->front().get());
    EXPECT_EQ(s.root.findById("nope"), nullptr);
}

TEST(TagNode, FindAncestorOrSelf)
{
    Sample s;
    EXPECT_EQ(s.s1->findAncestorOrSelf("speak"), s.s1);
    EXPECT_EQ(s.s1->findAncestorOrSelf("emotion"), s.s1->getParent());
    EXPECT_EQ(s.s2->findAncestorOrSelf("page"), s.p1);
    EXPECT_EQ(s.s2->findAncestorOrSelf("emotion"), nullptr);
}

TEST(TagNode, CollectActionsStopsAtActionTags)
{
    Sample s;
    std::vector<TagNode*> actions;
    s.root.collectActions(actions);
    EXPECT_EQ(names(actions), (std::vector<std::string>{"speak:s1", "listen:l1", "speak:s3"}));
    actions.clear();
    s.s1->collectActions(actions);
    EXPECT_EQ(names(actions), (std::vector<std::string>{"speak:s1"}));
    // The list is appended to, not replaced.
    s.p2->collectActions(actions);
    EXPECT_EQ(actions.size(), 2U);
}

TEST(TagNode, WalksFollowTheFlagNotTheArray)
{
    TagNode node("page", 2, std::string(), nullptr);
    add(node, "speak");
    node.clear(); // children gone, flag still set
    EXPECT_EQ(node.findByName("speak"), nullptr);
    std::vector<TagNode*> actions;
    node.collectActions(actions);
    EXPECT_TRUE(actions.empty());
}
