#include "analysis/entities.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quorvel {
namespace {

TEST(EntitiesTest, LengthOfEntityAtPosition) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t length;
    };
    const Case cases[] = {
        {"named", "&amp;rest", 5},
        {"any case", "&AMP;", 5},
        {"Latin-1 capital", "&Eacute;", 8},
        {"numeric", "&#169;x", 6},
        {"hexadecimal", "&#x41;", 6},
        {"name is a prefix: more letters follow", "&copyright; x", 11},
        {"semicolon far away", "&lt is less; than", 12},
        {"no semicolon: runs to the end", "&copy and more", 14},
        {"zero byte before the semicolon: runs to the end", std::string("&amp\0x;y", 8), 8},
        {"cut off by the end", "&am", 0},
        {"unknown name", "&unknown;", 0},
        {"ampersand between words", "& more;", 0},
        {"ampersand alone at the end", "&", 0},
        {"not an ampersand", "amp;", 0},
        {"last Greek letter", "&omega;", 7},
        {"last special", "&euro;", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entityLength(c.text.data(), c.text.data() + c.text.size()), c.length);
    }
}

TEST(EntitiesTest, NameTableHoldsTheStandardSetsInOrder) {
    ASSERT_EQ(kEntityNames.size(), 253u);
    EXPECT_EQ(kEntityNames[0], "nbsp");
    EXPECT_EQ(kEntityNames[95], "yuml");
    EXPECT_EQ(kEntityNames[96], "fnof");
    EXPECT_EQ(kEntityNames[219], "diams");
    EXPECT_EQ(kEntityNames[220], "quot");
    EXPECT_EQ(kEntityNames[251], "euro");
    EXPECT_EQ(kEntityNames[252], "#");
    // Every name is distinct as written (the table has capital and small pairs).
    std::vector<std::string_view> sorted(kEntityNames.begin(), kEntityNames.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

TEST(EntitiesTest, EveryTableNameIsAnEntity) {
    for (std::string_view name : kEntityNames) {
        SCOPED_TRACE(std::string(name));
        std::string text = "&";
        text.append(name).push_back(';');
        EXPECT_EQ(entityLength(text.data(), text.data() + text.size()), text.size());
    }
}

}  // namespace
}  // namespace quorvel
