#include "cli/terminal_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(EscapeControls, ControlCharactersBecomeEscapes) {
    struct Case {
        std::string text, expected;
    } cases[] = {
        {"index.html", "index.html"},
        {"a\nb.html", "a\\nb.html"},
        {"\r\t", "\\r\\t"},
        {"\x1b[31mred", "\\x1b[31mred"},
        {std::string("nul\0x", 5), "nul\\x00x"},
        {"del\x7f", "del\\x7f"},
        {"csi \xc2\x9b", "csi \\xc2\\x9b"},                        // U+009B in UTF-8
        {"caf\xc3\xa9 \xe2\x82\xac", "caf\xc3\xa9 \xe2\x82\xac"},  // é and € stay
        {"\xc2\xa0 nbsp", "\xc2\xa0 nbsp"},
        {"8-bit \xe9", "8-bit \xe9"},
        {"lead at end \xc2", "lead at end \xc2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(escapeControls(c.text), c.expected);
        EXPECT_EQ(hasControls(c.text), c.expected != c.text);
    }
}

}  // namespace
}  // namespace quorvel
