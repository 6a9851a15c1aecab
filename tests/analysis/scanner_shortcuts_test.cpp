// The scanner's shortcuts (byte searches, name pre-checks, the previous word
// kept as a view) must give what the plain byte-by-byte reading gives.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "analysis/byte_search.h"
#include "analysis/html_tags.h"
#include "scan_test_support.h"

namespace quorvel::test {
namespace {

const char* findFirstOfByteByByte(const char* p, const char* end, std::string_view set) {
    while (p < end && set.find(*p) == std::string_view::npos)
        ++p;
    return p;
}

TEST(FindFirstOfTest, AgreesWithAByteByByteSearchAtEveryLengthAndPosition) {
    // Each text sits in a buffer of exactly its size, so a sanitizer build
    // reports any read past the end.
    for (std::size_t length = 0; length <= 40; ++length) {
        for (std::size_t hit = 0; hit <= length; ++hit) {
            SCOPED_TRACE("length " + std::to_string(length) + ", hit " + std::to_string(hit));
            const auto buffer = std::make_unique<char[]>(length);
            for (std::size_t i = 0; i < length; ++i)
                buffer[i] = static_cast<char>('a' + i % 20);  // never one of the set
            if (hit < length) buffer[hit] = (hit % 2 == 0) ? '>' : '\0';
            const char* begin = buffer.get();
            const char* end = begin + length;
            EXPECT_EQ(findFirstOf(begin, end, '\0', '>', 'z', 'z'),
                      findFirstOfByteByByte(begin, end, std::string_view("\0>z", 3)));
        }
    }
}

TEST(FindFirstOfTest, FindsEachOfTheFourBytesAndTheFirstOfSeveral) {
    struct Case {
        const char* name;
        std::string text;
        std::size_t expected;
    };
    const Case cases[] = {
        {"first byte", "<abc", 0},
        {"second set byte", "abcdefghijklmnopqrsuv\"", 21},
        {"third set byte", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxT", 32},
        {"fourth set byte", "xxxxxxxxxxxxxxxt", 15},
        {"the earliest of several", "xxxxxxxxxxxxxxxxxxt<\"T", 18},
        {"bytes above 127 are bytes like any other",
         "\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9"
         "\xE9\xE9\xE9\xE9\xE9\xE9\xE9\xE9<",
         16},
        {"none", std::string(33, 'x'), 33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const char* begin = c.text.data();
        EXPECT_EQ(findFirstOf(begin, begin + c.text.size(), '<', '"', 'T', 't') - begin,
                  static_cast<std::ptrdiff_t>(c.expected));
    }
}

TEST(AttributeNamesBeforeTagEndTest, MarksExactlyTheNamesALookupCanFind) {
    constexpr std::string_view kNames[] = {"color", "text", "bgcolor", "link", "vlink"};
    struct Case {
        const char* name;
        std::string tag;  // "<td" then the attributes
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"no attributes", "<td>", 0},
        {"other attributes", "<td class=x width=\"5\">", 0},
        {"each name once", "<td color=a text=b bgcolor=c link=d vlink=e>", 0x1F},
        {"any case", "<td BGCOLOR=red>", 0x4},
        {"after a quote", "<td x=\"1\"link=red>", 0x8},
        {"inside a longer word is no name", "<td xcolor=red>", 0},
        {"a longer name counts", "<td colors=red>", 0x1},
        {"only up to the first >", "<td>color=red", 0},
        {"a valueless name counts", "<td link> vlink=red>", 0x8},
        {"a zero byte ends the tag", std::string("<td \0 color=red>", 16), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const char* begin = c.tag.data() + 3;
        const char* end = c.tag.data() + c.tag.size();
        const std::uint32_t found = attributeNamesBeforeTagEnd(begin, end, kNames);
        EXPECT_EQ(found, c.expected);
        // A name left unmarked is one that findAttribute would look up in vain.
        for (std::size_t i = 0; i < std::size(kNames); ++i) {
            if ((found >> i & 1u) != 0) continue;
            AttributeText out;
            findAttribute(begin, end, kNames[i], out);
            EXPECT_TRUE(out.value.empty()) << kNames[i];
        }
    }
}

TEST(ScannerShortcutsTest, ReadsTagsAndWordsAsBefore) {
    runScanCases({
        // Words whose entities are left out are copied; two such words in a
        // row must not share one copy.
        {"different words with entities are no repetition",
         "<body>ab&amp;c de&amp;f gh&amp;i.</body>",
         {{"bodyWordCount", 3}, {"repeatedWordCount", 0}}},
        {"the same word with entities, three times",
         "<body>a&amp;b a&amp;b a&amp;b.</body>",
         {{"repeatedWordCount", 2}, {"repeatedWords", "ab,ab"}}},
        {"a word with an entity repeats the same word without",
         "<body>fo&amp;o foo fo&nbsp;o x.</body>",
         {{"repeatedWordCount", 2}, {"repeatedWords", "foo,foo"}}},
        // The colours of a cell are read however its attributes are spelt.
        {"a cell's colours with an unquoted value that runs on",
         "<body><td bgcolor=#000000 text=#000000>x</body>",
         {{"minColourDistance", 0}}},
        {"a colour after a valueless name",
         "<body><font color> color=#FFFFFF>z</body>",
         {{"minColourDistance", 0}}},
        // Names joined without a blank are still tested one after another.
        {"a run of names: TABLE then TR",
         "<body><TABLETR bgcolor=red>x</body>",
         {{"hasTable", 1}, {"minColourDistance", 85}}},
        {"a tag that begins no known name",
         "<body><p><br><span>web</span></body>",
         {{"hasTable", 0}, {"bodyWordCount", 1}}},
    });
}

}  // namespace
}  // namespace quorvel::test
