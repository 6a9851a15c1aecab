#include "analysis/keyword_matcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

KeywordMatcher makeMatcher(std::string_view phrase, bool caseSensitive, bool finalS) {
    KeywordMatcher matcher;
    matcher.setFinalSRule(finalS);
    EXPECT_TRUE(matcher.loadPhrase(phrase, caseSensitive));
    return matcher;
}

// What the scanner does in body text: a try at every byte.
int countAtEveryByte(KeywordMatcher& matcher, std::string_view text) {
    int count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (matcher.match(text.data() + i, text.data() + text.size())) ++count;
    }
    return count;
}

struct MatchCase {
    const char* name;
    const char* keyword;
    bool caseSensitive;
    bool finalS;
    std::string text;
    int atEveryByte;
    int atWordStarts;
};

TEST(KeywordMatcherTest, CountsAtEveryByteAndAtWordStarts) {
    const MatchCase cases[] = {
        {"word inside a longer word", "start", false, false, "Restart starts START", 2, 1},
        {"final s accepted", "start", false, true, "Restart starts START", 3, 2},
        {"case sensitive", "start", true, false, "Restart starts START", 1, 0},
        {"word start only in count", "art", false, false, "start art", 2, 1},
        {"final s dropped from keyword", "shoes", false, true, "shoe shoes Shoes shoex", 3, 3},
        {"byte after the s not examined", "shoe", false, true, "shoesx", 1, 1},
        {"digit ends no word", "web", false, false, "web2 web", 1, 1},
        {"phrase over a blank", "web design", true, false, "web design", 1, 1},
        {"phrase over a line break", "web design", true, false, "web\r\ndesign", 1, 1},
        {"phrase over blank hyphen blank", "web design", true, false, "web - design", 1, 1},
        {"phrase over punctuation", "search engine", false, false, "Search-Engine, search,engine",
         2, 2},
        {"phrase case sensitive", "web design", true, false, "Web design", 0, 0},
        {"phrase first word runs on", "car carpet", false, false, "carpet", 0, 0},
        {"phrase broken by a tag with letters", "web design", false, false, "web <b>design", 0, 0},
        {"phrase across a tag without letters", "web design", false, false, "web <>design", 1, 1},
        {"line break inside a phrase word", "web design", false, false, "web des\r\nign", 1, 1},
        {"phrase with final s", "red shoes", false, true, "red shoes red shoe", 2, 2},
        {"phrase ending at the end", "web design", false, false, "a web desig", 0, 0},
        {"no keyword", "", false, false, "anything at all", 0, 0},
        {"only blanks", "   ", false, false, "anything at all", 0, 0},
        {"bytes above 127 are compared as they are", "caf\xE9", false, false, "CAF\xE9 caf\xC9", 1,
         1},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        KeywordMatcher matcher = makeMatcher(c.keyword, c.caseSensitive, c.finalS);
        EXPECT_EQ(countAtEveryByte(matcher, c.text), c.atEveryByte);
        EXPECT_EQ(matcher.countMatches(c.text), c.atWordStarts);
    }
}

struct SplitCase {
    const char* name;
    std::string text;
    bool list;
    bool finalS;
    std::vector<std::string> words;
};

