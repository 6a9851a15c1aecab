#include "report/html_colorizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace quorvel {
namespace {

// One letter per byte: '.' default, 'B' tag name, 'R' quoted value, 'G'
// declaration or comment.
std::string paint(std::string_view text) {
    std::string marks(text.size(), '.');
    for (const ColourSpan& span : colorizeHtml(text)) {
        const char mark = span.kind == ColourKind::TagName       ? 'B'
                          : span.kind == ColourKind::QuotedValue ? 'R'
                                                                 : 'G';
        for (std::size_t i = span.begin; i < span.end && i < marks.size(); ++i)
            marks[i] = mark;
    }
    return marks;
}

struct PaintCase {
    const char* label;
    std::string text;
    const char* expected;
};

TEST(HtmlColorizer, ColoursTagNamesQuotedValuesAndDeclarations) {
    const PaintCase cases[] = {
        {"body with quoted colour", "<body bgcolor=\"#ffffff\">", ".BBBB.........RRRRRRRRR."},
        {"mixed case tag", "<Body>", "......"},
        {"upper case tag", "<BODY>", ".BBBB."},
        {"closing form", "</table>", ".BBBBBB."},
        {"upper closing form", "</TABLE>", ".BBBBBB."},
        {"no closing form for br", "<br></br>", ".BB......"},
        {"two-character name", "<h1></H1>", ".BB..BBB."},
        {"longer keyword after a failed prefix", "<abbr>", ".BBBB."},
        {"unknown tag", "<tb><blink>", "..........."},
        {"csscriptdict lower only", "<csscriptdict><CSSCRIPTDICT>", ".BBBBBBBBBBBB..............."},
        {"comment ends at first >", "<!-- a > b -->", "GGGGGGGG.B...."},
        {"comment", "<!-- x -->", "GGGGGGGGGG"},
        {"doctype", "<!DOCTYPE html>\r\n<html>", "GGGGGGGGGGGGGGG...BBBB."},
        {"empty comment", "<!---->x", "GGGGGGG."},
        {"dashes then bracket", "<!-->", "GGGGG"},
        {"unterminated comment", "<!-- never closed", "GGGGGGGGGGGGGGGGG"},
        {"unterminated double quote", "<a href=\"x>y", ".B......RRRR"},
        {"keywords inside quotes stay red", "\"table\" b", "RRRRRRR.B"},
        {"single-quoted value", "<p class='x'>", ".B.......RRR."},
        {"apostrophe ends uncoloured at <", "don't <b>bold</b>", ".......B......BB."},
        {"unterminated single quote", "it's", "..RR"},
        {"lone lower-case a and table in text", "see a table here", "....B.BBBBB....."},
        {"comma and full stop are no delimiters", " a, a. a;", ".......B."},
        {"delimiters around a keyword", "(a)[b]{i}&p&*q*=u=", ".B..B..B..B..B..B."},
        {"slash is no delimiter", "x/a/ a/", "......."},
        {"keyword at the first byte", "b text", "B....."},
        {"keyword at the last byte", "text b", ".....B"},
        {"NUL bytes are delimiters", std::string("\0a\0", 3), ".B."},
        {"lone < at the end", "x <", "..."},
        {"lone <! at the end", "x <!", "..GG"},
        {"empty text", "", ""},
    };
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(paint(c.text), c.expected);
    }
}

TEST(HtmlColorizer, AKeywordGluedToTheByteBeforeItIsNoKeyword) {
    const PaintCase cases[] = {
        {"glued to byte 0", "xb", ".."},
        {"glued to byte 0, then a delimiter", "xb c", "...."},
        {"two keywords glued together", "ab", ".."},
        {"byte 0 a delimiter", "(b", ".B"},
        {"glued to byte 1", " xb", "..."},
        {"keyword at byte 0 glued to the next", "bx", ".."},
        {"keyword alone", "b", "B"},
    };
    for (const PaintCase& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(paint(c.text), c.expected);
    }
}

TEST(HtmlColorizer, SpansOfABodyTag) {
    const std::vector<ColourSpan> expected = {
        {1, 5, ColourKind::TagName},
        {14, 23, ColourKind::QuotedValue},
    };
    EXPECT_EQ(colorizeHtml("<body bgcolor=\"#ffffff\">"), expected);
}

TEST(HtmlColorizer, FormatColours) {
    EXPECT_EQ(colourOf(ColourKind::TagName), (RgbColour{0, 0, 220}));
    EXPECT_EQ(colourOf(ColourKind::QuotedValue), (RgbColour{255, 0, 0}));
    EXPECT_EQ(colourOf(ColourKind::DeclarationOrComment), (RgbColour{0, 180, 0}));
    EXPECT_EQ(kDefaultCodeColour, (RgbColour{0, 0, 0}));
}

TEST(HtmlColorizer, KeywordListIsSortedWithBothCasesAndClosingForms) {
    const std::vector<std::string>& keywords = htmlTagKeywords();
    // 91 tags, 13 without a closing form: (91 * 2 - 13) per case, plus csscriptdict twice.
    EXPECT_EQ(keywords.size(), 2u * (91 * 2 - 13) + 2);
    EXPECT_TRUE(std::is_sorted(keywords.begin(), keywords.end()));
    EXPECT_TRUE(std::adjacent_find(keywords.begin(), keywords.end()) == keywords.end());
    const auto has = [&](std::string_view word) {
        return std::binary_search(keywords.begin(), keywords.end(), std::string(word));
    };
    for (const char* present : {"a", "A", "/a", "/A", "blockquote", "/BLOCKQUOTE", "isindex",
                                "ISINDEX", "csscriptdict", "/csscriptdict", "var", "/VAR"}) {
        SCOPED_TRACE(present);
        EXPECT_TRUE(has(present));
    }
    for (const char* absent : {"/br", "/BR", "/img", "/META", "/isindex", "CSSCRIPTDICT",
                               "/CSSCRIPTDICT", "Body", "blink"}) {
        SCOPED_TRACE(absent);
        EXPECT_FALSE(has(absent));
    }
}

// Every prefix of a text full of unfinished constructs gives ordered,
// non-overlapping spans inside the text.
TEST(HtmlColorizer, SpansStayInsideEveryPrefix) {
    const std::string text =
        "<!DOCTYPE x><html><!-- c > d --><body a='1' b=\"2\">it's a <b>table</b> "
        "<!--x-><!-y>--z \"open";
    for (std::size_t length = 0; length <= text.size(); ++length) {
        SCOPED_TRACE(length);
        const std::string_view prefix(text.data(), length);
        std::size_t previousEnd = 0;
        for (const ColourSpan& span : colorizeHtml(prefix)) {
            EXPECT_LE(previousEnd, span.begin);
            EXPECT_LT(span.begin, span.end);
            EXPECT_LE(span.end, length);
            previousEnd = span.end;
        }
    }
}

}  // namespace
}  // namespace quorvel
