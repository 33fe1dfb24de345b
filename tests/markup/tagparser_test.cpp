#include "markup/tagparser.h"

#include <gtest/gtest.h>

#include "markup/endtagindex.h"
#include "markup/pagecontents.h"
#include "platform/codepage.h"
#include "parsertestsupport.h"

using orvo::platform::RecordingMessages;
using orvo::test::dump;
using orvo::test::parse;

namespace {

const char* kUnknownTag = "Unvalid Tag Name!!!";
const char* kNoSingleEnd = "Unable to find the end single /> for tag";

std::string attributeError(const std::string& attribute, const std::string& tag)
{
    return "System can not find the attribute Name:" + attribute + " \n for tag name: " + tag;
}

} // namespace

TEST(TagParser, BuildsTheTreeInDocumentOrder)
{
    auto p = parse("<body>\n<page ref=\"a.html\" id=\"p1\"><speak begin=\"2s\">Hello  world</speak>"
                   "<play act=\"Wave\" />  <emotion type=\"happy\"><speak>Hi</speak></emotion>"
                   "</page><page id=\"p2\"></page></body>");
    ASSERT_TRUE(p->ok);
    EXPECT_TRUE(p->messages.entries().empty());
    EXPECT_EQ(dump(*p->root),
              "orvo[body[page[speak\"Hello  world\" play emotion[speak\"Hi\"]] page]]");
    const auto& page = *p->child(0).getChildren()->at(0);
    EXPECT_EQ(page.getAttribute("ref"), "a.html");
    EXPECT_EQ(page.getAttribute("id"), "p1");
    EXPECT_EQ(page.level(), 2);
    EXPECT_EQ(page.getChildren()->at(0)->getAttribute("begin"), "2s");
    EXPECT_EQ(page.getChildren()->at(1)->getAttribute("act"), "Wave");
    EXPECT_EQ(page.getChildren()->at(1)->getParent(), &page);
    EXPECT_TRUE(p->root->content().empty());
    EXPECT_TRUE(page.content().empty());
}

TEST(TagParser, EmptyAndTextContents)
{
    auto empty = parse("");
    EXPECT_TRUE(empty->ok);
    EXPECT_EQ(empty->root->getChildren(), nullptr);
    EXPECT_FALSE(empty->root->hasText());

    // Text in front of an element swallows the rest, tags included.
    auto text = parse("<speak>say <play act=\"x\"/> this</speak>");
    ASSERT_TRUE(text->ok);
    EXPECT_EQ(dump(*text->root), "orvo[speak\"say <play act=\"x\"/> this\"]");
}

TEST(TagParser, UnknownTagNames)
{
    auto upper = parse("<Page></Page>");
    EXPECT_FALSE(upper->ok);
    ASSERT_EQ(upper->messages.count(), 1U);
    EXPECT_EQ(upper->message(0),
              (RecordingMessages::Entry{RecordingMessages::Kind::Error, kUnknownTag, "Page"}));

    auto stray = parse("<body></speak></body>");
    EXPECT_FALSE(stray->ok);
    ASSERT_EQ(stray->messages.count(), 1U);
    EXPECT_EQ(stray->message(0).caption, "/speak");

    // "/>" straight after the name becomes part of the name.
    auto single = parse("<play/>");
    ASSERT_EQ(single->messages.count(), 1U);
    EXPECT_EQ(single->message(0).text, kUnknownTag);
    EXPECT_EQ(single->message(0).caption, "play/");
}

TEST(TagParser, SameNameNestingClosesAtTheFirstEndTag)
{
    auto p = parse("<page><page>x</page></page>");
    EXPECT_FALSE(p->ok);
    ASSERT_EQ(p->messages.count(), 1U);
    EXPECT_EQ(p->message(0).text, kUnknownTag);
    EXPECT_EQ(p->message(0).caption, "/page");
    // The inner page, left without an end tag, is a sibling-less child whose
    // removal leaves its text to the outer page.
    EXPECT_EQ(dump(*p->root), "orvo[page[page]\"x\"]");
    EXPECT_EQ(p->root->content(), "</page>");
}

