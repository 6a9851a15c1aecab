// The Body, Images, Links and Misc rules, each at the boundary where it starts
// to fire, with the evaluation order of their categories.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks/check_rules.h"
#include "checks/rule_test_support.h"

namespace quorvel {
namespace {

using testing::CategoryEvaluator;
using testing::enable;
using testing::entryOf;
using testing::evaluateCategory;
using testing::firedIndexes;
using testing::runFactsFor;
using testing::setField;

using testing::RuleCase;

void runCases(CategoryEvaluator evaluate, const PageFacts& base,
              const std::vector<RuleCase>& cases) {
    testing::runRuleCases(evaluate, base, cases, 10);
}

// 300 words with the keyword 10 times (3.33%), starting the body text, one
// heading with the keyword: nothing fires with the built-in defaults.
PageFacts bodyPage() {
    PageFacts page;
    page.bodyTextPos = 100;
    page.bodyLength = 1000;
    page.bodyKeywordCount = 10;
    page.bodyFirstKeywordOffset = 0;
    page.headingCount = 1;
    page.headingKeywordCount = 1;
    page.headingPos = 120;
    page.totalWordCount = 300;
    return page;
}

TEST(BodyRules, FireAtTheirBoundaries) {
    const std::vector<RuleCase> cases = {
        {"base page", [](PageFacts&) {}, {}},
        {"keyword at 25% of the body",
         [](PageFacts& p) {
             p.bodyFirstKeywordOffset = 247;  // 24700 / 990 = 24
         },
         {}},
        {"keyword at 25% exactly",
         [](PageFacts& p) {
             p.bodyFirstKeywordOffset = 257;  // 25700 / 990 = 25
         },
         {}},
        {"keyword past 25%",
         [](PageFacts& p) {
             p.bodyFirstKeywordOffset = 258;  // 25800 / 990 = 26
         },
         {0}},
        {"early check skipped for a zero divisor",
         [](PageFacts& p) {
             p.bodyLength = 10;
             p.bodyFirstKeywordOffset = 9;
         },
         {}},
        {"no keyword in the body",
         [](PageFacts& p) {
             p.bodyKeywordCount = 0;
             p.bodyFirstKeywordOffset = 900;
         },
         {4, 8}},
        {"font size 2", [](PageFacts& p) { p.smallestFontSize = 2; }, {1}},
        {"font size 3", [](PageFacts& p) { p.smallestFontSize = 3; }, {}},
        {"colour distance 25 (9%)", [](PageFacts& p) { p.minColourDistance = 25; }, {2}},
        {"colour distance 26 (10%)", [](PageFacts& p) { p.minColourDistance = 26; }, {}},
        {"table without keyword", [](PageFacts& p) { p.hasTable = 1; }, {3}},
        {"table with keyword",
         [](PageFacts& p) {
             p.hasTable = 1;
             p.tableKeywordCount = 1;
         },
         {}},
        {"table keyword count without a table", [](PageFacts& p) { p.tableKeywordCount = 0; }, {}},
        {"heading without keyword", [](PageFacts& p) { p.headingKeywordCount = 0; }, {5}},
        {"no heading", [](PageFacts& p) { p.headingCount = 0; }, {6}},
        {"no heading, its check disabled",
         [](PageFacts& p) { p.headingCount = 0; },
         {},
         [](EngineRules& r) { enable(r, CheckCategory::Body, 6, false); }},
        {"heading without keyword, its check disabled",
         [](PageFacts& p) { p.headingKeywordCount = 0; },
         {},
         [](EngineRules& r) { enable(r, CheckCategory::Body, 5, false); }},
        {"density 5.00",
         [](PageFacts& p) {
             p.totalWordCount = 500;
             p.bodyKeywordCount = 25;
         },
         {7}},
        {"density 4.00 exactly",
         [](PageFacts& p) {
             p.totalWordCount = 500;
             p.bodyKeywordCount = 20;
         },
         {}},
        {"density 3.00 exactly",
         [](PageFacts& p) {
             p.totalWordCount = 500;
             p.bodyKeywordCount = 15;
         },
         {}},
        {"density 2.80",
         [](PageFacts& p) {
             p.totalWordCount = 500;
             p.bodyKeywordCount = 14;
         },
         {8}},
        {"no words: density 0.0", [](PageFacts& p) { p.totalWordCount = 0; }, {8, 11}},
        {"negative density threshold: too high always",
         [](PageFacts&) {},
         {7},
         [](EngineRules& r) { setField(r, CheckCategory::Body, 7, CheckField::Value, "-1"); }},
        {"repeated words", [](PageFacts& p) { p.repeatedWordCount = 1; }, {9}},
        {"600 words",
         [](PageFacts& p) {
             p.totalWordCount = 600;
             p.bodyKeywordCount = 20;
         },
         {}},
        {"601 words",
         [](PageFacts& p) {
             p.totalWordCount = 601;
             p.bodyKeywordCount = 20;
         },
         {10}},
        {"200 words",
         [](PageFacts& p) {
             p.totalWordCount = 200;
             p.bodyKeywordCount = 7;
         },
         {}},
        {"199 words",
         [](PageFacts& p) {
             p.totalWordCount = 199;
             p.bodyKeywordCount = 7;
         },
         {11}},
        {"everything at once, in order",
         [](PageFacts& p) {
             p.bodyFirstKeywordOffset = 900;
             p.smallestFontSize = 1;
             p.minColourDistance = 0;
             p.hasTable = 1;
             p.headingKeywordCount = 0;
             p.totalWordCount = 100;
             p.bodyKeywordCount = 50;
             p.repeatedWordCount = 2;
         },
         {0, 1, 2, 3, 5, 7, 9, 11}},
    };
    runCases(evaluateBodyChecks, bodyPage(), cases);
}

TEST(BodyRules, MeasuresAndPositions) {
    PageFacts page = bodyPage();
    page.smallestFontSize = 1;
    page.smallestFontPos = 222;
    page.minColourDistance = 20;  // 7%
    page.minColourDistancePos = 333;
    page.totalWordCount = 700;
    page.bodyKeywordCount = 35;  // 5.00%
    page.repeatedWordCount = 2;
    page.repeatedWordPos = 444;
    page.repeatedWords = "the,cat";
    EngineRules rules;
    const auto entries = evaluateCategory(evaluateBodyChecks, page, runFactsFor(page), rules);

    struct Expected {
        int index;
        std::string_view message;
        std::int32_t position;
    };
    const Expected expected[] = {
        {1, "Using \"tiny text\" on a page can be considered spamming. Used size is 1.", 222},
        {2, "Hiding text is considered spamming.", 333},
        {7,
         "Try for an overall keyword wt. of the visible body text of less than 4%. Current "
         "density is 5.00%",
         100},
        {9,
         "Repetition of words can be considered spamming. You have repeated 2 word(s). [the,cat]",
         444},
        {10,
         "In most search engines, the body text must be less than 600 words and more than 200. "
         "You have 700 word(s).",
         100},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t n = 0; n < entries.size(); ++n) {
        SCOPED_TRACE(expected[n].index);
        EXPECT_EQ(entries[n].checkCode, 2 * 32 + expected[n].index);
        EXPECT_EQ(entries[n].description, expected[n].message);
        EXPECT_EQ(entries[n].filePosition, expected[n].position);
    }

    // An empty repeated-word list adds no brackets.
    page = bodyPage();
    page.repeatedWordCount = 1;
    const auto repeated = evaluateCategory(evaluateBodyChecks, page, runFactsFor(page), rules);
    ASSERT_EQ(repeated.size(), 1u);
    EXPECT_EQ(repeated[0].description,
              "Repetition of words can be considered spamming. You have repeated 1 word(s).");
}

TEST(BodyRules, DensityThresholdsAreReal) {
    PageFacts page = bodyPage();
    page.totalWordCount = 400;
    page.bodyKeywordCount = 13;  // 3.25%
    EngineRules rules;
    setField(rules, CheckCategory::Body, 8, CheckField::Value, "3.3");
    setField(rules, CheckCategory::Body, 7, CheckField::Value, "3.2");
    const auto entries = evaluateCategory(evaluateBodyChecks, page, runFactsFor(page), rules);
    EXPECT_EQ(firedIndexes(entries), (std::vector<int>{7, 8}));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].description,
              "Try to get an overall keyword density of the body text greater than 3.3%. Current "
              "density is 3.25%");
}

