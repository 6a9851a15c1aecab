// The Title and Meta rules, each at the boundary where it starts to fire,
// with the evaluation order of their categories.

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
    testing::runRuleCases(evaluate, base, cases, 6);
}

// A page with one title that holds the keyword at its start; with the
// built-in defaults only "Too few Title tags" (V 2) fires.
PageFacts titledPage() {
    PageFacts page;
    page.titleCount = 1;
    page.titleIsFirstTag = 1;
    page.titleLength = 30;
    page.titlePos = 20;
    page.titleKeywordCount = 1;
    page.titleFirstKeywordIndex = 0;
    page.titleFirstKeywordPos = 20;
    page.titleLastKeywordPos = 20;
    return page;
}

TEST(TitleRules, FireAtTheirBoundaries) {
    const std::vector<RuleCase> cases = {
        {"base page", [](PageFacts&) {}, {8}},
        {"no title at all", [](PageFacts& p) { p = PageFacts{}; }, {0, 7, 8}},
        {"length at the limit", [](PageFacts& p) { p.titleLength = 70; }, {8}},
        {"length over the limit", [](PageFacts& p) { p.titleLength = 71; }, {1, 8}},
        {"keyword at 30%",
         [](PageFacts& p) {
             p.titleLength = 100;
             p.titleFirstKeywordIndex = 27;  // 2700 / 90 = 30
         },
         {1, 8},
         [](EngineRules&) {},
         [](RunFacts& r) { r.keywordLetterCount = 10; }},
        {"keyword past 30%",
         [](PageFacts& p) {
             p.titleLength = 100;
             p.titleFirstKeywordIndex = 28;
         },
         {1, 2, 8},
         [](EngineRules&) {},
         [](RunFacts& r) { r.keywordLetterCount = 10; }},
        {"title is the keyword alone: divisor 0",
         [](PageFacts& p) {
             p.titleLength = 6;
             p.titleFirstKeywordIndex = 3;
         },
         {8}},
        {"title shorter than the keyword letters: negative percentage",
         [](PageFacts& p) {
             p.titleLength = 5;
             p.titleFirstKeywordIndex = 1;
         },
         {2, 8}},
        {"keyword twice", [](PageFacts& p) { p.titleKeywordCount = 2; }, {5, 8}},
        {"keyword absent", [](PageFacts& p) { p.titleKeywordCount = 0; }, {7, 8}},
        {"keyword absent, late index ignored",
         [](PageFacts& p) {
             p.titleKeywordCount = 0;
             p.titleFirstKeywordIndex = 29;
         },
         {7, 8}},
        {"two titles", [](PageFacts& p) { p.titleCount = 2; }, {3}},
        {"CR/LF", [](PageFacts& p) { p.titleHasCrLf = 1; }, {8, 6}},
        {"not the first tag", [](PageFacts& p) { p.titleIsFirstTag = 0; }, {8, 4}},
        {"stop word",
         [](PageFacts& p) {
             p.titleStopWordCount = 1;
             p.titleStopWord.assign("the");
         },
         {8, 9}},
        {"everything at once, in order",
         [](PageFacts& p) {
             p.titleCount = 3;
             p.titleLength = 100;
             p.titleFirstKeywordIndex = 50;
             p.titleKeywordCount = 2;
             p.titleHasCrLf = 1;
             p.titleIsFirstTag = 0;
             p.titleStopWordCount = 2;
         },
         {1, 2, 5, 3, 6, 4, 9}},
        {"too few with V 0 never fires",
         [](PageFacts& p) { p = PageFacts{}; },
         {0, 7},
         [](EngineRules& r) { setField(r, CheckCategory::Title, 8, CheckField::Value, "0"); }},
        {"negative V: too few always, length never",
         [](PageFacts& p) {
             p.titleCount = 5;
             p.titleLength = 60000;
         },
         {3, 8},
         [](EngineRules& r) {
             setField(r, CheckCategory::Title, 8, CheckField::Value, "-1");
             setField(r, CheckCategory::Title, 1, CheckField::Value, "-1");
         }},
        {"disabled checks are skipped",
         [](PageFacts& p) { p = PageFacts{}; },
         {7},
         [](EngineRules& r) {
             enable(r, CheckCategory::Title, 0, false);
             enable(r, CheckCategory::Title, 8, false);
         }},
        {"an enable text of 2 counts as enabled",
         [](PageFacts& p) { p.titleCount = 2; },
         {3},
         [](EngineRules& r) { setField(r, CheckCategory::Title, 3, CheckField::Enable, "2"); }},
        {"no title: the guarded checks stay quiet",
         [](PageFacts& p) {
             p = PageFacts{};
             p.titleHasCrLf = 1;
             p.titleStopWordCount = 1;
         },
         {0, 7, 8}},
    };
    runCases(evaluateTitleChecks, titledPage(), cases);
}

