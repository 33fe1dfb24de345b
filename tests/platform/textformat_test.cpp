#include "platform/textformat.h"

#include <gtest/gtest.h>

namespace pf = orvo::platform;

TEST(FillTemplate, FillsPlaceholdersInOrder)
{
    EXPECT_EQ(pf::fillTemplate("a %s b %d c", "x", 12), "a x b 12 c");
    EXPECT_EQ(pf::fillTemplate("%s%s", "%s", std::string("y")), "%sy");
    EXPECT_EQ(pf::fillTemplate("100% %s", "x"), "100% x");
    EXPECT_EQ(pf::fillTemplate("end %"), "end %");
    EXPECT_EQ(pf::fillTemplate("%d/%d", -7, std::int64_t{9000000000}), "-7/9000000000");
}

TEST(ParseLeadingInt, BehavesLikeAtoi)
{
    EXPECT_EQ(pf::parseLeadingInt("42"), 42);
    EXPECT_EQ(pf::parseLeadingInt(" -7x"), -7);
    EXPECT_EQ(pf::parseLeadingInt("12abc"), 12);
    EXPECT_EQ(pf::parseLeadingInt("abc"), 0);
    EXPECT_EQ(pf::parseLeadingInt(""), 0);
    EXPECT_EQ(pf::parseLeadingInt("+"), 0);
    EXPECT_EQ(pf::parseLeadingInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(pf::parseLeadingInt("-99999999999999999999"), -2147483647 - 1);
}
