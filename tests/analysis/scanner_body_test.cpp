// Scans of BODY: text, keywords, headings, tables, forms, images, fonts and
// colours.

#include <gtest/gtest.h>

#include <string>

#include "scan_test_support.h"

namespace quorvel::test {
namespace {

ScanOptions keyword(std::string phrase, bool caseSensitive = true, bool finalS = false) {
    ScanOptions options;
    options.keyword = std::move(phrase);
    options.caseSensitive = caseSensitive;
    options.finalS = finalS;
    return options;
}

std::string repeat(std::string_view text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}

TEST(ScannerBodyTest, PlacesTheBodyAndItsText) {
    runScanCases({
        {"positions and length",
         "<html><body bgcolor=\"#000FFF\">Hi</body></html>",
         {Fact::at("bodyTagPos", "body", 4),
          Fact::at("bodyTextPos", ">Hi"),
          {"bodyLength", 16},
          {"bodyBackground", 0x000FFF},
          {"minColourDistance", 90},
          Fact::at("minColourDistancePos", "Hi")}},
        {"tag nested in the BODY tag",
         "<body onload=\"x<y>z\">a",
         {Fact::at("bodyTextPos", ">a"), {"bodyLength", 1}}},
        {"text after /BODY and /HTML is body text",
         "<body>one</body></html>two three",
         {{"bodyWordCount", 2}}},
        {"BODY tag cut off by the end: the unquoted value runs to the end",
         "<body bgcolor=red",
         {{"bodyLength", 0}, {"bodyBackground", 0xFF0000}}},
        {"the body length wraps at 65536",
         "<body>" + repeat("w ", 65539),
         {{"bodyLength", 6}, {"bodyWordCount", 3}, {"repeatedWordCount", 2}}},
    });
}

TEST(ScannerBodyTest, TriesTheKeywordAtEveryVisibleByte) {
    runScanCases({
        {"inside longer words",
         "<body>Restart starts START</body>",
         {{"bodyKeywordCount", 2}},
         keyword("start", false)},
        {"with the final-s rule",
         "<body>Restart starts START</body>",
         {{"bodyKeywordCount", 3}},
         keyword("start", false, true)},
        {"every byte, not word starts",
         "<body>start art</body>",
         {{"bodyKeywordCount", 2}},
         keyword("art")},
        {"first offset of a single word",
         "<body>x web</body>",
         {{"bodyKeywordCount", 1}, {"bodyFirstKeywordOffset", 3}},
         keyword("web")},
        {"first offset of a phrase adds its last word",
         "<body>x web\r\ndesign</body>",
         {{"bodyKeywordCount", 1}, {"bodyFirstKeywordOffset", 3 + 6}},
         keyword("web design")},
        {"an entity between the words breaks a phrase",
         "<body>web&nbsp;design</body>",
         {{"bodyKeywordCount", 0}},
         keyword("web design")},
        {"case sensitive",
         "<body>Web design</body>",
         {{"bodyKeywordCount", 0}},
         keyword("web design")},
        {"inside a heading",
         "<body><h1>web design</h1><p>text </p></body>",
         {{"headingCount", 1},
          Fact::at("headingPos", "h1"),
          {"headingKeywordCount", 1},
          Fact::at("headingKeywordPos", "web"),
          {"headingWordCount", 2},
          {"bodyWordCount", 1},
          {"totalWordCount", 3},
          {"bodyKeywordCount", 1}},
         keyword("web")},
        {"inside a table",
         "<body><table><tr><td>web</td></tr></table>web </body>",
         {{"hasTable", 1},
          Fact::at("firstTablePos", "table"),
          {"tableKeywordCount", 1},
          Fact::at("tableKeywordPos", "web</td"),
          {"bodyKeywordCount", 2}},
         keyword("web")},
    });
}

TEST(ScannerBodyTest, HeadingsAreH1ToH6InEitherCase) {
    std::vector<ScanCase> cases;
    for (const char letter : {'h', 'H'}) {
        for (char digit = '0'; digit <= '9'; ++digit) {
            const std::string tag = std::string(1, letter) + digit;
            const bool heading = digit >= '1' && digit <= '6';
            cases.push_back({tag + (heading ? " is a heading" : " is no heading"),
                             "<body><" + tag + ">web</" + tag + ">x</body>",
                             {{"headingCount", heading ? 1u : 0u},
                              {"headingWordCount", heading ? 1u : 0u},
                              {"headingKeywordCount", heading ? 1u : 0u},
                              // The closing tag ends the heading: x is body text.
                              {"bodyWordCount", heading ? 1u : 2u}},
                             keyword("web")});
        }
    }
    runScanCases(cases);
}

TEST(ScannerBodyTest, KeywordCaseFollowsTheEnginesSwitch) {
    struct Case {
        const char* keyword;
        const char* text;
    };
    // Each pair differs only in letter case, in either direction.
    const Case pairs[] = {
        {"Hiking", "hiking"},
        {"hiking", "HIKING"},
        {"hIkInG", "HiKiNg"},
        {"Zebra", "zEBRA"},
    };
    std::vector<ScanCase> cases;
    for (const Case& c : pairs) {
        for (const bool caseSensitive : {false, true}) {
            const unsigned count = caseSensitive ? 0 : 1;
            cases.push_back({std::string(c.keyword) + " in " + c.text +
                                 (caseSensitive ? ", case-sensitive" : ", case-insensitive"),
                             std::string("<head><title>") + c.text + "</title></head><body>" +
                                 c.text + "</body>",
                             {{"titleKeywordCount", count}, {"bodyKeywordCount", count}},
                             keyword(c.keyword, caseSensitive)});
        }
    }
    runScanCases(cases);
}

TEST(ScannerBodyTest, RecognisesTagsByPrefix) {
    runScanCases({
        {"H7 and HR are no headings",
         "<body><h7>a</h7><hr>b</body>",
         {{"headingCount", 0}, {"bodyWordCount", 2}}},
        {"the heading ends at /H",
         "<body><H2>a</h2>b</body>",
         {{"headingCount", 1}, {"headingWordCount", 1}, {"bodyWordCount", 1}}},
        {"a run of < is stepped over", "<body><<<img src=a>", {{"imagesWithSrcCount", 1}}},
        {"MAP and OBJECT",
         "<body><map name=m></map><object data=x></object>",
         {{"hasImageMap", 1},
          Fact::at("imageMapPos", "map"),
          {"hasObject", 1},
          Fact::at("objectPos", "object")}},
        {"first TABLE only", "<body><table></table><table>", {Fact::at("firstTablePos", "table")}},
        {"THEAD is read as TH and does not end the table",
         "<body><table><thead>web</body>",
         {{"tableKeywordCount", 1}},
         keyword("web")},
        {"hidden DIV",
         "<body><div style=\"Visibility: HIDDEN\"></div><div style=\"visibility:hidden\">",
         {{"hiddenDivCount", 2}, Fact::at("hiddenDivPos", "div")}},
        {"a DIV style must begin with visibility",
         "<body><div style=\"display:none; visibility:hidden\">",
         {{"hiddenDivCount", 0}}},
    });
}

TEST(ScannerBodyTest, CountsImagesAndAltTexts) {
    runScanCases({
        {"image with source and ALT",
         R"(<body><img src="photo-web.jpg" alt="web"></body>)",
         {{"imagesWithSrcCount", 1},
          {"imageSrcKeywordCount", 1},
          Fact::at("imageSrcKeywordPos", "img"),
          {"imagesWithAltCount", 1},
          {"altKeywordCount", 1},
          Fact::at("altKeywordPos", "img"),
          {"imagesWithoutAltCount", 0}},
         keyword("web")},
        {"images without source or ALT",
         R"(<body><img><img src="" alt="">)",
         {{"imagesWithoutSrcCount", 2},
          {"imagesWithoutAltCount", 2},
          Fact::at("firstImageWithoutAltPos", "img")}},
        {"AREA: a dynamic link without title",
         R"(<body><area href="a?b" alt="x">)",
         {{"linkCount", 1},
          {"dynamicLinkCount", 1},
          Fact::at("dynamicLinkPos", "area"),
          {"linksWithoutTitleCount", 1},
          Fact::at("linkWithoutTitlePos", "area"),
          {"imagesWithAltCount", 1},
          {"anchorCount", 0}}},
        {"AREA with nofollow and title",
         R"(<body><area href="a?b" rel="nofollow" title="t">)",
         {{"dynamicLinkCount", 0}, {"linksWithoutTitleCount", 0}, {"imagesWithoutAltCount", 1}}},
        {"nofollow only in small letters",
         R"(<body><area href="a?b" rel="NoFollow">)",
         {{"dynamicLinkCount", 1}}},
        {"hidden INPUT outside FORM",
         R"(<body><input type="hidden" value="web">)",
         {{"hiddenInputCount", 1},
          {"hiddenInputKeywordCount", 1},
          Fact::at("hiddenInputPos", "input"),
          {"imagesWithoutAltCount", 1}},
         keyword("web")},
        {"hidden INPUT inside FORM",
         R"(<body><form><input type="HIDDEN" value="web"></form>)",
         {{"hiddenInputCount", 0}, {"imagesWithoutAltCount", 1}},
         keyword("web")},
        {"an unquoted type runs on", "<body><input type=hidden name=x>", {{"hiddenInputCount", 0}}},
        {"after /FORM", R"(<body><form></form><input type="hidden">)", {{"hiddenInputCount", 1}}},
        {"APPLET continues where the ALT search ended",
         "<body><applet alt>hello alt=\"x\">more </body>",
         {{"imagesWithAltCount", 1}, {"bodyWordCount", 1}}},
        {"IMG continues after its own tag",
         "<body><img alt>hello alt=\"x\">more </body>",
         {{"imagesWithAltCount", 1}, {"bodyWordCount", 4}}},
    });
}

TEST(ScannerBodyTest, FollowsFontSizes) {
    runScanCases({
        {"size 1",
         "<body><font size=1>a</font>",
         {{"smallestFontSize", 1}, Fact::at("smallestFontPos", ">a")}},
        {"quoted size: the position of the closing quote",
         "<body><font size=\"1\">a",
         {{"smallestFontSize", 1}, Fact::at("smallestFontPos", "\">a")}},
        {"+9 gives 7", "<body><font size=+9>", {{"smallestFontSize", 3}}},
        {"-5 gives 1", "<body><font size=-5>", {{"smallestFontSize", 1}}},
        {"-1 from 3", "<body><font size=\"-1\">", {{"smallestFontSize", 2}}},
        {"0 becomes 1", "<body><font size=0>", {{"smallestFontSize", 1}}},
        {"an unquoted size followed by a colour reads as its number",
         "<body><font size=2 color=red>",
         {{"smallestFontSize", 2}}},
        {"BASEFONT", "<body><basefont size=2>", {{"smallestFontSize", 2}}},
        {"/FONT restores the saved level",
         "<body><font size=5></font><small><small>",
         {{"smallestFontSize", 1}, Fact::at("smallestFontPos", "><small>", 7 + 7)}},
        {"BIG then SMALL",
         "<body><big><small><small>",
         {{"smallestFontSize", 2}, Fact::at("smallestFontPos", "><small>", 7 + 7)}},
        {"/SMALL and /BIG",
         "<body><small></small><big></big></big><small>",
         {{"smallestFontSize", 1}}},
        {"SMALL stops at 1", "<body><small><small><small><small>", {{"smallestFontSize", 1}}},
        {"only in BODY", "<head><font size=1></head>", {{"smallestFontSize", 3}}},
    });
}

TEST(ScannerBodyTest, FollowsColours) {
    const std::string deepPush =
        "<body><font color=\"#FFFFFF\">" + repeat("<td>", 31) + repeat("</td>", 31) + "x</body>";
    const std::string shallowPush =
        "<body><font color=\"#FFFFFF\">" + repeat("<td>", 30) + repeat("</td>", 30) + "x</body>";
    runScanCases({
        {"no colours",
         "<body>text</body>",
         {{"minColourDistance", 255}, {"minColourDistancePos", 0}}},
        {"white FONT on white: at the first visible byte after the tag",
         "<body>ab<font color=\"white\"> cd</font>",
         {{"minColourDistance", 0}, Fact::at("minColourDistancePos", "cd")}},
        {"TD with a black background",
         "<body><table><tr><td bgcolor=black>x</td></tr></table>y</body>",
         {{"minColourDistance", 0}, Fact::at("minColourDistancePos", "x")}},
        {"/TD restores the background",
         "<body><table><tr><td bgcolor=\"#808080\"></td></tr></table>z</body>",
         {{"minColourDistance", 255}}},
        {"an unquoted colour name followed by an attribute is no colour",
         "<body><font color=white size=2>x",
         {{"minColourDistance", 255}}},
        {"an unquoted # colour followed by an attribute is read",
         "<body><font color=#FFFFFF size=2>x",
         {{"minColourDistance", 0}}},
        {"BODY text colour", "<body text=\"white\">x", {{"minColourDistance", 0}}},
        {"ties keep the earlier position",
         "<body text=\"white\">x y",
         {Fact::at("minColourDistancePos", "x y")}},
        {"a link without a link colour is never measured",
         "<body><font color=white><a href=\"x\">link</a></font></body>",
         {{"minColourDistance", 255}}},
        {"BODY link colour",
         "<body link=\"#FFFFFF\"><a href=\"x\">go</a>",
         {{"minColourDistance", 0}, Fact::at("minColourDistancePos", "go")}},
        {"a black link colour is skipped",
         "<body link=\"#000000\" bgcolor=black><a href=x>go</a>",
         {{"minColourDistance", 255}}},
        {"FONT inside a link sets the link colour",
         "<body><a href=x><font color=\"#FFFFFE\">go</font></a>",
         {{"minColourDistance", 0}, Fact::at("minColourDistancePos", "go")}},
        {"BODY, FONT and 30 cells: 32 pushes kept", shallowPush, {{"minColourDistance", 0}}},
        {"a 33rd push is not kept", deepPush, {{"minColourDistance", 255}}},
        {"the > after a META in BODY is read as text",
         "<body><font color=\"#FFFFFF\"><meta name=\"x\">",
         {{"minColourDistance", 0}, {"minColourDistancePos", 42}}},
    });
}

TEST(ScannerLinkTest, CountsLinksAndTheirContent) {
    runScanCases({
        {"tiny image as the only content",
         R"(<body><a href="page.html"><img src="dot.gif" width=1 height=1></a></body>)",
         {{"anchorCount", 1},
          {"linkCount", 1},
          {"linksWithoutTitleCount", 1},
          Fact::at("linkWithoutTitlePos", "a href"),
          {"imagesWithSrcCount", 1},
          {"imagesWithoutAltCount", 1},
          {"tinyLinkImageCount", 2},
          Fact::at("tinyLinkImagePos", "img"),
          {"emptyLinkCount", 0}}},
        {"width 0 and a wide height",
         R"(<body><a href=x><img width="0" height="20"></a>)",
         {{"tinyLinkImageCount", 1}}},
        {"ismap",
         R"(<body><a href=x><img src="m.gif" ISMAP></a>)",
         {{"hasImageMap", 1}, Fact::at("imageMapPos", "img")}},
        {"a line break only",
         "<body><a href=\"x\">\r\n</a></body>",
         {{"emptyLinkCount", 1}, Fact::at("emptyLinkPos", "a href", 1)}},
        {"an entity only", "<body><a href=\"x\">&nbsp;</a></body>", {{"emptyLinkCount", 1}}},
        {"a blank is content", "<body><a href=\"x\"> </a></body>", {{"emptyLinkCount", 0}}},
        {"a tag is content", "<body><a href=\"x\"><b></b></a></body>", {{"emptyLinkCount", 0}}},
        {"anchor without href",
         "<body><a name=\"top\">Top</a></body>",
         {{"anchorCount", 1}, {"linkCount", 0}, {"linkWordCount", 1}, {"bodyWordCount", 0}}},
        {"A needs white space after it",
         "<body><abbr>x</abbr><a\thref=y>z</a>",
         {{"anchorCount", 1}, {"linkCount", 1}}},
        {"dynamic link with title",
         R"(<body><a href="p?id=1" title="t">x</a>)",
         {{"dynamicLinkCount", 1},
          Fact::at("dynamicLinkPos", "a href"),
          {"linksWithoutTitleCount", 0}}},
        {"nofollow", R"(<body><a href="p?id=1" rel="nofollow">x</a>)", {{"dynamicLinkCount", 0}}},
        {"keyword in the URL at word starts",
         R"(<body><a href="web-design.html">x</a>)",
         {{"linkUrlKeywordCount", 1}, Fact::at("linkUrlKeywordPos", "a href")},
         keyword("web design", false)},
        {"keyword in the link text",
         "<body><a href=x>web design</a></body>",
         {{"linkTextKeywordCount", 1},
          Fact::at("linkTextKeywordPos", "web", 6),
          {"bodyKeywordCount", 1},
          {"linkWordCount", 2},
          {"bodyFirstKeywordOffset", 11 + 6}},
         keyword("web design")},
        {"link inside a table counts table matches",
         "<body><table><td><a href=x>web</a></table>",
         {{"tableKeywordCount", 1}, {"tableKeywordPos", 0}},
         keyword("web")},
        {"/A also ends at /ABBR",
         "<body><a href=x><abbr>x</abbr>y</a>z </body>",
         {{"linkWordCount", 1}, {"bodyWordCount", 2}}},
        {"unterminated link", "<body><a href=x>abc", {{"linkWordCount", 0}, {"emptyLinkCount", 0}}},
        {"a zero byte ends the link",
         std::string("<body><a href=x>ab\0cd e", 23),
         {{"anchorCount", 1}, {"emptyLinkCount", 0}, {"linkWordCount", 0}, {"bodyWordCount", 2}}},
        {"link tag cut off by the end",
         "<body><a href=\"x",
         {{"anchorCount", 1}, {"linkCount", 1}, {"emptyLinkCount", 1}}},
    });
}

TEST(ScannerWordsTest, BuildsWordsAndFindsRepetitions) {
    ScanOptions min4;
    min4.minWordLength = 4;
    ScanOptions min3;
    min3.minWordLength = 3;
    ScanOptions anyCase;
    anyCase.caseSensitive = false;
    const std::string longWord(1030, 'a');
    runScanCases({
        {"minimum length 4", "<body>a bcd efg hij.</body>", {{"bodyWordCount", 0}}, min4},
        {"minimum length 3", "<body>a bcd efg hij.</body>", {{"bodyWordCount", 3}}, min3},
        {"every word", "<body>a bcd efg hij.</body>", {{"bodyWordCount", 4}}},
        {"a repeated word",
         "<body>the the cat.</body>",
         {{"repeatedWordCount", 1},
          {"repeatedWords", "the"},
          Fact::at("repeatedWordPos", "the cat")}},
        {"numbers are no repetition", "<body>12 12 a1 a1.</body>", {{"repeatedWordCount", 0}}},
        {"case sensitive with a case-sensitive keyword",
         "<body>The the.</body>",
         {{"repeatedWordCount", 0}}},
        {"any case with a case-insensitive keyword",
         "<body>The the.</body>",
         {{"repeatedWordCount", 1}, {"repeatedWords", "the"}},
         anyCase},
        {"a short word does not break a repetition",
         "<body>the a the.</body>",
         {{"repeatedWordCount", 1}},
         min3},
        {"a counted short word does", "<body>the a the.</body>", {{"repeatedWordCount", 0}}},
        {"tags do not break a repetition",
         "<body>web<b>web</b></body>",
         {{"repeatedWordCount", 1}, {"bodyWordCount", 2}}},
        {"the list is joined by commas",
         "<body>a a b b b.</body>",
         {{"repeatedWordCount", 3},
          {"repeatedWords", "a,b,b"},
          Fact::at("repeatedWordPos", "a b")}},
        {"the last word of the file is not counted", "<body>one two", {{"bodyWordCount", 1}}},
        {"an entity joins the letters around it",
         "<body>foo&amp;bar baz.</body>",
         {{"bodyWordCount", 2}}},
        {"entities in a row", "<body>&nbsp;&nbsp;x.</body>", {{"bodyWordCount", 1}}},
        {"CR-only line ends",
         "<body>one\rone\rtwo\r</body>",
         {{"bodyWordCount", 3}, {"repeatedWordCount", 1}}},
        {"apostrophe and hyphen separate words",
         "<body>don't self-made.</body>",
         {{"bodyWordCount", 4}}},
        {"bytes above 127 separate words",
         "<body>caf\xE9 na\xEFve.</body>",
         {{"bodyWordCount", 3}}},
        {"words are compared on their first 1024 bytes",
         "<body>" + longWord + " " + longWord.substr(0, 1024) + "b.</body>",
         {{"repeatedWordCount", 1}}},
        {"entity cut off by the end", "<body>ab&am", {{"bodyWordCount", 1}}},
        {"entity without semicolon runs to the end",
         "<body>ab&amp cd. ef.",
         {{"bodyWordCount", 0}}},
        {"zero byte in mid-file", std::string("<body>one\0two three", 19), {{"bodyWordCount", 2}}},
        {"the word counts wrap at 65536",
         "<body>" + repeat("a b ", 32769) + "</body>",
         {{"bodyWordCount", 2}, {"totalWordCount", 2}}},
    });
}

}  // namespace
}  // namespace quorvel::test
