// Boundaries and malformed pages: texts at the 2047-byte limit, counters at
// the 16-bit wrap, colour stacks past their depth, files that end inside
// every construct, NUL bytes and CR-only line ends. Each case names the exact
// facts the scan must give, and every scan is also held to the invariants
// that any page must meet.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "../../fuzz/scan_invariants.h"
#include "analysis/keyword_matcher.h"
#include "analysis/page_scan.h"
#include "analysis/page_scan_fields.h"

namespace quorvel {
namespace {

using Value = std::variant<std::uint32_t, std::string>;

// One expected fact, by its name in the page field table.
struct Fact {
    const char* field;
    Value value;
};

struct PageCase {
    std::string label;
    std::string page;
    std::vector<Fact> facts;
    std::string keyword = {};
};

std::string repeat(std::string_view piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The first `length` bytes of `piece` repeated.
std::string filled(std::string_view piece, std::size_t length) {
    return repeat(piece, length / piece.size() + 1).substr(0, length);
}

std::unique_ptr<PageScan> scanPage(const std::string& page, const std::string& keyword = {},
                                   const std::string& stopWords = "a,an,and,the,for,if") {
    auto scan = std::make_unique<PageScan>();
    scan->keywordMatcher().setFinalSRule(false);
    scan->keywordMatcher().loadPhrase(keyword, false);
    scan->loadBytes(page);
    scan->stopWordList = stopWords;
    scan->setMinWordLength(0);
    scan->scan();
    return scan;
}

void expectFacts(const PageScan& scan, const std::vector<Fact>& facts) {
    for (const Fact& fact : facts) {
        const PageField* field = findPageField(fact.field);
        ASSERT_NE(field, nullptr) << "no field " << fact.field;
        if (const auto* number = std::get_if<std::uint32_t>(&fact.value))
            EXPECT_EQ(numericFieldValue(scan, *field), *number) << fact.field;
        else
            EXPECT_EQ(textFieldValue(scan, *field), std::get<std::string>(fact.value))
                << fact.field;
    }
}

void runCases(const std::vector<PageCase>& cases) {
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.label);
        const auto scan = scanPage(c.page, c.keyword);
        for (const std::string& problem : invariants::violations(*scan, c.page.size()))
            ADD_FAILURE() << problem;
        expectFacts(*scan, c.facts);
    }
}

// Lengths on both sides of the 2047-byte text limit and of the 16-bit wrap.
const std::size_t kTextLengths[] = {2046, 2047, 2048, 2049, 65535, 65536, 65537};
// Counts on both sides of the 16-bit wrap.
const std::uint32_t kWrapCounts[] = {65535, 65536, 65537};

std::uint32_t low16(std::size_t n) {
    return static_cast<std::uint32_t>(n % 65536);
}
std::uint32_t stored(std::size_t n) {
    return static_cast<std::uint32_t>(n < 2047 ? n : 2047);
}

TEST(MalformedInput, LongTitlesAreCutToTheTextButCountedInFull) {
    std::vector<PageCase> cases;
    for (std::size_t n : kTextLengths) {
        // "<head><title>" is 13 bytes, so the title text starts at 13.
        cases.push_back({"title of " + std::to_string(n) + " bytes",
                         "<head><title>" + std::string(n, 'x') + "</title></head>",
                         {{"titleCount", 1u},
                          {"titleIsFirstTag", 1u},
                          {"titlePos", 13u},
                          {"titleLength", low16(n)},
                          {"titleText", std::string(stored(n), 'x')}}});
    }
    // Stop words are counted in the stored text only: 1024 of the 1100 "a".
    cases.push_back({"stop words beyond the stored title",
                     "<head><title>" + repeat("a ", 1100) + "</title>",
                     {{"titleLength", 2200u},
                      {"titleStopWordCount", 1024u},
                      {"titleStopWord", std::string("a")},
                      {"titleStopWordPos", 13u + 2046u}}});
    runCases(cases);
}

TEST(MalformedInput, LongMetaValuesAreStoredUpTo2047Bytes) {
    struct MetaName {
        const char* name;
        const char* has;
        const char* text;
        const char* length;
    };
    const MetaName names[] = {
        {"description", "hasMetaDescription", "metaDescriptionText", "metaDescriptionLength"},
        {"keywords", "hasMetaKeywords", "metaKeywordsText", "metaKeywordsLength"},
        {"author", "hasMetaAuthor", "metaAuthorText", "metaAuthorLength"},
    };
    std::vector<PageCase> cases;
    for (const MetaName& meta : names) {
        for (std::size_t n : kTextLengths) {
            cases.push_back({std::string(meta.name) + " of " + std::to_string(n) + " bytes",
                             std::string("<head><meta name=\"") + meta.name + "\" content=\"" +
                                 std::string(n, 'v') + "\"></head>",
                             {{meta.has, 1u},
                              {meta.length, stored(n)},
                              {meta.text, std::string(stored(n), 'v')}}});
        }
    }
    // The META tag's after-name position: "<head><meta" ends at 11.
    cases.push_back({"description position",
                     "<head><meta name=\"description\" content=\"" + std::string(3000, 'v') + "\">",
                     {{"metaDescriptionPos", 11u}}});
    runCases(cases);
}

TEST(MalformedInput, KeywordsInLongAttributeValuesAreCountedInTheStoredPart) {
    std::vector<PageCase> cases;
    for (std::size_t n : kTextLengths) {
        // "k k k ...": one k at every even offset of the stored bytes.
        const std::uint32_t inStored = (stored(n) + 1) / 2;
        cases.push_back({"ALT of " + std::to_string(n) + " bytes",
                         "<body><img src=\"a\" alt=\"" + filled("k ", n) + "\">",
                         {{"imagesWithAltCount", 1u},
                          {"altKeywordCount", inStored},
                          {"altKeywordPos", 7u},
                          {"imageSrcKeywordCount", 0u}},
                         "k"});
        // A finding in a META value lies at the META position plus the
        // matcher's last match offset: 0 for one word, the span of the last
        // word for a phrase.
        cases.push_back({"description of " + std::to_string(n) + " bytes with keywords",
                         "<head><meta name=\"description\" content=\"" + filled("k ", n) + "\">",
                         {{"metaDescriptionKeywordCount", inStored},
                          {"metaDescriptionFirstKeywordOffset", 0u},
                          {"metaDescriptionKeywordPos", 11u}},
                         "k"});
        cases.push_back({"keywords of " + std::to_string(n) + " bytes with a phrase",
                         "<head><meta name=\"keywords\" content=\"" + filled("k ", n) + "\">",
                         {{"metaKeywordsKeywordCount", inStored - 1},
                          {"metaKeywordsFirstKeywordOffset", 0u},
                          {"metaKeywordsKeywordPos", 12u}},
                         "k k"});
    }
    runCases(cases);
}

TEST(MalformedInput, PhrasesAndListsLongerThan2047BytesAreRefused) {
    for (std::size_t n : kTextLengths) {
        SCOPED_TRACE(n);
        const bool fits = n <= 2047;
        KeywordMatcher phrase;
        ASSERT_TRUE(phrase.loadPhrase("old", false));
        EXPECT_EQ(phrase.loadPhrase(std::string(n, 'k'), false), fits);
        ASSERT_EQ(phrase.wordCount(), 1u);
        EXPECT_EQ(phrase.word(0).size(), fits ? n : 3u);

        KeywordMatcher list;
        ASSERT_TRUE(list.loadList("old", false));
        EXPECT_EQ(list.loadList(filled("ab,", n), false), fits);
        EXPECT_EQ(list.wordCount(), fits ? 128u : 1u);
    }
    KeywordMatcher many;
    ASSERT_TRUE(many.loadPhrase(repeat("w ", 200), false));
    EXPECT_EQ(many.wordCount(), 128u);
}

// An empty view may carry no storage at all; loading it clears the words.
TEST(MalformedInput, EmptyPhraseWithoutStorageLoadsNoWords) {
    KeywordMatcher matcher;
    ASSERT_TRUE(matcher.loadPhrase("old words", false));
    EXPECT_TRUE(matcher.loadPhrase(std::string_view{}, false));
    EXPECT_EQ(matcher.wordCount(), 0u);
    EXPECT_TRUE(matcher.loadList(std::string_view{}, false));
    EXPECT_EQ(matcher.wordCount(), 0u);
}

TEST(MalformedInput, StopWordListsAtTheLimit) {
    for (std::size_t n : {std::size_t{2046}, std::size_t{2047}}) {
        SCOPED_TRACE(n);
        // "b," then letters up to n bytes: the list holds b and one long word.
        const auto scan =
            scanPage("<head><title>a b c</title>", "", "b," + std::string(n - 2, 'x'));
        EXPECT_EQ(scan->titleStopWordCount, 1u);
        EXPECT_EQ(scan->titleStopWord.view(), "b");
        EXPECT_EQ(scan->titleStopWordPos, 13u + 2u);
    }
    for (std::size_t n : {std::size_t{2048}, std::size_t{65536}}) {
        SCOPED_TRACE(n);
        const auto scan =
            scanPage("<head><title>a b c</title>", "", "b," + std::string(n - 2, 'x'));
        EXPECT_NE(scan->titleStopWord.view(), "b") << "a refused list must not be used";
        EXPECT_LE(scan->titleStopWordPos, 18u);
    }
}

TEST(MalformedInput, SixteenBitCountersWrapAndThirtyTwoBitCountersDoNot) {
    std::vector<PageCase> cases;
    for (std::uint32_t n : kWrapCounts) {
        const std::string count = std::to_string(n);
        // Alternating words, so none repeats the one before.
        std::string words;
        for (std::uint32_t i = 0; i < n; ++i)
            words += i % 2 ? "cd " : "ab ";
        cases.push_back({count + " words",
                         "<body>" + words,
                         {{"bodyWordCount", low16(n)},
                          {"totalWordCount", low16(n)},
                          {"repeatedWordCount", 0u},
                          {"bodyLength", low16(3 * std::size_t{n})}}});
        cases.push_back({count + " repeated words",
                         "<body>" + repeat("w ", n + 1),
                         {{"bodyWordCount", low16(n + 1)},
                          {"repeatedWordCount", low16(n)},
                          {"repeatedWordPos", 8u}}});
        cases.push_back({count + " headings",
                         "<body>" + repeat("<h1>", n),
                         {{"headingCount", low16(n)}, {"headingPos", 6 + 4 * (n - 1) + 1}}});
        cases.push_back({count + " empty links",
                         "<body>" + repeat("<a href=k></a>", n),
                         {{"anchorCount", n},
                          {"linkCount", n},
                          {"linksWithoutTitleCount", n},
                          {"linkWithoutTitlePos", 6 + 14 * (n - 1) + 1},
                          {"linkUrlKeywordCount", n},
                          {"emptyLinkCount", low16(n)},
                          {"emptyLinkPos", 6 + 14 * (n - 1) + 2}},
                         "k"});
        cases.push_back({count + " images",
                         "<body>" + repeat("<img src=x>", n),
                         {{"imagesWithSrcCount", n},
                          {"imagesWithoutSrcCount", 0u},
                          {"imagesWithoutAltCount", low16(n)},
                          {"firstImageWithoutAltPos", 7u}}});
        cases.push_back({count + " keyword matches",
                         "<body>" + repeat("k ", n),
                         {{"bodyKeywordCount", low16(n)}, {"bodyFirstKeywordOffset", 1u}},
                         "k"});
        cases.push_back({count + " comments",
                         repeat("<!---->", n),
                         {{"commentCount", low16(n)}, {"commentPos", 7 * (n - 1) + 4}}});
    }
    runCases(cases);
}

// Grey levels: the distance of grey g from the white background is 255 - g.
std::string grey(int level) {
    static const char* digits = "0123456789abcdef";
    std::string hex = "#";
    for (int i = 0; i < 3; ++i) {
        hex += digits[level / 16];
        hex += digits[level % 16];
    }
    return hex;
}

TEST(MalformedInput, ColourStacksStopAt32AndUnmatchedEndTagsPopTheEnclosingColours) {
    // BODY pushes once and sets the text to grey 100; FONT i sets grey 2i.
    // With BODY's push, FONT 1..31 fill the stack and FONT 32 and 33 push
    // nothing, so the first /FONT brings back the colour before FONT 31.
    std::string fonts;
    for (int i = 1; i <= 33; ++i)
        fonts += "<font color=\"" + grey(2 * i) + "\">";
    const std::string head = "<body text=\"" + grey(100) + "\">" + fonts;
    struct PopCase {
        int pops;
        std::uint32_t distance;  // at the x that follows
    };
    const PopCase pops[] = {
        {0, 255 - 66},    // FONT 33
        {1, 255 - 60},    // back to FONT 30
        {2, 255 - 58},    // FONT 29
        {30, 255 - 2},    // FONT 1
        {31, 255 - 100},  // BODY's text colour
        {32, 255},        // black from before BODY: distance 255, nothing lower
        {33, 255},        // an end tag with nothing pushed changes nothing
        {40, 255},
    };
    std::vector<PageCase> cases;
    for (const PopCase& p : pops) {
        const std::string page = head + repeat("</font>", p.pops) + "x";
        const std::uint32_t xPos = static_cast<std::uint32_t>(page.size() - 1);
        cases.push_back({std::to_string(p.pops) + " /FONT after 33 FONT",
                         page,
                         {{"minColourDistance", p.distance},
                          {"minColourDistancePos", p.distance < 255 ? xPos : 0u}}});
    }
    cases.push_back({"/FONT without FONT pops BODY's colours",
                     "<body text=\"" + grey(100) + "\"></font>x",
                     {{"minColourDistance", 255u}, {"minColourDistancePos", 0u}}});
    cases.push_back({"/TD without TD pops BODY's colours",
                     "<body bgcolor=\"#000000\"></td>x",
                     {{"minColourDistance", 255u}, {"bodyBackground", 0u}}});
    cases.push_back({"without /TD the cell background stays",
                     "<body><table><tr><td bgcolor=\"black\">x",
                     {{"minColourDistance", 0u}, {"minColourDistancePos", 37u}}});
    runCases(cases);
}

TEST(MalformedInput, FilesEndingInsideEveryConstruct) {
    const std::vector<PageCase> cases = {
        {"< at the top level", "<", {{"commentCount", 0u}, {"scriptCount", 0u}}},
        {"& at the top level", "&", {{"commentCount", 0u}}},
        {"< ends the body word", "<body>ab<", {{"bodyWordCount", 1u}, {"bodyLength", 3u}}},
        {"& that is no entity ends the word", "<body>ab&", {{"bodyWordCount", 1u}}},
        {"&# runs to the end; the word under way is not counted",
         "<body>ab&#",
         {{"bodyWordCount", 0u}, {"bodyLength", 4u}}},
        {"&#3000000000 without ; swallows the rest",
         "<body>ab &#3000000000 cd ef ",
         {{"bodyWordCount", 1u}}},
        {"&#3000000000; is one entity", "<body>ab &#3000000000; cd ", {{"bodyWordCount", 2u}}},
        {"&#3000000000; in the title counts 1",
         "<head><title>&#3000000000;x</title>",
         {{"titleLength", 2u}, {"titleText", std::string("x")}}},
        {"<!-- at the top level", "<!--", {{"commentCount", 1u}, {"commentPos", 4u}}},
        {"<!-- in the body",
         "<body>ab <!--k",
         {{"commentCount", 1u},
          {"commentPos", 13u},
          {"commentKeywordCount", 1u},
          {"bodyWordCount", 1u}},
         "k"},
        {"<a x=\" in the body",
         "<body><a x=\"",
         {{"anchorCount", 1u}, {"linkCount", 0u}, {"emptyLinkCount", 1u}, {"emptyLinkPos", 8u}}},
        {"<a href=x> in the body",
         "<body><a href=x>",
         {{"anchorCount", 1u},
          {"linkCount", 1u},
          {"linksWithoutTitleCount", 1u},
          {"linkWithoutTitlePos", 7u},
          {"emptyLinkCount", 1u},
          {"emptyLinkPos", 8u}}},
        {"link text under way at the end is no word",
         "<body><a href=x>text",
         {{"emptyLinkCount", 0u}, {"linkWordCount", 0u}}},
        {"<title in HEAD",
         "<head><title",
         {{"titleCount", 1u},
          {"titleIsFirstTag", 1u},
          {"titleLength", 0u},
          {"titleText", std::string()}}},
        {"title text to the end",
         "<head><title>ab",
         {{"titleCount", 1u},
          {"titleLength", 2u},
          {"titleText", std::string("ab")},
          {"titlePos", 13u}}},
        {"<script at the top level",
         "<script",
         {{"scriptCount", 1u}, {"scriptPos", 7u}, {"scriptTextLength", 0u}}},
        {"script text to the end", "<script>ab", {{"scriptCount", 1u}, {"scriptTextLength", 3u}}},
        {"< as the last script byte", "<script>a<", {{"scriptTextLength", 2u}}},
        {"<style in HEAD", "<head><style", {{"hasStyle", 1u}, {"styleLength", 0u}}},
        {"style text to the end", "<head><style>ab", {{"hasStyle", 1u}, {"styleLength", 2u}}},
        {"< as the last style byte", "<head><style>a<", {{"styleLength", 1u}}},
        {"<meta name=\" in HEAD",
         "<head><meta name=\"",
         {{"hasIrrelevantMeta", 0u}, {"httpEquivCount", 0u}, {"hasMetaDescription", 0u}}},
        {"META content to the end",
         "<head><meta name=\"description\" content=\"abc",
         {{"hasMetaDescription", 1u},
          {"metaDescriptionLength", 3u},
          {"metaDescriptionText", std::string("abc")},
          {"metaDescriptionPos", 11u}}},
        {"<body without >", "<body", {{"bodyTagPos", 5u}, {"bodyLength", 0u}}},
        {"<font size=", "<body><font size=", {{"smallestFontSize", 3u}}},
        {"<img alt=\"",
         "<body><img alt=\"",
         {{"imagesWithoutAltCount", 1u}, {"imagesWithoutSrcCount", 1u}}},
    };
    runCases(cases);
}

TEST(MalformedInput, NulBytes) {
    using namespace std::string_literals;
    const std::vector<PageCase> cases = {
        {"NUL separates body words", "<body>ab\0cd "s, {{"bodyWordCount", 2u}, {"bodyLength", 6u}}},
        {"NUL ends the title",
         "<head><title>ab\0cd</title>"s,
         {{"titleLength", 2u}, {"titleText", "ab"s}}},
        {"NUL ends an attribute value",
         "<body><img alt=\"ab\0cd\">"s,
         {{"imagesWithAltCount", 1u}, {"altKeywordCount", 0u}},
         "cd"},
        {"NUL ends a comment",
         "<body><!--a\0b-->c "s,
         {{"commentCount", 1u},
          {"commentKeywordCount", 0u},
          {"bodyKeywordCount", 1u},
          {"bodyWordCount", 2u}},
         "b"},
        {"NUL does not end a script", "<script>a\0b</script>c "s, {{"scriptTextLength", 4u}}},
        {"NUL ends link content", "<body><a href=x>\0</a>"s, {{"emptyLinkCount", 1u}}},
        {"only NUL bytes", std::string(100, '\0'), {{"commentCount", 0u}}},
    };
    runCases(cases);
}

TEST(MalformedInput, CrOnlyLineEnds) {
    const std::vector<PageCase> cases = {
        {"CR in the title",
         "<head><title>a\rb</title>",
         {{"titleHasCrLf", 1u},
          {"titleCrLfPos", 14u},
          {"titleLength", 3u},
          {"titleText", std::string("ab")}}},
        {"CR, CR LF and tab in a META value",
         "<head><meta name=\"description\" content=\"a\rb\r\nc\td\">",
         {{"metaDescriptionText", std::string("a b c d")},
          {"metaDescriptionLength", 7u},
          {"metaDescriptionHasCrLf", 1u}}},
        {"tab alone sets no CR/LF flag",
         "<head><meta name=\"keywords\" content=\"a\tb\">",
         {{"metaKeywordsText", std::string("a b")}, {"metaKeywordsHasCrLf", 0u}}},
        {"CR separates body words", "<body>ab\rcd\r", {{"bodyWordCount", 2u}}},
        {"a phrase matches across a CR", "<body>ab\rcd ", {{"bodyKeywordCount", 1u}}, "ab cd"},
        {"CR-only lines keep every byte in the body length", "<body>\r\r\r", {{"bodyLength", 3u}}},
    };
    runCases(cases);
}

}  // namespace
}  // namespace quorvel
