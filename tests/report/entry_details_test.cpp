#include "report/entry_details.h"

#include <gtest/gtest.h>

#include <string>

#include "checks/checker_file.h"
#include "report/report_list.h"

namespace quorvel {
namespace {

void setCheck(EngineRules& rules, int category, int index, std::string name, std::string descr,
              std::string cat, std::string value) {
    rules.set(category, index, CheckField::Name, std::move(name), false);
    rules.set(category, index, CheckField::Descr, std::move(descr), false);
    rules.set(category, index, CheckField::Cat, std::move(cat), false);
    rules.set(category, index, CheckField::Value, std::move(value), false);
}

struct DetailCase {
    const char* label;
    std::string cat;
    std::string descr;
    std::string value;
    const char* expected;
};

TEST(EntryDetailText, ClassFromWholeCatTextThenNameAndFormattedDescription) {
    const DetailCase cases[] = {
        {"suggestion", "S", "Limit your title tag to %1 characters.", "70",
         "Suggestion : Too long.\r\n\r\nTitle : Length of tag\r\n\r\n"
         "Limit your title tag to 70 characters."},
        {"lower w", "w", "No placeholder, 100%% kept.", "70",
         "Warning : Too long.\r\n\r\nTitle : Length of tag\r\n\r\nNo placeholder, 100%% kept."},
        {"tip", "t", "Use %1 or more, measured %2.", "2",
         "Tip Note : Too long.\r\n\r\nTitle : Length of tag\r\n\r\nUse 2 or more, measured 0."},
        {"whole text compared", "Warn", "Keep it below %1%%.", "10",
         "Error : Too long.\r\n\r\nTitle : Length of tag\r\n\r\nKeep it below 10%."},
        {"empty cat", "", "D", "", "Error : Too long.\r\n\r\nTitle : Length of tag\r\n\r\nD"},
        {"e", "e", "D", "", "Error : Too long.\r\n\r\nTitle : Length of tag\r\n\r\nD"},
    };
    for (const DetailCase& c : cases) {
        SCOPED_TRACE(c.label);
        EngineRules rules;
        setCheck(rules, 0, 1, "Length of tag", c.descr, c.cat, c.value);
        const ReportEntry entry = makeReportEntry('S', "index.html", 10, "Too long.", 1);
        EXPECT_EQ(entryDetailText(entry, rules), c.expected);
    }
}

TEST(EntryDetailText, ListedAsWarningButDetailedAsErrorForCatWarn) {
    EngineRules rules;
    setCheck(rules, 1, 4, "\"Keywords\" MAX tag length", "Limit it to %1.", "Warn", "1000");
    ReportList list;
    list.append('W', "index.html", 40, "Too long keywords.", checkCode(1, 4));
    EXPECT_EQ(list.cellText(0, 0), "Warning");

    const std::optional<EntryDetails> details = entryDetails(list, 0, rules, "/site");
    ASSERT_TRUE(details.has_value());
    EXPECT_EQ(details->text,
              "Error : Too long keywords.\r\n\r\nMeta : \"Keywords\" MAX tag length\r\n\r\n"
              "Limit it to 1000.");
    EXPECT_EQ(details->iconClass, ImportanceClass::Error);
    EXPECT_EQ(details->path, "/site/index.html");
    EXPECT_EQ(details->filePosition, 40);
}

TEST(EntryDetailText, NothingForSeparatorsOrMissingRows) {
    EngineRules rules;
    ReportList list;
    list.append('*', "", 0, "", 255);
    EXPECT_FALSE(entryDetails(list, 0, rules, "/site").has_value());
    EXPECT_FALSE(entryDetails(list, 1, rules, "/site").has_value());
    EXPECT_FALSE(entryDetails(list, -1, rules, "/site").has_value());
    EXPECT_EQ(entryDetailText(list.row(0), rules), "");
}

TEST(EntryDetailText, CodeOutsideTheCatalogueGivesEmptyCheckTexts) {
    EngineRules rules;
    const ReportEntry entry = makeReportEntry('w', "a.html", 3, "Odd entry.", 7 * 32 + 1);
    EXPECT_EQ(entryDetailText(entry, rules), "Error : Odd entry.\r\n\r\n : \r\n\r\n");
}

struct PathCase {
    const char* folder;
    const char* fileName;
    const char* expected;
};

TEST(ResolveEntryPath, JoinsRelativeNamesAndKeepsAbsoluteOnes) {
    const PathCase cases[] = {
        {"/srv/site", "sub/page.htm", "/srv/site/sub/page.htm"},
        {"/srv/site/", "page.htm", "/srv/site/page.htm"},
        {"/srv/site", "/other/page.htm", "/other/page.htm"},
        {"", "page.htm", "page.htm"},
        {"/srv/my site", "a b.html", "/srv/my site/a b.html"},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " + " + c.fileName);
        EXPECT_EQ(resolveEntryPath(c.folder, c.fileName), c.expected);
    }
}

struct SelectionCase {
    const char* label;
    std::int32_t position;
    bool selects;
    std::size_t begin;
    std::size_t end;
};

TEST(ProblemAreaSelection, RunsFromPositionToFirstClosingBracket) {
    //                                  0123456789012345678901234
    const std::string_view code = "<html>\r\n<body bgcolor=red>text";
    const SelectionCase cases[] = {
        {"no place", 0, false, 0, 0},
        {"negative", -3, false, 0, 0},
        {"start of a tag", 8, true, 8, 26},
        {"on the bracket", 25, true, 25, 26},
        {"on the first tag's bracket", 5, true, 5, 6},
        {"after the last bracket", 27, true, 27, 30},
        {"past the end", 400, true, 30, 30},
    };
    for (const SelectionCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::optional<TextSelection> selection = problemAreaSelection(code, c.position);
        ASSERT_EQ(selection.has_value(), c.selects);
        if (selection) {
            EXPECT_EQ(*selection, (TextSelection{c.begin, c.end}));
        }
    }
}

}  // namespace
}  // namespace quorvel