TEST(KeywordMatcherTest, SplitsPhrasesAtBlanksAndListsAtOtherBytes) {
    const SplitCase cases[] = {
        {"stop words", "a,an,and,the,for,if", true, false, {"a", "an", "and", "the", "for", "if"}},
        {"list with blanks", "  red, green ;blue", true, false, {"red", "green", "blue"}},
        {"list with final s", "cars,bus", true, true, {"car", "bu"}},
        {"phrase keeps punctuation",
         "  search-engine,  tips ",
         false,
         false,
         {"search-engine,", "tips"}},
        {"phrase with final s", "Red Shoes", false, true, {"Red", "Shoe"}},
        {"a lone s stays", "s", false, true, {"s"}},
        {"zero byte ends the text", std::string("web\0design", 10), false, false, {"web"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.name);
        KeywordMatcher matcher;
        matcher.setFinalSRule(c.finalS);
        ASSERT_TRUE(c.list ? matcher.loadList(c.text, false) : matcher.loadPhrase(c.text, false));
        ASSERT_EQ(matcher.wordCount(), c.words.size());
        std::size_t letters = 0;
        for (std::size_t i = 0; i < c.words.size(); ++i) {
            EXPECT_EQ(matcher.word(i), c.words[i]) << "word " << i;
            letters += c.words[i].size();
        }
        EXPECT_EQ(matcher.keywordLetterCount(), letters);
    }
}

TEST(KeywordMatcherTest, RefusesPhraseLongerThan2047BytesAndKeepsEarlierWords) {
    KeywordMatcher matcher = makeMatcher("web design", true, false);
    EXPECT_FALSE(matcher.loadPhrase(std::string(2048, 'x'), false));
    ASSERT_EQ(matcher.wordCount(), 2u);
    EXPECT_EQ(matcher.word(1), "design");
    EXPECT_TRUE(matcher.caseSensitive());

    EXPECT_TRUE(matcher.loadPhrase(std::string(2047, 'x'), false));
    ASSERT_EQ(matcher.wordCount(), 1u);
    EXPECT_EQ(matcher.word(0).size(), 2047u);
}

TEST(KeywordMatcherTest, KeepsAtMost128Words) {
    std::string phrase;
    for (int i = 0; i < 130; ++i)
        phrase.append("w").append(std::to_string(i % 10)).append(" ");
    KeywordMatcher matcher = makeMatcher(phrase, true, false);
    EXPECT_EQ(matcher.wordCount(), 128u);
    EXPECT_EQ(matcher.keywordLetterCount(), 256);
    // The phrase matches its first 128 words; the rest of the text is not needed.
    std::string text;
    for (int i = 0; i < 128; ++i)
        text.append("w").append(std::to_string(i % 10)).append(",");
    EXPECT_EQ(matcher.countMatches(text), 1);
    text[text.size() - 3] = 'x';
    EXPECT_EQ(matcher.countMatches(text), 0);
}

TEST(KeywordMatcherTest, ReportsMatchOffsets) {
    struct OffsetCase {
        const char* name;
        const char* keyword;
        std::string text;
        std::uint32_t offset;
        int index;
    };
    const OffsetCase cases[] = {
        {"single word", "design", "design", 0, 0},
        {"phrase: length of the last word", "web design", "web  design", 6, 1},
        {"line break inside the last word", "web design", "web des\nign", 7, 1},
        {"final s in the last word", "web designs", "web designs", 7, 1},
    };
    for (const OffsetCase& c : cases) {
        SCOPED_TRACE(c.name);
        KeywordMatcher matcher = makeMatcher(c.keyword, false, true);
        ASSERT_TRUE(matcher.match(c.text.data(), c.text.data() + c.text.size()));
        EXPECT_EQ(matcher.lastMatchOffset(), c.offset);
        EXPECT_EQ(matcher.lastMatchIndex(), c.index);
    }
}

TEST(KeywordMatcherTest, CountMatchesGivesFirstOffsetAndLeavesItWithoutMatch) {
    KeywordMatcher matcher = makeMatcher("web design", false, false);
    std::uint16_t first = 77;
    EXPECT_EQ(matcher.countMatches("the web design of web design", &first), 2);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(matcher.lastMatchOffset(), 6u);

    first = 77;
    EXPECT_EQ(matcher.countMatches("no match here", &first), 0);
    EXPECT_EQ(first, 77);
    EXPECT_EQ(matcher.lastMatchIndex(), -1);

    // A phrase that fails at its second word still records its first.
    EXPECT_EQ(matcher.countMatches("web site"), 0);
    EXPECT_EQ(matcher.lastMatchIndex(), 0);
    EXPECT_EQ(matcher.lastMatchOffset(), 3u);
}

TEST(KeywordMatcherTest, ListMatchesNameTheLastWordAndItsOffset) {
    struct ListCase {
        const char* name;
        const char* text;
        int count;
        int lastIndex;
        std::uint32_t lastOffset;
    };
    const ListCase cases[] = {
        {"two stop words", "The art of the web", 2, 3, 11},
        {"none", "Quorvel checks pages", 0, -1, 0},
        {"word inside a longer word is no start", "Ifs andand", 0, -1, 0},
        {"last of several", "for a car", 2, 0, 4},
    };
    for (const ListCase& c : cases) {
        SCOPED_TRACE(c.name);
        KeywordMatcher matcher;
        ASSERT_TRUE(matcher.loadList("a,an,and,the,for,if", false));
        EXPECT_EQ(matcher.countListMatches(c.text), c.count);
        EXPECT_EQ(matcher.lastMatchIndex(), c.lastIndex);
        EXPECT_EQ(matcher.lastMatchOffset(), c.lastOffset);
    }
}

TEST(KeywordMatcherTest, NeverReadsPastTheEnd) {
    KeywordMatcher matcher = makeMatcher("design", false, true);
    const std::string text = "designs";
    // The end cuts the text before the s: the word ends there.
    EXPECT_TRUE(matcher.match(text.data(), text.data() + 6));
    EXPECT_FALSE(matcher.match(text.data(), text.data() + 5));
    EXPECT_FALSE(matcher.match(text.data() + 6, text.data() + 6));
}

}  // namespace
}  // namespace quorvel
