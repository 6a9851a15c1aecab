#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(Utf8Text, WellFormedSequencesOnly) {
    const struct {
        std::string bytes;
        bool valid;
        const char* what;
    } cases[] = {
        {"", true, "empty"},
        {"plain ascii <b>", true, "ascii"},
        {"b\xC3\xA9ton", true, "two bytes"},
        {"\xE2\x82\xAC", true, "three bytes"},
        {"\xF0\x9F\x98\x80", true, "four bytes"},
        {"\xF4\x8F\xBF\xBF", true, "U+10FFFF"},
        {"b\xE9ton", false, "Latin-1 byte"},
        {"\xC0\x80", false, "overlong two bytes"},
        {"\xC1\xBF", false, "overlong C1"},
        {"\xE0\x80\x80", false, "overlong three bytes"},
        {"\xF0\x80\x80\x80", false, "overlong four bytes"},
        {"\xED\xA0\x80", false, "surrogate"},
        {"\xF4\x90\x80\x80", false, "above U+10FFFF"},
        {"\xF5\x80\x80\x80", false, "lead byte F5"},
        {"\xE2\x82", false, "cut short at the end"},
        {"\xE2\x82x", false, "third byte not a continuation"},
        {"\x80", false, "lone continuation"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.what;
}

}  // namespace
}  // namespace quorvel