// An image with ALT holding the keyword; nothing fires with the defaults.
PageFacts imagePage() {
    PageFacts page;
    page.imagesWithAltCount = 1;
    page.altKeywordCount = 1;
    page.altKeywordPos = 70;
    return page;
}

TEST(ImagesRules, FireAtTheirBoundaries) {
    const std::vector<RuleCase> cases = {
        {"base page", [](PageFacts&) {}, {}},
        {"page without images", [](PageFacts& p) { p = PageFacts{}; }, {1}},
        {"three tags without ALT", [](PageFacts& p) { p.imagesWithoutAltCount = 3; }, {0}},
        {"image map", [](PageFacts& p) { p.hasImageMap = 1; }, {3}},
        {"one of four file names with the keyword: 25%",
         [](PageFacts& p) {
             p.imagesWithSrcCount = 4;
             p.imageSrcKeywordCount = 1;
         },
         {}},
        {"none of four file names with the keyword",
         [](PageFacts& p) { p.imagesWithSrcCount = 4; },
         {2}},
        {"one of five file names: 20%",
         [](PageFacts& p) {
             p.imagesWithSrcCount = 5;
             p.imageSrcKeywordCount = 1;
         },
         {2}},
        {"everything at once, in order",
         [](PageFacts& p) {
             p.imagesWithoutAltCount = 1;
             p.altKeywordCount = 0;
             p.hasImageMap = 1;
             p.imagesWithSrcCount = 2;
         },
         {0, 1, 3, 2}},
    };
    runCases(evaluateImagesChecks, imagePage(), cases);

    PageFacts page = imagePage();
    page.imagesWithoutAltCount = 3;
    page.firstImageWithoutAltPos = 17;
    page.imagesWithSrcCount = 3;
    page.imageSrcKeywordCount = 0;
    page.imageSrcKeywordPos = 0;
    EngineRules rules;
    setField(rules, CheckCategory::Images, 2, CheckField::Msg, "%2%% of %1%%");
    const auto entries = evaluateCategory(evaluateImagesChecks, page, runFactsFor(page), rules);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description,
              "You are missing 3 ALT tags in IMG, AREA, APPLET or INPUT tags.");
    EXPECT_EQ(entries[0].filePosition, 17);
    EXPECT_EQ(entries[1].description, "0% of 25%");
}