TEST(TitleRules, MeasuresAndPositions) {
    PageFacts page = titledPage();
    page.titleCount = 2;
    page.titleLength = 100;
    page.titlePos = 17;
    page.titleFirstKeywordIndex = 40;
    page.titleFirstKeywordPos = 57;
    page.titleKeywordCount = 3;
    page.titleLastKeywordPos = 90;
    page.titleHasCrLf = 1;
    page.titleCrLfPos = 33;
    page.titleStopWordCount = 1;
    page.titleStopWord.assign("the");
    page.titleStopWordPos = 44;
    EngineRules rules;
    const auto entries = evaluateCategory(evaluateTitleChecks, page, runFactsFor(page, 10), rules);

    struct Expected {
        int index;
        std::string_view message;
        std::int32_t position;
    };
    const Expected expected[] = {
        {1, "Limit your title tag to 70 characters, including spaces, instead of 100.", 17},
        {2,
         "Place your keywords within the first 30% of the words in the title tag instead of 44%.",
         57},
        {5, "Don't repeat keywords in your title tag more than 1 time(s).", 90},
        {3, "Don't use multiple title tags with this engine. You're using 2 Title tags.", 17},
        {6, "One or more carriage returns or line feeds have been detected in your title.", 33},
        {9, "You're using a \"stop\" word in your title tag. [the]", 44},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t n = 0; n < entries.size(); ++n) {
        SCOPED_TRACE(expected[n].index);
        EXPECT_EQ(entries[n].checkCode, expected[n].index);
        EXPECT_EQ(entries[n].description, expected[n].message);
        EXPECT_EQ(entries[n].filePosition, expected[n].position);
        EXPECT_EQ(entries[n].fileName, testing::kTestFileName);
    }

    const PageFacts untitled;
    const auto missing =
        evaluateCategory(evaluateTitleChecks, untitled, runFactsFor(untitled), rules);
    ASSERT_EQ(missing.size(), 3u);
    EXPECT_EQ(missing[0].description, "A title tag is not present on your page.");
    EXPECT_EQ(missing[0].filePosition, 0);
    EXPECT_EQ(missing[2].description, "Try using 2 title tags with this engine.");
}

// A page with a description and a keywords tag, each holding the keyword
// once at its start, with lengths inside the default limits; with the
// built-in defaults nothing fires.
PageFacts metaPage() {
    PageFacts page;
    page.hasMetaDescription = 1;
    page.metaDescriptionLength = 100;
    page.metaDescriptionPos = 50;
    page.metaDescriptionKeywordCount = 1;
    page.metaDescriptionKeywordPos = 60;
    page.hasMetaKeywords = 1;
    page.metaKeywordsLength = 50;
    page.metaKeywordsPos = 200;
    page.metaKeywordsKeywordCount = 1;
    page.metaKeywordsKeywordPos = 210;
    return page;
}

void enableAllMeta(EngineRules& rules) {
    for (int index = 0; index < checkCount(static_cast<int>(CheckCategory::Meta)); ++index) {
        enable(rules, CheckCategory::Meta, index);
    }
}

