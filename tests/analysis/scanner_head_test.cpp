// Scans of the top level and of HEAD: frames, scripts, comments, title,
// META and style.

#include <gtest/gtest.h>

#include <string>

#include "scan_test_support.h"

namespace quorvel::test {
namespace {

TEST(ScannerTopLevelTest, CountsOnlyCommentsScriptsAndFrames) {
    runScanCases({
        {"page without HEAD and BODY",
         "<html><!-- note --><script>var a;</script><frameset rows=2><frame src=a></frameset>"
         "text</html>",
         {{"commentCount", 1},
          Fact::at("commentPos", " note"),
          {"scriptCount", 1},
          Fact::at("scriptPos", ">var"),
          {"scriptTextLength", 7},
          {"hasFrames", 1},
          Fact::at("framesPos", "frame src"),
          {"titleCount", 0},
          {"bodyWordCount", 0},
          {"bodyTagPos", 0},
          {"bodyBackground", 0xFFFFFF},
          {"minColourDistance", 255},
          {"smallestFontSize", 3}}},
        {"empty page keeps the reset values",
         "",
         {{"titleCount", 0},
          {"bodyLength", 0},
          {"smallestFontSize", 3},
          {"minColourDistance", 255},
          {"bodyBackground", 0xFFFFFF},
          {"repeatedWords", ""}}},
        {"NOFRAMES and IFRAME",
         "<noframes>x</noframes><iframe src=a></iframe>",
         {{"hasNoFrames", 1},
          {"noFramesPos", 1},
          {"hasFrames", 1},
          Fact::at("framesPos", "iframe")}},
        {"a FRAME in BODY sets nothing", "<body><frameset><frame>", {{"hasFrames", 0}}},
        {"an entity swallows a comment up to its semicolon",
         "&copy <!-- x --> ;<!-- y -->",
         {{"commentCount", 1}, Fact::at("commentPos", " y")}},
        {"HEADER is read as HEAD", "<header><title>x</title>", {{"titleCount", 1}}},
        {"a comment ends at its first >",
         "<!-- a > b --><!--c-->",
         {{"commentCount", 2}, Fact::at("commentPos", "c-->")}},
    });
}

TEST(ScannerTitleTest, CopiesAndMeasuresTheTitle) {
    const std::string longTitle(2048, 'x');
    const std::string wrappingTitle(65536 + 5, 'y');
    runScanCases({
        {"first tag in HEAD",
         "<html><head><title>My page</title></head><body></body></html>",
         {{"titleCount", 1},
          {"titleIsFirstTag", 1},
          {"titleText", "My page"},
          {"titleLength", 7},
          Fact::at("titlePos", "My page"),
          {"titleHasCrLf", 0}}},
        {"a comment before it",
         "<head><!-- c --><title>My page</title>",
         {{"titleIsFirstTag", 0}, {"commentCount", 1}, {"titleText", "My page"}}},
        {"two titles: the second wins, the count adds up",
         "<head><title>One</title><title>Second</title></head>",
         {{"titleCount", 2},
          {"titleText", "Second"},
          {"titleLength", 6},
          {"titleIsFirstTag", 1},
          Fact::at("titlePos", "Second")}},
        {"line break",
         "<head><title>My\r\npage</title>",
         {{"titleHasCrLf", 1},
          Fact::at("titleCrLfPos", "\npage"),
          {"titleText", "Mypage"},
          {"titleLength", 8}}},
        {"CR alone",
         "<head><title>My\rpage</title>",
         {{"titleHasCrLf", 1}, Fact::at("titleCrLfPos", "\rpage"), {"titleLength", 7}}},
        {"an entity counts one and copies nothing",
         "<head><title>Tom &amp; Jerry</title>",
         {{"titleText", "Tom  Jerry"}, {"titleLength", 11}}},
        {"tab", "<head><title>a\tb</title>", {{"titleText", "ab"}, {"titleLength", 3}}},
        {"attributes of the TITLE tag become title text",
         "<head><title lang=\"en\">Hi</title>",
         {{"titleText", "lang=\"en\">Hi"}, {"titleLength", 12}}},
        {"unterminated", "<head><title>abc", {{"titleText", "abc"}, {"titleLength", 3}}},
        {"zero byte ends it",
         std::string("<head><title>ab\0cd</title>", 26),
         {{"titleText", "ab"}, {"titleLength", 2}}},
        {"2048 bytes: 2047 are kept",
         "<head><title>" + longTitle + "</title>",
         {{"titleText", longTitle.substr(0, 2047)}, {"titleLength", 2048}}},
        {"2047 bytes",
         "<head><title>" + longTitle.substr(1) + "</title>",
         {{"titleText", longTitle.substr(1)}, {"titleLength", 2047}}},
        {"the length wraps at 65536",
         "<head><title>" + wrappingTitle + "</title>",
         {{"titleLength", 5}}},
        {"BODY ends HEAD", "<head><body><title>x</title>", {{"titleCount", 0}}},
        {"the count of HEAD tags goes on in a second HEAD",
         "<head><meta name=x></head><head><title>T</title></head>",
         {{"titleCount", 1}, {"titleIsFirstTag", 0}}},
    });
}

TEST(ScannerTitleTest, FindsKeywordsAndStopWords) {
    ScanOptions page;
    page.keyword = "page";
    ScanOptions art;
    art.stopWords = "art,web";
    runScanCases({
        {"keyword twice",
         "<head><title>My page and page</title>",
         {{"titleKeywordCount", 2},
          {"titleFirstKeywordIndex", 3},
          Fact::at("titleFirstKeywordPos", "page"),
          Fact::at("titleLastKeywordPos", "page</")},
         page},
        {"the index counts an entity as one",
         "<head><title>&amp;page</title>",
         {{"titleKeywordCount", 1}, {"titleFirstKeywordIndex", 1}},
         page},
        {"stop words of the default list",
         "<head><title>The art of the web</title>",
         {{"titleStopWordCount", 2},
          {"titleStopWord", "the"},
          Fact::at("titleStopWordPos", "the web")}},
        {"stop words of a given list",
         "<head><title>The art of the web</title>",
         {{"titleStopWordCount", 2}, {"titleStopWord", "web"}, Fact::at("titleStopWordPos", "web")},
         art},
        {"no stop word", "<head><title>Quorvel</title>", {{"titleStopWordCount", 0}}},
    });
}

TEST(ScannerMetaTest, MetaNamesMatchWithoutRegardToCase) {
    struct Spelling {
        const char* name;
        const char* content;
        const char* fact;  // set to 1 when the name is recognised
    };
    const Spelling names[] = {
        {"description", "d", "hasMetaDescription"}, {"keywords", "k", "hasMetaKeywords"},
        {"author", "a", "hasMetaAuthor"},           {"refresh", "5", "hasMetaRefresh"},
        {"robots", "noindex", "robotsNoIndex"},
    };
    std::vector<ScanCase> cases;
    for (const Spelling& n : names) {
        const std::string lower = n.name;
        std::string upper = lower;
        std::string mixed = lower;
        for (std::size_t i = 0; i < lower.size(); ++i) {
            upper[i] = static_cast<char>(lower[i] - 'a' + 'A');
            if (i % 2 == 0) mixed[i] = upper[i];
        }
        for (const std::string& spelling : {lower, upper, mixed}) {
            for (const char* attribute : {"name", "NAME", "http-equiv"}) {
                cases.push_back({std::string(attribute) + "=" + spelling,
                                 std::string("<head><meta ") + attribute + "=\"" + spelling +
                                     "\" content=\"" + n.content + "\"></head>",
                                 {{n.fact, 1}}});
            }
        }
    }
    runScanCases(cases);
}

TEST(ScannerMetaTest, ReadsNamedAndHttpEquivMetaTags) {
    ScanOptions webDesign;
    webDesign.keyword = "web design";
    ScanOptions html;
    html.keyword = "html";
    const std::string longValue(2048, 'd');
    runScanCases({
        {"description",
         R"(<head><meta name="description" content="Best web design"></head>)",
         {{"hasMetaDescription", 1},
          {"metaDescriptionText", "Best web design"},
          {"metaDescriptionLength", 15},
          {"metaDescriptionHasCrLf", 0},
          Fact::at("metaDescriptionPos", "meta", 4),
          {"metaDescriptionKeywordCount", 1},
          {"metaDescriptionFirstKeywordOffset", 5},
          Fact::at("metaDescriptionKeywordPos", "meta", 4 + 6),
          {"hasIrrelevantMeta", 0}},
         webDesign},
        {"keywords",
         R"(<head><meta name="keywords" content="a, b">)",
         {{"hasMetaKeywords", 1},
          {"metaKeywordsText", "a, b"},
          {"metaKeywordsLength", 4},
          Fact::at("metaKeywordsPos", "meta", 4),
          {"hasIrrelevantMeta", 0}}},
        {"unquoted name runs on over the content",
         "<head><meta name=keywords content=a,b>",
         {{"hasMetaKeywords", 0},
          {"hasIrrelevantMeta", 1},
          Fact::at("irrelevantMetaPos", "meta", 4)}},
        {"refresh by http-equiv",
         R"(<head><meta http-equiv="refresh" content="0; url=x.html">)",
         {{"httpEquivCount", 1},
          Fact::at("httpEquivPos", "meta", 4),
          {"hasMetaRefresh", 1},
          {"metaRefreshSeconds", 0},
          Fact::at("metaRefreshPos", "meta", 4),
          {"httpEquivKeywordCount", 1},
          {"httpEquivFirstKeywordOffset", 9},
          {"hasIrrelevantMeta", 0}},
         html},
        {"refresh seconds from the leading digits",
         R"(<head><meta name="refresh" content="15;url=x">)",
         {{"hasMetaRefresh", 1}, {"metaRefreshSeconds", 15}, {"httpEquivCount", 0}}},
        // The counter keeps the low 16 bits of the whole number, as the C
        // library's atoi gives it; past the 64-bit range it saturates.
        {"refresh of 16 digits keeps its low 16 bits",
         R"(<head><meta name="refresh" content="1234567890123456">)",
         {{"metaRefreshSeconds", 1234567890123456 & 0xFFFF}}},
        {"refresh beyond 64 bits saturates",
         R"(<head><meta name="refresh" content="99999999999999999999999">)",
         {{"metaRefreshSeconds", 0xFFFF}}},
        {"Content-Type is harmless",
         R"(<head><meta http-equiv="Content-Type" content="text/html">)",
         {{"httpEquivCount", 1}, {"hasIrrelevantMeta", 0}}},
        {"author is copied and irrelevant",
         R"(<head><meta name="Author" content="Jo">)",
         {{"hasMetaAuthor", 1},
          {"metaAuthorText", "Jo"},
          {"metaAuthorLength", 2},
          {"hasIrrelevantMeta", 1}}},
        {"robots",
         R"(<head><meta name="robots" content="NoIndex, noarchive">)",
         {{"robotsNoIndex", 1},
          Fact::at("robotsNoIndexPos", "meta", 4),
          {"robotsNoArchive", 1},
          {"hasIrrelevantMeta", 0}}},
        {"robots that allow everything",
         R"(<head><meta name="robots" content="index,follow">)",
         {{"robotsNoIndex", 0}, {"robotsNoArchive", 0}}},
        {"another name",
         R"(<head><meta name="generator" content="x">)",
         {{"hasIrrelevantMeta", 1}}},
        {"verify-v1", R"(<head><meta name="VERIFY-V1" content="x">)", {{"hasIrrelevantMeta", 0}}},
        {"line break in the content",
         "<head><meta name=\"description\" content=\"a\r\nb\">",
         {{"metaDescriptionText", "a b"},
          {"metaDescriptionLength", 3},
          {"metaDescriptionHasCrLf", 1}}},
        {"2048 bytes of content: 2047 kept",
         "<head><meta name=\"description\" content=\"" + longValue + "\">",
         {{"metaDescriptionLength", 2047}, {"metaDescriptionText", longValue.substr(0, 2047)}}},
        {"no name and no http-equiv", R"(<head><meta content="x">)", {{"hasIrrelevantMeta", 0}}},
        {"META in BODY",
         R"(<body><meta name="description" content="x">)",
         {{"hasMetaDescription", 1}, {"metaDescriptionText", "x"}}},
        {"a later META overwrites, http-equiv counts add up",
         R"(<head><meta name="description" content="one"><meta http-equiv="a" content="x">)"
         R"(<meta name="description" content="two"><meta http-equiv="b" content="y">)",
         {{"metaDescriptionText", "two"},
          {"httpEquivCount", 2},
          {"hasIrrelevantMeta", 1},
          Fact::at("httpEquivPos", "meta http-equiv=\"b", 4)}},
        {"keyword counts at word starts only",
         R"(<head><meta name="description" content="start art"></head>)",
         {{"metaDescriptionKeywordCount", 1}, {"metaDescriptionFirstKeywordOffset", 6}},
         ScanOptions{"art"}},
    });
}

TEST(ScannerStyleTest, MeasuresStylesInHead) {
    ScanOptions red;
    red.keyword = "red";
    runScanCases({
        {"one style",
         "<head><style>p{color:red}</style></head>",
         {{"hasStyle", 1},
          {"styleLength", 12},
          {"styleKeywordCount", 1},
          {"styleFirstKeywordOffset", 8},
          Fact::at("styleFirstKeywordPos", "red}")},
         red},
        {"two styles: lengths add up, the first match stays",
         "<head><style type=\"text/css\">red</style><style>a red</style></head>",
         {{"styleLength", 8},
          {"styleKeywordCount", 2},
          {"styleFirstKeywordOffset", 0},
          Fact::at("styleFirstKeywordPos", "red<")},
         red},
        {"a < is neither counted nor matched", "<head><style>a<b</style>", {{"styleLength", 2}}},
        {"STYLE in BODY is body text",
         "<body><style>p{color:red}</style> </body>",
         {{"hasStyle", 0}, {"bodyKeywordCount", 1}, {"bodyWordCount", 3}},
         red},
    });
}

TEST(ScannerScriptTest, MeasuresScriptsWithoutReadingThem) {
    const std::string tail = "var x = 1;";
    runScanCases({
        {"two scripts in HEAD",
         R"(<head><script src="a.js"></script><script>x<y</script></head>)",
         {{"scriptCount", 2},
          {"externalScriptCount", 1},
          {"scriptTextLength", 4},
          Fact::at("scriptPos", "><script>x", 8)}},
        {"script in BODY adds no words",
         "<body><script>var word word;</script>text </body>",
         {{"scriptCount", 1}, {"bodyWordCount", 1}, {"repeatedWordCount", 0}}},
        {"a < before the end tag hides it",
         "<script>a<</script>b</script>",
         {{"scriptTextLength", 12}}},
        {"unterminated", "<script>" + tail, {{"scriptTextLength", 11}}},
        {"empty src", R"(<script src="">)", {{"externalScriptCount", 0}, {"scriptTextLength", 1}}},
    });
}

TEST(ScannerCommentTest, CountsCommentsAndKeywordsInThem) {
    ScanOptions a;
    a.keyword = "a";
    runScanCases({
        {"comment with a > in BODY",
         "<body><!-- a > b -->c</body>",
         {{"commentCount", 1}, {"commentKeywordCount", 1}, {"bodyWordCount", 2}},
         a},
        {"comments in HEAD and at the top",
         "<!--a--><head><!-- a a --></head>",
         {{"commentCount", 2}, {"commentKeywordCount", 3}, Fact::at("commentPos", " a a")},
         a},
        {"unterminated", "<!-- a", {{"commentCount", 1}, {"commentKeywordCount", 1}}, a},
    });
}

}  // namespace
}  // namespace quorvel::test