// Links with the keyword in their text and URLs, a hidden link, and the
// keyword in the domain and file name: nothing fires with the defaults.
PageFacts linkPage() {
    PageFacts page;
    page.anchorCount = 4;
    page.linkCount = 4;
    page.linkTextKeywordCount = 2;
    page.linkUrlKeywordCount = 2;
    page.emptyLinkCount = 1;
    return page;
}

TEST(LinksRules, FireAtTheirBoundaries) {
    const std::vector<RuleCase> cases = {
        {"base page", [](PageFacts&) {}, {}},
        {"dynamic link", [](PageFacts& p) { p.dynamicLinkCount = 1; }, {0}},
        {"tiny link image", [](PageFacts& p) { p.tinyLinkImageCount = 2; }, {1}},
        {"domain without keyword",
         [](PageFacts&) {},
         {2},
         [](EngineRules&) {},
         [](RunFacts& r) { r.domainKeywordCount = 0; }},
        {"file name without keyword",
         [](PageFacts&) {},
         {6},
         [](EngineRules&) {},
         [](RunFacts& r) { r.fileNameKeywordCount = 0; }},
        {"link text: 1 of 10 anchors",
         [](PageFacts& p) {
             p.anchorCount = 10;
             p.linkTextKeywordCount = 1;
         },
         {}},
        {"link text: 1 of 11 anchors",
         [](PageFacts& p) {
             p.anchorCount = 11;
             p.linkTextKeywordCount = 1;
         },
         {3}},
        {"link text share needs anchors",
         [](PageFacts& p) {
             p.anchorCount = 0;
             p.linkTextKeywordCount = 0;
         },
         {}},
        {"no hidden link", [](PageFacts& p) { p.emptyLinkCount = 0; }, {4}},
        {"URLs: 1 of 11 links",
         [](PageFacts& p) {
             p.linkCount = 11;
             p.linkUrlKeywordCount = 1;
         },
         {5}},
        {"URL share needs links",
         [](PageFacts& p) {
             p.linkCount = 0;
             p.linkUrlKeywordCount = 0;
         },
         {}},
        {"links without title", [](PageFacts& p) { p.linksWithoutTitleCount = 3; }, {7}},
        {"everything at once, in order",
         [](PageFacts& p) {
             p = PageFacts{};
             p.dynamicLinkCount = 1;
             p.tinyLinkImageCount = 1;
             p.anchorCount = 3;
             p.linkCount = 3;
             p.linksWithoutTitleCount = 3;
         },
         {0, 1, 2, 6, 3, 4, 5, 7},
         [](EngineRules&) {},
         [](RunFacts& r) {
             r.domainKeywordCount = 0;
             r.fileNameKeywordCount = 0;
         }},
    };
    runCases(evaluateLinksChecks, linkPage(), cases);

    PageFacts page = linkPage();
    page.anchorCount = 3;
    page.linkTextKeywordCount = 1;  // 33%
    page.linkTextKeywordPos = 88;
    page.linksWithoutTitleCount = 65536 + 2;
    page.linkWithoutTitlePos = 99;
    EngineRules rules;
    setField(rules, CheckCategory::Links, 3, CheckField::Value, "50");
    const auto entries = evaluateCategory(evaluateLinksChecks, page, runFactsFor(page), rules);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description,
              "Keywords were found in 33% of the link text areas of your page.");
    EXPECT_EQ(entries[0].filePosition, 88);
    EXPECT_EQ(entries[1].description,
              "You are not using the title attribute in your links. You are missing 2 TITLE "
              "attributes");
    EXPECT_EQ(entries[1].filePosition, 99);
}

