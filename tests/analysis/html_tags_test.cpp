#include "analysis/html_tags.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

struct AttributeCase {
    const char* name;
    std::string tag;  // begins with "<" and the tag name; attributes are read after the name
    const char* attribute;
    std::string value;
    std::size_t stopIndex;  // index in `tag` where the search ended
    bool hadCrLf = false;
};

std::size_t afterTagName(const std::string& tag) {
    std::size_t i = 1;
    while (i < tag.size() && std::isalpha(static_cast<unsigned char>(tag[i])))
        ++i;
    return i;
}

TEST(FindAttributeTest, ReadsValuesWithAllTheirQuirks) {
    const std::string longTag = "<img src=a>";
    const AttributeCase cases[] = {
        {"double quoted", R"(<img src="a.gif" alt="x">)", "src", "a.gif", 15},
        {"single quoted", "<img src='a b'>", "src", "a b", 13},
        {"unquoted runs to the end of the tag", "<font size=2 color=red>", "size", "2 color=red",
         22},
        {"name must follow a separator", R"(<img xsrc="a" src="b">)", "src", "b", 20},
        {"bgcolor is not color", "<font bgcolor=red color=blue>", "color", "blue", 28},
        {"name right after a quote", R"(<a title="x"href="y">)", "href", "y", 19},
        {"a longer name counts", R"(<meta names="x">)", "name", "x", 14},
        {"bytes up to the = are skipped", R"(<a title href="y">)", "title", "y", 16},
        {"valueless name: search runs past the >", "<img alt>text alt=z> more", "alt", "z", 19},
        {"not found", "<img src=a>", "alt", "", 10},
        {"only up to the first >", "<img src=a> alt=b>", "alt", "", 10},
        {"white space around the =", "<img alt = \t\"x y\">", "alt", "x y", 16},
        {"CR, LF and tab become blanks", "<meta content=\"a\r\nb\rc\nd\te\">", "content",
         "a b c d e", 25, true},
        {"a tab sets no line-break flag", "<meta content=\"a\tb\">", "content", "a b", 18},
        {"a quoted value ends at >", R"(<img alt="x>y">)", "alt", "x", 11},
        {"the other quote is part of the value", R"(<img alt="x'y">)", "alt", "x'y", 13},
        {"empty value", R"(<img alt="">)", "alt", "", 10},
        {"zero byte ends the value", std::string("<img alt=\"a\0b\">", 15), "alt", "a", 11},
        {"cut off by the end", "<img alt=\"abc", "alt", "abc", 13},
        {"name at the end", "<img alt", "alt", "", 8},
        {"any case", R"(<IMG ALT="x">)", "alt", "x", 11},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(c.name);
        AttributeText out;
        out.value.assign("stale");
        const char* begin = c.tag.data();
        const AttributeLookup result =
            findAttribute(begin + afterTagName(c.tag), begin + c.tag.size(), c.attribute, out);
        EXPECT_EQ(out.value.view(), c.value);
        EXPECT_EQ(result.stored, c.value.size());
        EXPECT_EQ(static_cast<std::size_t>(result.stop - begin), c.stopIndex);
        EXPECT_EQ(out.hadCrLf, c.hadCrLf);
    }
}

TEST(FindAttributeTest, StoresAtMost2047BytesAndPassesOverTheRest) {
    for (std::size_t length : {2046u, 2047u, 2048u, 5000u}) {
        SCOPED_TRACE(length);
        const std::string tag = "<meta content=\"" + std::string(length, 'x') + "\">";
        AttributeText out;
        const AttributeLookup result =
            findAttribute(tag.data() + 5, tag.data() + tag.size(), "content", out);
        const std::size_t kept = length < 2047 ? length : 2047;
        EXPECT_EQ(result.stored, kept);
        EXPECT_EQ(out.value.size(), kept);
        EXPECT_EQ(static_cast<std::size_t>(result.stop - tag.data()), tag.size() - 2);
    }
}

TEST(SkipToTagEndTest, FindsTheClosingBracket) {
    struct Case {
        const char* name;
        std::string text;
        bool nested;
        std::size_t index;
    };
    const Case cases[] = {
        {"plain", "abc>def", false, 3},
        {"nested pair skipped", "a<b>c>d", true, 5},
        {"flat stops at the first", "a<b>c>d", false, 3},
        {"zero byte", std::string("ab\0>", 4), true, 2},
        {"no >", "abc", true, 3},
        {"unbalanced <", "a<b>", true, 4},
        {"at the > itself", ">", true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const char* begin = c.text.data();
        EXPECT_EQ(skipToTagEnd(begin, begin + c.text.size(), c.nested) - begin,
                  static_cast<std::ptrdiff_t>(c.index));
    }
}

}  // namespace
}  // namespace quorvel
