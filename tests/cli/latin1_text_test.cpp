#include "cli/latin1_text.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

namespace quorvel {
namespace {

// Every byte, alone and between other text, gives the bytes of nlohmann's
// dump of the same text as a string.
TEST(AppendJsonString, EveryByteAsTheDumpWritesIt) {
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const std::string text = std::string("a") + static_cast<char>(byte) + "z";
        std::string written = "[";
        appendJsonString(written, text);
        const std::string expected =
            std::string("[").append(nlohmann::json(latin1ToUtf8(text)).dump());
        EXPECT_EQ(written, expected);
    }
}

TEST(AppendJsonString, NamedEscapes) {
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"", "\"\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"C:\\dir", "\"C:\\\\dir\""},
        {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
        {std::string("\x00\x1b", 2), "\"\\u0000\\u001b\""},
        {"caf\xe9", "\"caf\xc3\xa9\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::string written;
        appendJsonString(written, c.text);
        EXPECT_EQ(written, c.expected);
    }
}

// A text that is valid UTF-8 is written as that UTF-8; any other text, one
// code point per byte.
TEST(AppendJsonText, ValidUtf8StaysOtherBytesBecomeCodePoints) {
    struct Case {
        const char* name;
        std::string text, expected;
    } cases[] = {
        {"ASCII", "boots \"x\"\n", "\"boots \\\"x\\\"\\n\""},
        {"UTF-8 e acute", "b\xc3\xa9ton", "\"b\xc3\xa9ton\""},
        {"UTF-8 euro and emoji", "\xe2\x82\xac \xf0\x9f\x98\x80",
         "\"\xe2\x82\xac \xf0\x9f\x98\x80\""},
        {"8-bit e acute", "b\xe9ton", "\"b\xc3\xa9ton\""},
        {"cut sequence", "b\xc3", "\"b\xc3\x83\""},
        {"overlong slash", "\xc0\xaf", "\"\xc3\x80\xc2\xaf\""},
        {"surrogate", "\xed\xa0\x80", "\"\xc3\xad\xc2\xa0\xc2\x80\""},
        {"above U+10FFFF", "\xf4\x90\x80\x80", "\"\xc3\xb4\xc2\x90\xc2\x80\xc2\x80\""},
        {"control in UTF-8", "\x1b\xc3\xa9", "\"\\u001b\xc3\xa9\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string written;
        appendJsonText(written, c.text);
        EXPECT_EQ(written, c.expected);
        EXPECT_TRUE(nlohmann::json::accept(written));
    }
}

}  // namespace
}  // namespace quorvel
