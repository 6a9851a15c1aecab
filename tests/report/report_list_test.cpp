#include "report/report_list.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quorvel {
namespace {

struct ClassCase {
    char letter;
    ImportanceClass importance;
    const char* word;
    int icon;
    std::optional<RgbColour> background;
};

TEST(ImportanceClass, LetterGivesClassWordIconAndBackground) {
    const RgbColour orange{255, 204, 102};
    const RgbColour steelBlue{176, 196, 222};
    const RgbColour tomato{255, 99, 71};
    const RgbColour black{0, 0, 0};
    const ClassCase cases[] = {
        {'W', ImportanceClass::Warning, "Warning", 0, orange},
        {'w', ImportanceClass::Warning, "Warning", 0, orange},
        {'S', ImportanceClass::Suggestion, "Suggestion", 1, std::nullopt},
        {'s', ImportanceClass::Suggestion, "Suggestion", 1, std::nullopt},
        {'T', ImportanceClass::Tip, "Tip Note", 2, steelBlue},
        {'t', ImportanceClass::Tip, "Tip Note", 2, steelBlue},
        {'E', ImportanceClass::Error, "Error", 3, tomato},
        {'e', ImportanceClass::Error, "Error", 3, tomato},
        {'x', ImportanceClass::Error, "Error", 3, tomato},
        {'-', ImportanceClass::Error, "Error", 3, tomato},
        {'\0', ImportanceClass::Error, "Error", 3, tomato},
        {'*', ImportanceClass::Separator, "-", 4, black},
    };
    for (const ClassCase& c : cases) {
        SCOPED_TRACE(std::string("letter code ") + std::to_string(static_cast<int>(c.letter)));
        const ImportanceClass importance = importanceClassOf(c.letter);
        EXPECT_EQ(importance, c.importance);
        EXPECT_EQ(importanceWord(importance), c.word);
        EXPECT_EQ(importanceIconIndex(importance), c.icon);
        EXPECT_EQ(importanceRowColour(importance), c.background);
    }
}

TEST(ReportList, RowsShowClassWordFileDescriptionAndPosition) {
    ReportList list;
    EXPECT_EQ(list.append('w', "index.html", 1234, "A title tag is not present.", 0), 0);
    EXPECT_EQ(list.append('x', "sub/page.htm", -5, "Odd.", 38), 1);
    EXPECT_EQ(list.append('*', "ignored.html", 7, "ignored text", 255), 2);
    ASSERT_EQ(list.rowCount(), 3);

    struct CellCase {
        int row;
        int column;
        const char* text;
    };
    const CellCase cells[] = {
        {0, 0, "Warning"}, {0, 1, "index.html"}, {0, 2, "A title tag is not present."},
        {0, 3, "1234"},    {1, 0, "Error"},      {1, 1, "sub/page.htm"},
        {1, 2, "Odd."},    {1, 3, "-5"},         {2, 0, "-"},
        {2, 1, ""},        {2, 2, ""},           {2, 3, "7"},
        {3, 0, ""},        {-1, 0, ""},          {0, 4, ""},
    };
    for (const CellCase& c : cells) {
        SCOPED_TRACE("row " + std::to_string(c.row) + " column " + std::to_string(c.column));
        EXPECT_EQ(list.cellText(c.row, c.column), c.text);
    }
    EXPECT_EQ(list.row(2).checkCode, 255);
    EXPECT_EQ(list.row(1).checkCode, 38);
    EXPECT_EQ(list.row(0).importanceClass, ImportanceClass::Warning);
}

TEST(ReportList, SeparatorOfTheRunShowsZeroPosition) {
    ReportList list;
    list.append('*', "", 0, "", 255);
    EXPECT_EQ(list.cellText(0, 0), "-");
    EXPECT_EQ(list.cellText(0, 3), "0");
}

TEST(ReportList, HeaderTexts) {
    const char* expected[] = {"Importance", "File Name", "Description", "File Position", ""};
    for (int column = 0; column < 5; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(ReportList::headerText(column), expected[column]);
    }
}

TEST(ReportList, ActsAsSinkAndKeepsUnopenedFilesApart) {
    ReportList list;
    ReportSink& sink = list;
    ReportEntry entry;
    entry.importanceLetter = 't';
    entry.importanceClass = ImportanceClass::Error;  // derived again from the letter
    entry.fileName = "a.html";
    entry.description = "Tip text";
    entry.filePosition = 12;
    entry.checkCode = 6 * 32 + 3;
    sink.appendEntry(entry);
    sink.fileNotOpened("missing.html",
                       "Cannot open the HTML file: missing.html\n\nAre you looking in the "
                       "correct Project Folder?");
    sink.appendEntry(ReportEntry{});  // a separator

    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.row(0).importanceClass, ImportanceClass::Tip);
    EXPECT_EQ(list.cellText(0, 0), "Tip Note");
    EXPECT_EQ(list.row(0).checkCode, 6 * 32 + 3);
    EXPECT_EQ(list.cellText(1, 0), "-");
    ASSERT_EQ(list.unopenedFileMessages().size(), 1u);
    EXPECT_EQ(list.unopenedFileMessages()[0].substr(0, 26), "Cannot open the HTML file:");

    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.unopenedFileMessages().empty());
    EXPECT_EQ(list.append('s', "b.html", 0, "x", 1), 0);
}

struct CodeCase {
    std::uint8_t code;
    bool valid;
    int category;
    int index;
};

TEST(CheckOfCode, SplitsCategoryAndIndexAndRefusesCodesOutsideTheCatalogue) {
    const CodeCase cases[] = {
        {0, true, 0, 0},
        {9, true, 0, 9},
        {10, false, 0, 0},
        {32 + 22, true, 1, 22},
        {32 + 23, false, 0, 0},
        {6 * 32 + 14, true, 6, 14},
        {6 * 32 + 15, false, 0, 0},
        {7 * 32, false, 0, 0},
        {255, false, 0, 0},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        const std::optional<CheckId> id = checkOfCode(c.code);
        ASSERT_EQ(id.has_value(), c.valid);
        if (!id) continue;
        EXPECT_EQ(id->category, c.category);
        EXPECT_EQ(id->index, c.index);
    }
}

}  // namespace
}  // namespace quorvel