TEST(TagParser, FailureLeavesTheUnparsedRestInEveryEnclosingNode)
{
    auto p = parse("<body><page id=\"p\"><speak>a</speak> <bad/> tail</page></body>");
    EXPECT_FALSE(p->ok);
    ASSERT_EQ(p->messages.count(), 1U);
    EXPECT_EQ(p->message(0).caption, "bad/");
    const auto& body = p->child(0);
    const auto& page = *body.getChildren()->at(0);
    EXPECT_EQ(page.content(), "<bad/> tail");
    EXPECT_EQ(body.content(), "<page id=\"p\"><speak>a</speak> <bad/> tail</page>");
    EXPECT_EQ(p->root->content(),
              "<body><page id=\"p\"><speak>a</speak> <bad/> tail</page></body>");
    EXPECT_EQ(dump(*p->root), "orvo[body[page[speak\"a\"]]]");
}

TEST(TagParser, SingleTagWithoutEndMarker)
{
    auto p = parse("<body><play act=\"Wave\"><speak>x</speak></body>");
    EXPECT_TRUE(p->ok);
    ASSERT_EQ(p->messages.count(), 1U);
    EXPECT_EQ(p->message(0).text, kNoSingleEnd);
    EXPECT_EQ(p->message(0).caption, "play");
    EXPECT_EQ(dump(*p->root), "orvo[body[play]\"play act=\"Wave\"><speak>x</speak>\"]");
    EXPECT_EQ(p->child(0).getChildren()->at(0)->getAttribute("act"), "");
}

TEST(TagParser, SingleTagWrittenAsStartAndEndTagRunsToTheNextSingleEnd)
{
    auto p = parse("<body><play act=\"a\"></play><speak>lost</speak><jump des=\"p\"/> "
                   "<speak>kept</speak></body>");
    ASSERT_TRUE(p->ok);
    EXPECT_EQ(dump(*p->root), "orvo[body[play speak\"kept\"]]");
    EXPECT_EQ(p->child(0).getChildren()->at(0)->getAttribute("act"), "a");
}

TEST(TagParser, ContainerWrittenAsSingleTag)
{
    auto p = parse("<body><speak begin=\"1s\"/><speak>x</speak></body>");
    ASSERT_TRUE(p->ok);
    EXPECT_EQ(dump(*p->root), "orvo[body[speak[speak]\"x\"]]");
    EXPECT_EQ(p->child(0).getChildren()->at(0)->getAttribute("begin"), "1s");
}

TEST(TagParser, ContainerWithoutEndTag)
{
    // Without attributes, the elements inside become siblings.
    auto bare = parse("<body><page><speak>x</speak></body>");
    ASSERT_TRUE(bare->ok);
    EXPECT_EQ(dump(*bare->root), "orvo[body[page speak\"x\"]]");

    // With attributes, the rest from the attributes on becomes text.
    auto attributed = parse("<body><page id=\"a\"><speak>x</speak></body>");
    ASSERT_TRUE(attributed->ok);
    EXPECT_EQ(dump(*attributed->root), "orvo[body[page]\"id=\"a\"><speak>x</speak>\"]");
    EXPECT_EQ(attributed->child(0).getChildren()->at(0)->getAttribute("id"), "a");
}

TEST(TagParser, UnterminatedContainerAtTheEndStaysInsideTheContent)
{
    for (const char* content : {"<page", "<body><page</body>", "<page ", "<listen"}) {
        auto p = parse(content);
        EXPECT_TRUE(p->ok) << content;
        EXPECT_TRUE(p->messages.entries().empty()) << content;
        EXPECT_TRUE(p->root->content().empty()) << content;
    }
    EXPECT_EQ(dump(*parse("<page")->root), "orvo[page]");
}

