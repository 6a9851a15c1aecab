#include "checks/check_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace quorvel {
namespace {

std::string describe(int category, int index) {
    return std::string(categoryName(category)) + " " + std::to_string(index);
}

// Calls f(category, index, definition) for every check.
template <typename F>
void forEachCheck(F f) {
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i)
            f(c, i, checkDefinition(c, i));
    }
}

TEST(CheckCatalogue, CategoriesHaveTheirNamesAndCounts) {
    struct Case {
        int category;
        std::string_view name;
        int count;
        int firstGlobal;
    };
    const Case cases[] = {
        {0, "Title", 10, 0}, {1, "Meta", 23, 10}, {2, "Body", 12, 33}, {3, "Images", 4, 45},
        {4, "Links", 8, 49}, {5, "Misc", 14, 57}, {6, "Tips", 15, 71},
    };
    int total = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(categoryName(c.category), c.name);
        EXPECT_EQ(checkCount(c.category), c.count);
        EXPECT_EQ(globalCheckNumber(c.category, 0), c.firstGlobal);
        EXPECT_EQ(globalCheckNumber(c.category, c.count - 1), c.firstGlobal + c.count - 1);
        total += checkCount(c.category);
    }
    EXPECT_EQ(total, kCheckCount);
}

TEST(CheckCatalogue, CategoryOutOfRangeHasNoNameAndNoChecks) {
    for (int category : {7, 8, 255, -1}) {
        SCOPED_TRACE(category);
        EXPECT_TRUE(categoryName(category).empty());
        EXPECT_EQ(checkCount(category), 0);
    }
}

TEST(CheckCatalogue, FieldNamesInOrder) {
    const std::string_view names[] = {"Name", "Msg", "Descr", "Cat", "Enable", "Value"};
    for (int f = 0; f < kFieldCount; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(fieldName(static_cast<CheckField>(f)), names[f]);
    }
}

TEST(CheckCatalogue, ImportanceCodesAddUpByLetter) {
    int w = 0, s = 0, e = 0, t = 0;
    forEachCheck([&](int c, int i, const CheckDefinition& check) {
        SCOPED_TRACE(describe(c, i));
        ASSERT_EQ(check.cat.size(), 1u);
        switch (check.cat[0]) {
            case 'W':
                ++w;
                break;
            case 'S':
                ++s;
                break;
            case 'E':
                ++e;
                break;
            case 'T':
                ++t;
                break;
            default:
                ADD_FAILURE() << "unexpected code " << check.cat;
        }
    });
    EXPECT_EQ(w, 30);
    EXPECT_EQ(s, 36);
    EXPECT_EQ(e, 5);
    EXPECT_EQ(t, 15);
}

TEST(CheckCatalogue, ExactlyTheListedChecksAreDisabled) {
    std::set<int> expected = {25, 26, 27, 28, 29, 31};
    for (int g = 71; g <= 85; ++g)
        expected.insert(g);
    std::set<int> disabled;
    forEachCheck([&](int c, int i, const CheckDefinition& check) {
        SCOPED_TRACE(describe(c, i));
        EXPECT_TRUE(check.enable == "0" || check.enable == "1") << check.enable;
        if (check.enable == "0") disabled.insert(globalCheckNumber(c, i));
    });
    EXPECT_EQ(disabled, expected);
    EXPECT_EQ(disabled.size(), 21u);
}

// Which inserts a text uses: "1", "2", "12" or "".
std::string insertsOf(std::string_view text) {
    std::string used;
    if (text.find("%1") != std::string_view::npos) used += '1';
    if (text.find("%2") != std::string_view::npos) used += '2';
    return used;
}

TEST(CheckCatalogue, DescriptionsHoldPlaceholdersExactlyWhereIntended) {
    struct Case {
        int global;
        std::string_view inserts;
        bool percentAfterInsert1;
    };
    const Case cases[] = {
        {1, "1", false},  {5, "1", false},  {10, "1", false}, {12, "1", false},
        {14, "1", false}, {21, "1", false}, {32, "1", false}, {34, "1", false},
        {8, "12", false}, {35, "1", true},  {52, "1", true},  {66, "1", true},
    };
    std::vector<std::string> expected(kCheckCount);
    std::vector<bool> percent(kCheckCount, false);
    for (const Case& c : cases) {
        expected[c.global] = c.inserts;
        percent[c.global] = c.percentAfterInsert1;
    }
    forEachCheck([&](int c, int i, const CheckDefinition& check) {
        const int g = globalCheckNumber(c, i);
        SCOPED_TRACE(describe(c, i));
        EXPECT_EQ(insertsOf(check.descr), expected[g]);
        const std::size_t doubled = check.descr.find("%%");
        if (percent[g]) {
            ASSERT_NE(doubled, std::string_view::npos);
            EXPECT_LT(check.descr.find("%1"), doubled);
        } else {
            EXPECT_EQ(doubled, std::string_view::npos);
        }
    });
}