// A page with a STYLE holding the keyword, one http-equiv META with the
// keyword and a short home host: nothing fires with the defaults.
PageFacts miscPage() {
    PageFacts page = bodyPage();
    page.hasStyle = 1;
    page.styleLength = 40;
    page.styleKeywordCount = 1;
    page.httpEquivCount = 1;
    page.httpEquivKeywordCount = 1;
    page.httpEquivPos = 30;
    return page;
}

const auto densityZero = [](PageFacts& p) { p.bodyKeywordCount = 0; };

// Home hosts just inside and just beyond the default limit of 55 characters.
const std::string kHost55(55, 'h');
const std::string kHost56(56, 'h');

TEST(MiscRules, FireAtTheirBoundaries) {
    const std::vector<RuleCase> cases = {
        {"base page", [](PageFacts&) {}, {}},
        {"frames without noframes", [](PageFacts& p) { p.hasFrames = 1; }, {0}},
        {"noframes without frames", [](PageFacts& p) { p.hasNoFrames = 1; }, {11}},
        {"frames and noframes, no keyword",
         [](PageFacts& p) {
             p.hasFrames = 1;
             p.hasNoFrames = 1;
             densityZero(p);
         },
         {12}},
        {"frames and noframes with the keyword",
         [](PageFacts& p) {
             p.hasFrames = 1;
             p.hasNoFrames = 1;
         },
         {}},
        {"frames and noframes, the keyword once in 400 words",
         [](PageFacts& p) {
             p.hasFrames = 1;
             p.hasNoFrames = 1;
             p.totalWordCount = 400;
             p.bodyKeywordCount = 1;
         },
         {}},
        {"inline script",
         [](PageFacts& p) {
             p.scriptCount = 3;
             p.externalScriptCount = 1;
             p.scriptTextLength = 20;
         },
         {1}},
        {"external scripts only",
         [](PageFacts& p) {
             p.scriptCount = 2;
             p.externalScriptCount = 2;
             p.scriptTextLength = 20;
         },
         {}},
        {"empty inline script",
         [](PageFacts& p) {
             p.scriptCount = 1;
             p.scriptTextLength = 0;
         },
         {}},
        {"keyword in a hidden input", [](PageFacts& p) { p.hiddenInputKeywordCount = 1; }, {2}},
        {"style without keyword", [](PageFacts& p) { p.styleKeywordCount = 0; }, {4}},
        {"empty style",
         [](PageFacts& p) {
             p.styleKeywordCount = 0;
             p.styleLength = 0;
         },
         {}},
        {"no style, density 2.80",
         [](PageFacts& p) {
             p.hasStyle = 0;
             p.totalWordCount = 500;
             p.bodyKeywordCount = 14;
         },
         {7}},
        {"no style, density 3.00",
         [](PageFacts& p) {
             p.hasStyle = 0;
             p.totalWordCount = 500;
             p.bodyKeywordCount = 15;
         },
         {}},
        {"no style: the Body threshold counts even when its check is off",
         [](PageFacts& p) { p.hasStyle = 0; },
         {7},
         [](EngineRules& r) {
             enable(r, CheckCategory::Body, 8, false);
             setField(r, CheckCategory::Body, 8, CheckField::Value, "10");
         }},
        {"no style: its own Value is not the threshold",
         [](PageFacts& p) { p.hasStyle = 0; },
         {},
         [](EngineRules& r) { setField(r, CheckCategory::Misc, 7, CheckField::Value, "99"); }},
        {"comments without keyword", [](PageFacts& p) { p.commentCount = 2; }, {5}},
        {"comments with keyword",
         [](PageFacts& p) {
             p.commentCount = 2;
             p.commentKeywordCount = 1;
         },
         {}},
        {"object", [](PageFacts& p) { p.hasObject = 1; }, {6}},
        {"two http-equiv", [](PageFacts& p) { p.httpEquivCount = 2; }, {10}},
        {"http-equiv without keyword, low density",
         [](PageFacts& p) {
             p.httpEquivKeywordCount = 0;
             densityZero(p);
         },
         {3}},
        {"http-equiv without keyword, density above the Body threshold",
         [](PageFacts& p) { p.httpEquivKeywordCount = 0; },
         {}},
        {"no http-equiv",
         [](PageFacts& p) {
             p.httpEquivCount = 0;
             p.httpEquivKeywordCount = 0;
         },
         {8}},
        {"home host of 55 characters",
         [](PageFacts&) {},
         {},
         [](EngineRules&) {},
         [](RunFacts& r) { r.homeHost = kHost55; }},
        {"home host of 56 characters",
         [](PageFacts&) {},
         {9},
         [](EngineRules&) {},
         [](RunFacts& r) { r.homeHost = kHost56; }},
        {"one hidden div", [](PageFacts& p) { p.hiddenDivCount = 1; }, {13}},
        {"hidden div allowed by V 1",
         [](PageFacts& p) { p.hiddenDivCount = 1; },
         {},
         [](EngineRules& r) { setField(r, CheckCategory::Misc, 13, CheckField::Value, "1"); }},
        {"everything at once, in order",
         [](PageFacts& p) {
             p.hasFrames = 1;
             p.scriptCount = 1;
             p.scriptTextLength = 5;
             p.hiddenInputKeywordCount = 1;
             p.styleKeywordCount = 0;
             p.commentCount = 1;
             p.hasObject = 1;
             p.httpEquivCount = 5;
             p.httpEquivKeywordCount = 0;
             p.hiddenDivCount = 2;
             densityZero(p);
         },
         {0, 1, 2, 4, 5, 6, 10, 3, 9, 13},
         [](EngineRules&) {},
         [](RunFacts& r) { r.homeHost = kHost56; }},
        {"the other branches, in order",
         [](PageFacts& p) {
             p.hasNoFrames = 1;
             p.hasStyle = 0;
             p.httpEquivCount = 0;
             densityZero(p);
         },
         {11, 7, 8}},
    };
    runCases(evaluateMiscChecks, miscPage(), cases);

    PageFacts page = miscPage();
    page.httpEquivCount = 3;
    page.hiddenDivCount = 65536 + 4;
    page.hiddenDivPos = 77;
    EngineRules rules;
    const auto entries = evaluateCategory(evaluateMiscChecks, page, runFactsFor(page), rules);
    ASSERT_EQ(firedIndexes(entries), (std::vector<int>{10, 13}));
    EXPECT_EQ(entries[0].description,
              "Don't use multiple http-equiv tags with this engine. You're using 3 http-equiv "
              "tags.");
    EXPECT_EQ(entries[0].filePosition, 30);
    EXPECT_EQ(entries[1].description,
              "4 <div tags with style = \"visibility : hidden\" has been found.");
    EXPECT_EQ(entries[1].filePosition, 77);
    EXPECT_EQ(entries[1].importanceClass, ImportanceClass::Error);
    ASSERT_NE(entryOf(entries, 13), nullptr);
}

}  // namespace
}  // namespace quorvel