TEST(MetaRules, FireAtTheirBoundaries) {
    const std::vector<RuleCase> cases = {
        {"base page", [](PageFacts&) {}, {}},
        {"no META at all", [](PageFacts& p) { p = PageFacts{}; }, {1, 3}},
        {"refresh of 5 seconds",
         [](PageFacts& p) {
             p.hasMetaRefresh = 1;
             p.metaRefreshSeconds = 5;
         },
         {0}},
        {"refresh of 29 seconds",
         [](PageFacts& p) {
             p.hasMetaRefresh = 1;
             p.metaRefreshSeconds = 29;
         },
         {0}},
        {"refresh of 30 seconds",
         [](PageFacts& p) {
             p.hasMetaRefresh = 1;
             p.metaRefreshSeconds = 30;
         },
         {}},
        {"refresh speed needs a refresh", [](PageFacts& p) { p.metaRefreshSeconds = 0; }, {}},
        {"redirect presence when enabled",
         [](PageFacts& p) {
             p.hasMetaRefresh = 1;
             p.metaRefreshSeconds = 30;
         },
         {15},
         [](EngineRules& r) { enable(r, CheckCategory::Meta, 15); }},
        {"description of 150", [](PageFacts& p) { p.metaDescriptionLength = 150; }, {}},
        {"description of 151", [](PageFacts& p) { p.metaDescriptionLength = 151; }, {2}},
        {"description of 70", [](PageFacts& p) { p.metaDescriptionLength = 70; }, {}},
        {"description of 40", [](PageFacts& p) { p.metaDescriptionLength = 40; }, {22}},
        {"description without keyword",
         [](PageFacts& p) { p.metaDescriptionKeywordCount = 0; },
         {14}},
        {"description keyword twice",
         [](PageFacts& p) { p.metaDescriptionKeywordCount = 2; },
         {12}},
        {"description keyword at 25%",
         [](PageFacts& p) {
             p.metaDescriptionFirstKeywordOffset = 25;  // 2500 / 100
         },
         {},
         [](EngineRules&) {},
         [](RunFacts& r) { r.keywordLetterCount = 0; }},
        {"description keyword past 25%",
         [](PageFacts& p) { p.metaDescriptionFirstKeywordOffset = 26; },
         {5},
         [](EngineRules&) {},
         [](RunFacts& r) { r.keywordLetterCount = 0; }},
        {"description early check skipped for a zero divisor",
         [](PageFacts& p) {
             p.metaDescriptionLength = 100;
             p.metaDescriptionFirstKeywordOffset = 90;
         },
         {},
         [](EngineRules&) {},
         [](RunFacts& r) { r.keywordLetterCount = 100; }},
        {"description CR/LF", [](PageFacts& p) { p.metaDescriptionHasCrLf = 1; }, {9}},
        {"description facts ignored without the tag",
         [](PageFacts& p) {
             p.hasMetaDescription = 0;
             p.metaDescriptionLength = 500;
             p.metaDescriptionHasCrLf = 1;
         },
         {1}},
        {"keywords of 1001", [](PageFacts& p) { p.metaKeywordsLength = 1001; }, {4}},
        {"keywords without keyword", [](PageFacts& p) { p.metaKeywordsKeywordCount = 0; }, {13}},
        {"keyword 3 times", [](PageFacts& p) { p.metaKeywordsKeywordCount = 3; }, {}},
        {"keyword 4 times", [](PageFacts& p) { p.metaKeywordsKeywordCount = 4; }, {11}},
        {"keywords keyword late",
         [](PageFacts& p) {
             p.metaKeywordsFirstKeywordOffset = 20;  // 2000 / 44 = 45
         },
         {6}},
        {"keywords CR/LF", [](PageFacts& p) { p.metaKeywordsHasCrLf = 1; }, {10}},
        {"robots noindex", [](PageFacts& p) { p.robotsNoIndex = 1; }, {7}},
        {"robots noindex, noarchive",
         [](PageFacts& p) {
             p.robotsNoIndex = 1;
             p.robotsNoArchive = 1;
         },
         {7, 20}},
        {"irrelevant META", [](PageFacts& p) { p.hasIrrelevantMeta = 1; }, {8}},
        {"every check enabled, tags present",
         [](PageFacts& p) {
             p.hasMetaRefresh = 1;
             p.metaRefreshSeconds = 1;
             p.metaDescriptionLength = 200;
             p.metaDescriptionKeywordCount = 2;
             p.metaDescriptionFirstKeywordOffset = 150;
             p.metaDescriptionHasCrLf = 1;
             p.metaKeywordsLength = 2000;
             p.metaKeywordsKeywordCount = 9;
             p.metaKeywordsFirstKeywordOffset = 1500;
             p.metaKeywordsHasCrLf = 1;
             p.robotsNoIndex = 1;
             p.robotsNoArchive = 1;
             p.hasIrrelevantMeta = 1;
         },
         {0, 15, 2, 17, 5, 12, 9, 4, 16, 6, 11, 10, 7, 20, 8, 18, 19},
         enableAllMeta},
        {"every check enabled, tags without keywords",
         [](PageFacts& p) {
             p.metaDescriptionKeywordCount = 0;
             p.metaDescriptionLength = 10;
             p.metaKeywordsKeywordCount = 0;
         },
         {22, 14, 13, 21, 18, 19},
         enableAllMeta},
        {"every check enabled, no tags",
         [](PageFacts& p) { p = PageFacts{}; },
         {1, 3, 21},
         enableAllMeta},
    };
    runCases(evaluateMetaChecks, metaPage(), cases);
}