TEST(TagParser, AttributeErrors)
{
    struct Case {
        const char* markup;
        std::string attribute;
        std::string tag;
    };
    const Case cases[] = {
        {"<play />", "", "play"},                                // space before "/>"
        {"<listen ></listen>", "", "listen"},                    // space before ">"
        {"<page ref=a.html></page>", "", "page"},                // unquoted value alone
        {"<page ref=\"d/a.html\" id=\"p\"></page>", "", "page"}, // "/" inside the value
        {"<page ref=\" a\" id=\"p\"></page>", "a\"", "page"},    // value starting with a space
        {"<page ref =\"a\"></page>", "ref ", "page"},            // space before "="
        {"<page Ref=\"a\"></page>", "Ref", "page"},              // case matters
        {"<body x=\"1\"></body>", "x", "body"},
    };
    for (const Case& c : cases) {
        auto p = parse(c.markup);
        EXPECT_FALSE(p->ok) << c.markup;
        ASSERT_EQ(p->messages.count(), 1U) << c.markup;
        EXPECT_EQ(p->message(0).text, attributeError(c.attribute, c.tag)) << c.markup;
        EXPECT_EQ(p->message(0).caption, c.attribute) << c.markup;
        // The failing child is destroyed, not attached.
        EXPECT_EQ(p->root->getChildren(), nullptr) << c.markup;
    }
}

TEST(TagParser, AttributeValues)
{
    auto get = [](const std::string& tag, const std::string& name) {
        auto p = parse(tag);
        EXPECT_TRUE(p->ok) << tag;
        EXPECT_TRUE(p->messages.entries().empty()) << tag;
        return p->root->getChildren() ? p->child(0).getAttribute(name) : std::string("<none>");
    };
    // An unquoted value merges with the quoted item after it.
    EXPECT_EQ(get("<page ref=a.html id=\"p1\"></page>", "ref"), "a.htmlid=p1");
    EXPECT_EQ(get("<page ref=a.html id=\"p1\"></page>", "id"), "");
    // A tab does not end an item.
    EXPECT_EQ(get("<page ref=\"a\"\tid=\"b\"></page>", "ref"), "a\tid=b");
    // A value that begins with "/" is stored empty, and nothing after it is read.
    EXPECT_EQ(get("<page ref=\"/a.html\" id=\"x\"></page>", "ref"), "");
    EXPECT_EQ(get("<page ref=\"/a.html\" id=\"x\"></page>", "id"), "");
    EXPECT_EQ(get("<page ref=\"a = b\"></page>", "ref"), "a=b");
    EXPECT_EQ(get("<page ref=\"\"></page>", "ref"), "");
    EXPECT_EQ(get("<page ref= \"x y\"></page>", "ref"), "xy");
    EXPECT_EQ(get("<page ref=\"one\" ref=\"two\"></page>", "ref"), "two");
    EXPECT_EQ(get("<page   id=\"p\"   ></page>", "id"), "p");
}

TEST(TagParser, ShiftJisTextAndValuesStayWhole)
{
    // ボ (83 7B), マ (83 7D) and ソ (83 5C) in a value and a text.
    const std::string value = "\x83\x7B\x83\x7D";
    const std::string text = "\x83\x5C\x83\x73 <x>";
    orvo::platform::setActiveCodePage(orvo::platform::CodePage::ShiftJis);
    auto p = parse("<page ref=\"" + value + "\"><speak>" + text + "</speak></page>");
    ASSERT_TRUE(p->ok);
    EXPECT_EQ(p->child(0).getAttribute("ref"), value);
    EXPECT_EQ(p->child(0).getChildren()->at(0)->text(), text);
    orvo::platform::setActiveCodePage(orvo::platform::CodePage::Utf8);
}

// The end tag index remembers where its last answer was: an answer asked for
// behind it, or far ahead of it, must still be the first end tag at or after
// the position.
TEST(EndTagIndex, AnswersInAnyOrder)
{
    // "</a>" at 0, 4, 8, ..., 36; "</b>" at 40.
    std::string body;
    for (int i = 0; i < 10; ++i) {
        body += "</a>";
    }
    body += "</b>";
    orvo::markup::EndTagIndex index(body, 0, body.size());
    EXPECT_EQ(index.first("a", 0, body.size()), 0U);
    EXPECT_EQ(index.first("a", 33, body.size()), 36U);
    EXPECT_EQ(index.first("a", 5, body.size()), 8U);
    EXPECT_EQ(index.first("a", 8, body.size()), 8U);
    EXPECT_EQ(index.first("a", 9, body.size()), 12U);
    EXPECT_EQ(index.first("a", 37, body.size()), std::string::npos);
    EXPECT_EQ(index.first("a", 1, body.size()), 4U);
    // An end tag that does not end inside the content does not count.
    EXPECT_EQ(index.first("a", 36, 39), std::string::npos);
    EXPECT_EQ(index.first("b", 0, body.size()), 40U);
    EXPECT_EQ(index.first("c", 0, body.size()), std::string::npos);
}

