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

}  // namespace
}  // namespace quorvel