TEST(MetaRules, MeasuresAndPositions) {
    PageFacts page = metaPage();
    page.hasMetaRefresh = 1;
    page.metaRefreshSeconds = 5;
    page.metaRefreshPos = 11;
    page.metaDescriptionLength = 40;
    page.metaDescriptionKeywordCount = 3;
    page.metaKeywordsKeywordCount = 65536 - 1;
    page.robotsNoArchive = 1;
    page.robotsNoArchivePos = 300;
    EngineRules rules;
    const auto entries = evaluateCategory(evaluateMetaChecks, page, runFactsFor(page), rules);

    struct Expected {
        int index;
        std::string_view message;
        std::int32_t position;
    };
    const Expected expected[] = {
        {0, "Set your META refresh at 30 or higher. Your current refresh speed is 5.", 11},
        {22, "Make sure your META description tag is at least 70 characters instead of 40.", 50},
        {12,
         "Don't use your keywords more than 1 times in the description META tag. 3 times found.",
         60},
        {11,
         "Don't use your keywords more than 3 times in the keyword META tag. 65535 times found.",
         200},
        {20, "Use caution when using the META NoArchive tag.", 300},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t n = 0; n < entries.size(); ++n) {
        SCOPED_TRACE(expected[n].index);
        EXPECT_EQ(entries[n].checkCode, 32 + expected[n].index);
        EXPECT_EQ(entries[n].description, expected[n].message);
        EXPECT_EQ(entries[n].filePosition, expected[n].position);
    }
}

TEST(MetaRules, EarlyKeywordChecksCarryTheKeywordPositions) {
    PageFacts page = metaPage();
    page.metaDescriptionFirstKeywordOffset = 90;
    page.metaKeywordsFirstKeywordOffset = 40;
    EngineRules rules;
    const auto entries = evaluateCategory(evaluateMetaChecks, page, runFactsFor(page), rules);
    EXPECT_EQ(firedIndexes(entries), (std::vector<int>{5, 6}));
    ASSERT_NE(entryOf(entries, 5), nullptr);
    EXPECT_EQ(entryOf(entries, 5)->filePosition, 60);
    EXPECT_EQ(entryOf(entries, 5)->description,
              "Make sure your keyword appears within the first 25% of the description tag.");
    ASSERT_NE(entryOf(entries, 6), nullptr);
    EXPECT_EQ(entryOf(entries, 6)->filePosition, 210);
}

}  // namespace
}  // namespace quorvel