namespace {

// A node and its subtree with everything a parse sets: names, tag offsets,
// attributes and texts.
std::string fullDump(const orvo::markup::TagNode& node)
{
    std::string out = node.name() + "@" + std::to_string(node.sourceOffset());
    for (const char* attribute : {"ref", "id", "begin", "act", "des", "type", "word"}) {
        if (node.hasAttribute(attribute)) {
            out += std::string(" ") + attribute + "=" + node.getAttribute(attribute);
        }
    }
    if (const auto* children = node.getChildren()) {
        out += "[";
        for (const auto& child : *children) {
            out += fullDump(*child) + " ";
        }
        out += "]";
    }
    return node.hasText() ? out + "\"" + node.text() + "\"" : out;
}

} // namespace

// A document parsed by page gives each page, when it is opened, exactly the
// tags that the whole parse gives it, with the same messages once, and keeps
// copies of the tags inside pages that hold an id.
TEST(TagParser, PagesParsedOneByOneMatchTheWholeTree)
{
    const std::string document =
        "<emotion type=\"x\"><speak id=\"s0\">before</speak></emotion>\n"
        "<body><page ref=\"a.html\" id=\"p1\"><speak begin=\"2s\">Hi</speak>"
        "<emotion type=\"happy\"><speak id=\"deep\">a</speak><play act=\"Wave\"/></emotion></page>"
        "<page id=\"p2\"></page><play act=\"lone\"/>"
        "<page id=\"p3\"><speak>x</speak><speak>open<play act=\"y\"/></speak><listen><word "
        "word=\"a\">yes</word></listen><speak id=\"late\">z</speak><play act=\"no end\"></page>"
        "<page>text only</page><page><listen><speak id=\"inner\">in</speak></listen></page></body>";
    const auto whole = parse(document);
    ASSERT_TRUE(whole->ok) << whole->messages.entries().back().text;
    const auto table = orvo::test::loadTable(orvo::test::kTestTagTypes);
    orvo::markup::PageContents pages(*table);
    orvo::platform::RecordingMessages messages;
    orvo::markup::TagNode root("orvo", 1, document, nullptr);
    ASSERT_TRUE(orvo::markup::parseContentByPage(root, *table, messages, nullptr, pages));
    EXPECT_EQ(messages.entries(), whole->messages.entries());
    ASSERT_EQ(messages.count(), 1U); // the play without its "/>"

    const auto& wholePages = *whole->child(1).getChildren();
    const auto& pagedPages = *root.getChildren()->at(1)->getChildren();
    ASSERT_EQ(pages.body(), root.getChildren()->at(1).get());
    ASSERT_EQ(pages.pageCount(), wholePages.size());
    ASSERT_EQ(pagedPages.size(), wholePages.size());
    for (std::size_t i = 0; i < pagedPages.size(); ++i) {
        orvo::markup::TagNode& page = *pagedPages[i];
        EXPECT_FALSE(page.hasChildren()) << i;
        pages.open(i, page);
        EXPECT_EQ(fullDump(page), fullDump(*wholePages[i])) << i;
        pages.close(page);
        EXPECT_EQ(page.getChildren(), nullptr) << i;
    }
    EXPECT_EQ(messages.count(), 1U);
    ASSERT_EQ(pages.keptIn(0).size(), 1U);
    EXPECT_EQ(fullDump(*pages.keptIn(0)[0]),
              "speak@" + std::to_string(document.find("<speak id=\"deep\"")) + " id=deep");
    EXPECT_EQ(pages.keptIn(0)[0]->getParent(), pagedPages[0].get());
    EXPECT_EQ(pages.keptIn(1).size(), 0U);
    EXPECT_EQ(pages.keptIn(3).size(), 1U); // "late"
    EXPECT_EQ(pages.keptIn(5).size(), 1U); // "inner"
}
