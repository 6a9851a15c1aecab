#include "platform/ascii_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(ReadDecimalInteger, CLibraryPrefixRuleWithSaturation) {
    struct Case {
        std::string text;
        std::optional<std::int64_t> value;
        std::size_t end;  // where the reading stops when there is a number
    };
    const Case cases[] = {
        {"42", 42, 2},
        {"  42x", 42, 4},
        {"\t\r\n\v\f 7", 7, 7},
        {"-7;", -7, 2},
        {"+0012", 12, 5},
        {"", std::nullopt, 0},
        {"x1", std::nullopt, 0},
        {"+", std::nullopt, 0},
        {"+-3", std::nullopt, 0},
        {"- 3", std::nullopt, 0},
        {"9223372036854775807", INT64_MAX, 19},
        {"9223372036854775808", INT64_MAX, 19},
        {"-9223372036854775808", INT64_MIN, 20},
        {"-99999999999999999999999", INT64_MIN, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.text + "'");
        std::size_t pos = 0;
        EXPECT_EQ(readDecimalInteger(c.text, pos), c.value);
        if (c.value) {
            EXPECT_EQ(pos, c.end);
        }
    }
}

TEST(AsciiCase, OnlyTheLettersFold) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool upper = b >= 'A' && b <= 'Z';
        const bool lower = b >= 'a' && b <= 'z';
        SCOPED_TRACE(b);
        EXPECT_EQ(toAsciiLower(c), upper ? static_cast<char>(b + 32) : c);
        EXPECT_EQ(toAsciiUpper(c), lower ? static_cast<char>(b - 32) : c);
        EXPECT_EQ(isAsciiDigit(c), b >= '0' && b <= '9');
    }
    EXPECT_TRUE(equalsIgnoringAsciiCase("Zone-1", "zONE-1"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("[@", "{`"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("\xC9", "\xE9"));
    EXPECT_TRUE(startsWithIgnoringAsciiCase("TitleValue", "title"));
    EXPECT_FALSE(startsWithIgnoringAsciiCase("Ti", "title"));
}

}  // namespace
}  // namespace quorvel
