#include "checks/check_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "checks/rule_test_support.h"

namespace quorvel {
namespace {

using testing::evaluateCategory;
using testing::kTestFileName;
using testing::runFactsFor;
using testing::setField;

TEST(IntegerThreshold, ReadsTheLeadingSignedDecimalNumber) {
    struct Case {
        std::string_view text;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"70", 70},
        {"", 0},
        {"abc", 0},
        {"  \t42", 42},
        {"+7", 7},
        {"12abc", 12},
        {"3.9", 3},
        {"1 000", 1},
        {"- 5", 0},  // the sign must touch the digits
        {"-1", 0xFFFFFFFFu},
        {"-30", static_cast<std::uint32_t>(-30)},
        {"2147483647", 2147483647u},
        {"99999999999", 2147483647u},  // stops at the signed limit
        {"-99999999999", 0x80000000u},
        {"0030", 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(integerThreshold(c.text), c.expected);
    }
}

TEST(RealThreshold, ReadsTheLeadingFloatingPointNumber) {
    struct Case {
        std::string_view text;
        double expected;
    };
    const Case cases[] = {
        {"3", 3.0},     {"", 0.0},     {"x", 0.0},   {" 2.5", 2.5},   {"+4.25", 4.25},
        {"-1.5", -1.5}, {"1e1", 10.0}, {"1e", 1.0},  {".5", 0.5},     {"4%", 4.0},
        {"3,5", 3.0},   {"+-3", 0.0},  {"--3", 0.0}, {"1e-400", 0.0}, {"7.", 7.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text));
        EXPECT_EQ(realThreshold(c.text), c.expected);
    }
    EXPECT_TRUE(std::isinf(realThreshold("1e400")));
}

TEST(EarlyPositionPercentage, SignedTruncatedAndSkippedForAZeroDivisor) {
    struct Case {
        u16 offset, length, letters;
        std::optional<u16> expected;
    };
    const Case cases[] = {
        {40, 100, 10, 44},  // 4000 / 90
        {0, 100, 10, 0},
        {27, 100, 10, 30},  // exactly 2700 / 90
        {10, 10, 10, std::nullopt},
        {1, 5, 10, static_cast<u16>(-20)},  // a negative quotient keeps its low 16 bits
        {65535, 65535, 0, 100},
        {65535, 2, 1, static_cast<u16>(6553500)},  // more than 16 bits: the low 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.offset << " in " << c.length << " less " << c.letters);
        EXPECT_EQ(earlyPositionPercentage(c.offset, c.length, c.letters), c.expected);
    }
}

TEST(SharePercentage, UnsignedTruncatedAndSkippedForAnEmptyWhole) {
    struct Case {
        u32 part, whole;
        std::optional<u16> expected;
    };
    const Case cases[] = {
        {1, 4, 25},      {0, 4, 0},
        {2, 3, 66},      {25, 255, 9},
        {255, 255, 100}, {5, 0, std::nullopt},
        {3, 1, 300},     {1000, 1, static_cast<u16>(100000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.part << " of " << c.whole);
        EXPECT_EQ(sharePercentage(c.part, c.whole), c.expected);
    }
}

TEST(KeywordDensity, IsZeroWithoutWords) {
    EXPECT_EQ(keywordDensity(25, 500), 5.0);
    EXPECT_EQ(keywordDensity(20, 500), 4.0);
    EXPECT_EQ(keywordDensity(0, 500), 0.0);
    EXPECT_EQ(keywordDensity(7, 0), 0.0);
    EXPECT_DOUBLE_EQ(keywordDensity(1, 3), 100.0 / 3.0);
}

TEST(HomeHost, DropsTheSchemeThenTheWwwPrefix) {
    struct Case {
        std::string_view url, host;
    };
    const Case cases[] = {
        {"http://www.example.com/", "example.com/"},
        {"http://example.com/path/page.html", "example.com/path/page.html"},
        {"www.example.com", "example.com"},
        {"example.com", "example.com"},
        {"", ""},
        {"https://www.example.com/", "example.com/"},          // only "www." is known for https
        {"HTTP://WWW.example.com", "HTTP://WWW.example.com"},  // markers are case-sensitive
        {"ftp://a/http://b/www.c", "c"},                       // through the first of each marker
        {"http://shop.example.com/www.x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.url));
        EXPECT_EQ(homeHostOf(c.url), c.host);
    }
}

TEST(CheckRules, ReadsEnableThresholdsAndImportanceOncePerEngine) {
    EngineRules engine;
    setField(engine, CheckCategory::Title, 1, CheckField::Value, "-5");
    setField(engine, CheckCategory::Title, 1, CheckField::Cat, "w");
    setField(engine, CheckCategory::Title, 0, CheckField::Enable, "0");
    setField(engine, CheckCategory::Title, 3, CheckField::Enable, "2");
    setField(engine, CheckCategory::Body, 8, CheckField::Value, "2.75");
    setField(engine, CheckCategory::Misc, 4, CheckField::Cat, "Xyz");
    setField(engine, CheckCategory::Misc, 5, CheckField::Cat, "");
    const CheckRules rules(engine);

    EXPECT_FALSE(rules.enabled(CheckCategory::Title, 0));
    EXPECT_TRUE(rules.enabled(CheckCategory::Title, 3));   // anything but "0" enables
    EXPECT_FALSE(rules.enabled(CheckCategory::Meta, 15));  // off by default
    EXPECT_EQ(rules.threshold(CheckCategory::Title, 1), static_cast<std::uint32_t>(-5));
    EXPECT_EQ(rules.threshold(CheckCategory::Title, 8), 2u);
    EXPECT_EQ(rules.threshold(CheckCategory::Misc, 13), 0u);  // empty Value
    EXPECT_EQ(rules.realThreshold(CheckCategory::Body, 8), 2.75);
    EXPECT_EQ(rules.realThreshold(CheckCategory::Body, 7), 4.0);
    EXPECT_EQ(rules.importanceLetter(CheckCategory::Title, 1), 'w');
    EXPECT_EQ(rules.importanceLetter(CheckCategory::Title, 6), 'E');
    EXPECT_EQ(rules.importanceLetter(CheckCategory::Tips, 0), 'T');
    EXPECT_EQ(rules.importanceLetter(CheckCategory::Misc, 4), 'X');
    EXPECT_EQ(rules.importanceLetter(CheckCategory::Misc, 5), 'E');  // an empty code is an Error
}

TEST(CheckEntryWriter, ComposesTheThreeKindsOfEntry) {
    EngineRules engine;
    const CheckRules rules(engine);
    std::vector<ReportEntry> entries;
    CheckEntryWriter writer(rules, "sub/a.html", entries);

    writer.addCheckEntry(CheckCategory::Title, 1, 123, 80);
    writer.addCheckEntry(CheckCategory::Title, 2, 7, 65536 + 44);  // low 16 bits only
    writer.addCheckEntry(CheckCategory::Body, 9, 55, 2, "the,cat");
    writer.addCheckEntry(CheckCategory::Title, 0, 0, 99, "");  // no placeholder: no %2
    writer.addDensityEntry(CheckCategory::Body, 7, 40, 5.0);
    writer.addDensityEntry(CheckCategory::Body, 8, 40, 2.0 / 3.0);
    writer.addTextEntry(CheckCategory::Title, 9, 31, "the");
    writer.addTextEntry(CheckCategory::Title, 9, 31, "");
    writer.addCheckEntry(CheckCategory::Misc, 13, 0x80000000u, 3);

    struct Expected {
        char letter;
        ImportanceClass importance;
        std::string_view description;
        std::int32_t position;
        int checkCode;
    };
    const Expected expected[] = {
        {'S', ImportanceClass::Suggestion,
         "Limit your title tag to 70 characters, including spaces, instead of 80.", 123, 1},
        {'W', ImportanceClass::Warning,
         "Place your keywords within the first 30% of the words in the title tag instead of 44%.",
         7, 2},
        {'W', ImportanceClass::Warning,
         "Repetition of words can be considered spamming. You have repeated 2 word(s). [the,cat]",
         55, 2 * 32 + 9},
        {'W', ImportanceClass::Warning, "A title tag is not present on your page.", 0, 0},
        {'S', ImportanceClass::Suggestion,
         "Try for an overall keyword wt. of the visible body text of less than 4%. Current "
         "density is 5.00%",
         40, 2 * 32 + 7},
        {'S', ImportanceClass::Suggestion,
         "Try to get an overall keyword density of the body text greater than 3%. Current "
         "density is 0.67%",
         40, 2 * 32 + 8},
        {'S', ImportanceClass::Suggestion, "You're using a \"stop\" word in your title tag. [the]",
         31, 9},
        {'S', ImportanceClass::Suggestion, "You're using a \"stop\" word in your title tag. []", 31,
         9},
        {'E', ImportanceClass::Error,
         "3 <div tags with style = \"visibility : hidden\" has been found.",
         std::numeric_limits<std::int32_t>::min(), 5 * 32 + 13},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t n = 0; n < entries.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(entries[n].importanceLetter, expected[n].letter);
        EXPECT_EQ(entries[n].importanceClass, expected[n].importance);
        EXPECT_EQ(entries[n].fileName, "sub/a.html");
        EXPECT_EQ(entries[n].description, expected[n].description);
        EXPECT_EQ(entries[n].filePosition, expected[n].position);
        EXPECT_EQ(entries[n].checkCode, expected[n].checkCode);
    }
}

TEST(CheckEntryWriter, UsesTheEnginesOverriddenTexts) {
    EngineRules engine;
    setField(engine, CheckCategory::Title, 1, CheckField::Value, "60");
    setField(engine, CheckCategory::Title, 1, CheckField::Cat, "e");
    setField(engine, CheckCategory::Title, 1, CheckField::Msg, "%2 > %1 (100%%)");
    setField(engine, CheckCategory::Title, 0, CheckField::Msg, "no title, 100%%");
    const CheckRules rules(engine);
    std::vector<ReportEntry> entries;
    CheckEntryWriter writer(rules, kTestFileName, entries);
    writer.addCheckEntry(CheckCategory::Title, 1, 5, 61);
    writer.addCheckEntry(CheckCategory::Title, 0, 0, 0);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].description, "61 > 60 (100%)");
    EXPECT_EQ(entries[0].importanceLetter, 'e');
    EXPECT_EQ(entries[0].importanceClass, ImportanceClass::Error);
    // Without %1 or %2 a text is not formatted: the doubled percent stays.
    EXPECT_EQ(entries[1].description, "no title, 100%%");
}

TEST(EvaluateChecks, CategoriesInCatalogueOrderWithTipsLast) {
    EngineRules engine;
    for (int index : {3, 0})
        testing::enable(engine, CheckCategory::Tips, index);
    const PageFacts page;  // an empty page: no title, no META, no body
    std::vector<ReportEntry> entries;
    const CheckRules rules(engine);
    CheckEntryWriter writer(rules, kTestFileName, entries);
    evaluateChecks(page, runFactsFor(page), rules, writer);

    std::vector<int> categories;
    for (const ReportEntry& entry : entries)
        categories.push_back(entry.checkCode >> 5);
    EXPECT_TRUE(std::is_sorted(categories.begin(), categories.end()));
    for (int category = 0; category < kCategoryCount; ++category) {
        SCOPED_TRACE(category);
        EXPECT_NE(std::find(categories.begin(), categories.end(), category), categories.end());
    }
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[entries.size() - 2].checkCode, 6 * 32 + 0);
    EXPECT_EQ(entries.back().checkCode, 6 * 32 + 3);
    EXPECT_EQ(entries.back().description, "Please read this important suggestion.");
    EXPECT_EQ(entries.back().filePosition, 0);
}

TEST(TipsChecks, EachEnabledTipOnceInIndexOrder) {
    EngineRules engine;
    for (int index : {14, 2, 7})
        testing::enable(engine, CheckCategory::Tips, index);
    setField(engine, CheckCategory::Tips, 7, CheckField::Msg, "Tip %1/%2");
    setField(engine, CheckCategory::Tips, 7, CheckField::Value, "seven");
    std::vector<ReportEntry> entries;
    const CheckRules rules(engine);
    CheckEntryWriter writer(rules, kTestFileName, entries);
    evaluateTipsChecks(rules, writer);
    EXPECT_EQ(testing::firedIndexes(entries), (std::vector<int>{2, 7, 14}));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1].description, "Tip seven/0");
    EXPECT_EQ(entries[1].importanceClass, ImportanceClass::Tip);

    EngineRules defaults;
    entries.clear();
    const CheckRules none(defaults);
    CheckEntryWriter quiet(none, kTestFileName, entries);
    evaluateTipsChecks(none, quiet);
    EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace quorvel