// A percent sign is only ever part of %1, %2 or %%, and %% only appears in a
// text that is formatted (one holding %1 or %2), where it shows as one sign.
TEST(CheckCatalogue, NoStrayPercentSigns) {
    forEachCheck([&](int c, int i, const CheckDefinition& check) {
        for (int f = 0; f < kFieldCount; ++f) {
            const auto field = static_cast<CheckField>(f);
            const std::string_view text = check.field(field);
            SCOPED_TRACE(describe(c, i) + " " + std::string(fieldName(field)));
            if (field != CheckField::Msg && field != CheckField::Descr) {
                EXPECT_EQ(text.find('%'), std::string_view::npos);
                continue;
            }
            const bool formatted = !insertsOf(text).empty();
            for (std::size_t p = 0; p < text.size(); ++p) {
                if (text[p] != '%') continue;
                ASSERT_LT(p + 1, text.size()) << "percent sign at the end";
                const char next = text[p + 1];
                EXPECT_TRUE(next == '1' || next == '2' || next == '%') << "%" << next;
                if (next == '%') {
                    EXPECT_TRUE(formatted) << "doubled percent sign would show doubled";
                }
                ++p;
            }
        }
    });
}

TEST(CheckCatalogue, SampleTextsAreExact) {
    struct Case {
        int category;
        int index;
        CheckField field;
        std::string_view text;
    };
    const Case cases[] = {
        {0, 0, CheckField::Descr,
         "A title tag is not present on your page. The title tag is the most important tag on a "
         "page. Please add a title tag for the best results."},
        {0, 1, CheckField::Descr,
         "Limit your title tag to %1 characters, including spaces. If your title tag is too long, "
         "the engine will cut it off in mid-sentence."},
        {0, 2, CheckField::Descr,
         "Your important keyword needs to be placed in the front of the title tag, preferably in "
         "the first few words."},
        {0, 2, CheckField::Msg,
         "Place your keywords within the first %1%% of the words in the title tag instead of "
         "%2%%."},
        {0, 7, CheckField::Msg,
         "Your important keyword phrase needs to appear in your title tag. (Case Sensitive)"},
        {0, 9, CheckField::Msg, "You're using a \"stop\" word in your title tag."},
        {0, 9, CheckField::Value, "a,an,and,the,for,if"},
        {0, 0, CheckField::Value, ""},
        {1, 1, CheckField::Name, "\"Description\" tag presence"},
        {1, 5, CheckField::Name, "Keyword appears early in \"Description\" tag"},
        {1, 22, CheckField::Value, "70"},
        {2, 5, CheckField::Name, "Absence of keyword in header tags \"H1\" \"H2\" etc."},
        {2, 7, CheckField::Msg,
         "Try for an overall keyword wt. of the visible body text of less than %1%%. Current "
         "density is %2%%"},
        {2, 10, CheckField::Value, "600"},
        {4, 5, CheckField::Name, "Absence of keywords in page URL's"},
        {4, 7, CheckField::Msg,
         "You are not using the title attribute in your links. You are missing %2 TITLE "
         "attributes"},
        {5, 12, CheckField::Msg,
         "Your site is in frames, and you have a \"noframes\" tag, but you're not using keywords "
         "in that tag"},
        {5, 13, CheckField::Name, "Div tag with style = visibility : hidden"},
        {5, 13, CheckField::Msg,
         "%2 <div tags with style = \"visibility : hidden\" has been found."},
        {5, 13, CheckField::Cat, "E"},
        {6, 14, CheckField::Name, "Additional Suggestion 15"},
        {6, 0, CheckField::Msg, "Please read this important suggestion."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.category, c.index) + " " + std::string(fieldName(c.field)));
        EXPECT_EQ(defaultText(c.category, c.index, c.field), c.text);
    }
}

TEST(CheckCatalogue, TipsAreUndefinedFreeSlots) {
    for (int i = 0; i < checkCount(6); ++i) {
        SCOPED_TRACE(i);
        const CheckDefinition& tip = checkDefinition(6, i);
        EXPECT_EQ(tip.name, "Additional Suggestion " + std::to_string(i + 1));
        EXPECT_EQ(tip.descr, "Not yet defined!");
        EXPECT_EQ(tip.cat, "T");
        EXPECT_EQ(tip.enable, "0");
        EXPECT_TRUE(tip.value.empty());
    }
}

// Every other check carries its own paragraph of advice.
TEST(CheckCatalogue, DescriptionsAreParagraphsOfTheirOwn) {
    std::set<std::string_view> seen;
    forEachCheck([&](int c, int i, const CheckDefinition& check) {
        if (c == 6) return;
        SCOPED_TRACE(describe(c, i));
        EXPECT_GE(check.descr.size(), 100u);
        EXPECT_TRUE(check.descr.back() == '.' || check.descr.back() == '?');
        EXPECT_EQ(check.descr.find("  "), std::string_view::npos);
        EXPECT_TRUE(seen.insert(check.descr).second) << "description repeated";
        EXPECT_FALSE(check.name.empty());
        EXPECT_FALSE(check.msg.empty());
    });
}

TEST(CheckCatalogue, CheckCodePacksCategoryAndIndex) {
    EXPECT_EQ(checkCode(0, 0), 0);
    EXPECT_EQ(checkCode(1, 22), 54);
    EXPECT_EQ(checkCode(6, 14), 206);
}

}  // namespace
}  // namespace quorvel
