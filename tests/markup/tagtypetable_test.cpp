#include "markup/tagtypetable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/messages.h"
#include "support/tempdir.h"

using orvo::markup::TagType;
using orvo::markup::TagTypeTable;
using orvo::platform::RecordingMessages;
using orvo::test::TempDir;
using Strings = std::vector<std::string>;

namespace {

struct Loaded {
    TempDir dir;
    TagTypeTable table;
    RecordingMessages messages;
    bool ok = false;
    explicit Loaded(const std::string& file)
    {
        table.setFileName(dir.write("tags.txt", file));
        ok = table.load(messages);
    }
    const TagType& type(const std::string& name)
    {
        const TagType* t = table.lookup(name);
        EXPECT_NE(t, nullptr) << name;
        static const TagType none("", 0, true);
        return t != nullptr ? *t : none;
    }
};

Strings sortedLines(const std::string& text)
{
    Strings lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

TEST(TagTypeTableLoad, FieldsKindsAndAttributeLists)
{
    Loaded t("page,2,children,{ref, id }\r\n"
             "speak , 3 , empty , {begin,des}\n"
             "agent,2,Empty,{}\n"
             "jump,3,,{des}\n"
             "move,3,empty,\n"
             "listen,3,children\n"
             "x,1,children,{a,,b,}\n"
             "y,1,children,{a;skipped,b;c}\n"
             "z,12abc,children,{a\n"
             "w,abc,children,{{a}}\n");
    ASSERT_TRUE(t.ok);
    EXPECT_TRUE(t.messages.entries().empty());
    EXPECT_EQ(t.type("page").getAttributes(), (Strings{"ref", "id"}));
    EXPECT_EQ(t.type("page").level(), 2);
    EXPECT_FALSE(t.type("speak").hasChildren());
    EXPECT_EQ(t.type("speak").getAttributes(), (Strings{"begin", "des"}));
    EXPECT_TRUE(t.type("agent").hasChildren());
    EXPECT_TRUE(t.type("agent").getAttributes().empty());
    EXPECT_TRUE(t.type("jump").hasChildren());
    EXPECT_TRUE(t.type("move").getAttributes().empty());
    // Three fields and no comma: the third field is also the attribute list.
    EXPECT_EQ(t.type("listen").getAttributes(), (Strings{"children"}));
    EXPECT_EQ(t.type("x").getAttributes(), (Strings{"a", "", "b"}));
    EXPECT_EQ(t.type("y").getAttributes(), (Strings{"a", "b"}));
    EXPECT_EQ(t.type("z").level(), 12);
    EXPECT_EQ(t.type("z").getAttributes(), (Strings{"a"}));
    EXPECT_EQ(t.type("w").level(), 0);
    EXPECT_EQ(t.type("w").getAttributes(), (Strings{"a"}));
}

TEST(TagTypeTableLoad, OddLines)
{
    Loaded t("# a comment,1,children,{a}\n"
             " #hash,1,empty,{a}\n"
             "\n"
             "justname\n"
             "7\n"
             "Page,1,children,{Ref}\n"
             "dup,1,children,{a}\n"
             "dup,5,empty,{b}\n");
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.table.lookup("# a comment"), nullptr);
    EXPECT_FALSE(t.type("#hash").hasChildren());
    // A blank line: empty name, level 0, container, no attributes.
    EXPECT_EQ(t.type("").level(), 0);
    EXPECT_TRUE(t.type("").hasChildren());
    EXPECT_TRUE(t.type("").getAttributes().empty());
    EXPECT_EQ(t.type("justname").getAttributes(), (Strings{"justname"}));
    EXPECT_EQ(t.type("justname").level(), 0);
    EXPECT_EQ(t.type("7").level(), 7);
    EXPECT_EQ(t.table.lookup("page"), nullptr);
    EXPECT_EQ(t.type("Page").getAttributes(), (Strings{"Ref"}));
    EXPECT_EQ(t.type("dup").level(), 5);
    EXPECT_EQ(t.type("dup").getAttributes(), (Strings{"b"}));
    EXPECT_EQ(t.table.size(), 6U);
}

TEST(TagTypeTableLoad, LongLinesAreCutInto289BytePieces)
{
    // 289 bytes, then the rest of the line as a line of its own.
    std::string first = "long,1,children,{";
    first += std::string(289 - first.size() - 1, 'a') + ",";
    Loaded t(first + "tail,2,empty,{q}\n");
    ASSERT_TRUE(t.ok);
    ASSERT_NE(t.table.lookup("long"), nullptr);
    EXPECT_EQ(t.type("long").getAttributes(), (Strings{std::string(271, 'a')}));
    EXPECT_EQ(t.type("tail").level(), 2);
    EXPECT_EQ(t.type("tail").getAttributes(), (Strings{"q"}));
}

TEST(TagTypeTableLoad, MissingFileGivesTheReadErrorBox)
{
    TempDir dir;
    TagTypeTable table;
    RecordingMessages messages;
    table.setFileName(dir.file("none.txt"));
    EXPECT_FALSE(table.load(messages));
    ASSERT_EQ(messages.count(), 1U);
    EXPECT_EQ(messages.entries()[0].text, "ﾌｧｲﾙ" + dir.file("none.txt") + "がｵｰﾌﾟﾝできない");
    EXPECT_EQ(messages.entries()[0].caption, "読み出しｴﾗｰ");
    EXPECT_EQ(table.size(), 0U);

    // A folder is a file that cannot be opened.
    table.setFileName(dir.path());
    EXPECT_FALSE(table.load(messages));
    EXPECT_EQ(messages.count(), 2U);
}

TEST(TagTypeTableEcho, WritesANormalisedFileThatReadsBack)
{
    Loaded t("page , 2 , children , { ref , id , }\n"
             "speak,3,empty,{}\n"
             "x,-4,Empty,{a,,b}\n");
    ASSERT_TRUE(t.ok);
    ASSERT_TRUE(t.table.writeEcho(t.dir.file("echo.txt"), t.messages));
    EXPECT_TRUE(t.messages.entries().empty());
    const std::string echo = t.dir.read("echo.txt");
    // The blank between the last comma and "}" is an item of its own (empty).
    EXPECT_EQ(sortedLines(echo), (Strings{"page,2,children,{ref,id,,}\r", "speak,3,empty,{}\r",
                                          "x,-4,children,{a,,b,}\r"}));

    TagTypeTable again;
    again.setFileName(t.dir.file("echo.txt"));
    ASSERT_TRUE(again.load(t.messages));
    ASSERT_TRUE(again.writeEcho(t.dir.file("echo2.txt"), t.messages));
    EXPECT_EQ(sortedLines(t.dir.read("echo2.txt")), sortedLines(echo));
}

TEST(TagTypeTableEcho, UnwritablePathGivesTheWriteErrorBox)
{
    Loaded t("page,2,children,{ref}\n");
    const std::string path = t.dir.file("missing/echo.txt");
    EXPECT_FALSE(t.table.writeEcho(path, t.messages));
    ASSERT_EQ(t.messages.count(), 1U);
    EXPECT_EQ(t.messages.entries()[0].text, "ﾌｧｲﾙ" + path + "がｵｰﾌﾟﾝできない");
    EXPECT_EQ(t.messages.entries()[0].caption, "書き込みｴﾗｰ");
    EXPECT_NE(t.table.lookup("page"), nullptr);
}
