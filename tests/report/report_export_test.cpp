#include "report/report_export.h"

#include <gtest/gtest.h>

#include <string>

#include "checks/checker_file.h"
#include "report/report_list.h"

namespace quorvel {
namespace {

ReportHeader sampleHeader() {
    ReportHeader header;
    header.project = "Shop";
    header.version = "1.0.0";
    header.checkFileDate = "03-04-2024";
    header.projectFolder = "/srv/shop";
    header.projectUrl = "http://shop.example/";
    header.keyword = "red shoes";
    header.engine = "Generic Engine (Template Page)";
    header.killTerminatingS = 1;
    header.skipShortWords = 1;
    header.minWordLength = 4;
    header.date = "03-04-2024, 09:05:07";
    return header;
}

struct OptionsCase {
    int kill;
    int skip;
    int minLength;
    const char* separator;
    const char* expected;
};

TEST(OtherOptionsText, JoinsTheActiveWordOptions) {
    const OptionsCase cases[] = {
        {0, 0, 3, ", ", ""},
        {1, 0, 3, ", ", "Kill terminating 's' from words"},
        {0, 1, 3, ", ", "Skip words shorter than 3 characters"},
        {1, 1, 4, ", ", "Kill terminating 's' from words, Skip words shorter than 4 characters"},
        {2, -1, 12, ",&nbsp;",
         "Kill terminating 's' from words,&nbsp;Skip words shorter than 12 characters"},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(c.expected);
        ReportHeader header;
        header.killTerminatingS = c.kill;
        header.skipShortWords = c.skip;
        header.minWordLength = c.minLength;
        EXPECT_EQ(otherOptionsText(header, c.separator), c.expected);
    }
}

TEST(TextReport, PadsColumnsAndListsEveryRowWithSeparators) {
    ReportList list;
    list.append('W', "index.html", 10, "A title tag is not present on your page.", 0);
    list.append('s', "index.html", 0, "Use one or more header tags.", checkCode(2, 6));
    list.append('*', "", 0, "", 255);
    list.append('x', "b.htm", 3, "Odd.", checkCode(0, 6));
    list.append('*', "", 0, "", 255);

    const std::string rule = "Importance|File-Name-|Description-----------------------------| ";
    const std::string expected =
        "Quorvel: Search Engine Optimizer - Report (c) Maltrane. All rights reserved.\r\n\r\n"
        "Project = Shop\r\n"
        "Quorvel Version = 1.0.0\r\n"
        "Search Engines Check File Date = 03-04-2024\r\n"
        "Project Folder = /srv/shop\r\n"
        "Project URL = http://shop.example/\r\n"
        "Keyword(s) = red shoes\r\n"
        "Engine / Directory = Generic Engine (Template Page)\r\n"
        "Other active options = Kill terminating 's' from words, Skip words shorter than 4 "
        "characters\r\n"
        "Date =  03-04-2024, 09:05:07\r\n"
        "\r\n"
        "NOTE: If the formatting of this report is not correct, please turn off your editor "
        "word wrap option.\r\n"
        "\r\n" +
        rule + "\r\n" + "Importance|File Name |Description                             |\r\n" +
        rule + "\r\n" +
        "Warning   |index.html|A title tag is not present on your page.|\r\n"
        "Suggestion|index.html|Use one or more header tags.            |\r\n"
        "-         |          |                                        |\r\n"
        "Error     |b.htm     |Odd.                                    |\r\n"
        "-         |          |                                        |\r\n" +
        rule + "\r\n\r\n" + "Quorvel - Report (c) Maltrane. All rights reserved.\r\n";
    EXPECT_EQ(buildTextReport(list.rows(), sampleHeader()), expected);
}

TEST(TextReport, EmptyReportHasHeaderAndEmptyTable) {
    ReportHeader header;  // every text empty, both options off
    const std::string expected =
        "Quorvel: Search Engine Optimizer - Report (c) Maltrane. All rights reserved.\r\n\r\n"
        "Project = \r\n"
        "Quorvel Version = \r\n"
        "Search Engines Check File Date = \r\n"
        "Project Folder = \r\n"
        "Project URL = \r\n"
        "Keyword(s) = \r\n"
        "Engine / Directory = \r\n"
        "Other active options = \r\n"
        "Date =  \r\n"
        "\r\n"
        "NOTE: If the formatting of this report is not correct, please turn off your editor "
        "word wrap option.\r\n"
        "\r\n"
        "Importance|File-Name|Description| \r\n"
        "Importance|File Name|Description|\r\n"
        "Importance|File-Name|Description| \r\n"
        "Importance|File-Name|Description| \r\n"
        "\r\n"
        "Quorvel - Report (c) Maltrane. All rights reserved.\r\n";
    EXPECT_EQ(buildTextReport({}, header), expected);
}

// A column is padded to its longest cell, but to at most 255 characters; a
// longer cell is written whole, so one huge message does not widen every row.
TEST(TextReport, PadsColumnsToAtMost255Characters) {
    struct Case {
        std::size_t longNameLength;
        std::size_t expectedWidth;
    };
    const Case cases[] = {{254, 254}, {255, 255}, {256, 255}, {300, 255}, {8192, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.longNameLength);
        ReportList list;
        const std::string longName(c.longNameLength, 'n');
        list.append('S', longName, 0, "D", checkCode(0, 1));
        list.append('S', "a.html", 0, "D", checkCode(0, 1));
        const std::string report = buildTextReport(list.rows(), ReportHeader{});
        const std::string header =
            "Importance|File Name" + std::string(c.expectedWidth - 9, ' ') + "|Description|\r\n";
        EXPECT_NE(report.find(header), std::string::npos);
        EXPECT_NE(
            report.find(
                "Suggestion|" + longName +
                std::string(c.expectedWidth - std::min(c.expectedWidth, c.longNameLength), ' ') +
                "|D          |\r\n"),
            std::string::npos);
        const std::string shortRow =
            "Suggestion|a.html" + std::string(c.expectedWidth - 6, ' ') + "|D          |\r\n";
        EXPECT_NE(report.find(shortRow), std::string::npos);
        // The report grows with its cells, not with rows times the widest cell.
        EXPECT_LT(report.size(), 2 * c.longNameLength + 3000);
    }
}

struct AttributeCase {
    const char* cat;
    const char* expected;
};

// Rows come back whole whether they stay in memory or move to the temporary
// file, also when a record is longer than one read of the file.
TEST(TextReportRows, KeepsEachCellWhereverTheRowsLive) {
    const ReportEntry entries[] = {
        makeReportEntry('W', "a.html", 5, "First.", 0),
        makeReportEntry('*', "", 0, "", 255),
        makeReportEntry('S', "b.html", 0, "", 1),
        makeReportEntry('e', "a.html", 7, "Again a.", 2),
        makeReportEntry('T', "a.html", 9, std::string(70000, 'd'), 3),
        makeReportEntry('t', std::string(300, 'n'), 1, "Long name.", 4),
        makeReportEntry('*', "", 0, "", 255),
    };
    struct Case {
        std::size_t memoryLimit;
        bool spilled;
    };
    for (const Case& test : {Case{SIZE_MAX, false}, Case{1, true}, Case{40, true},
                             Case{TextReportRows::kDefaultMemoryLimit, false}}) {
        SCOPED_TRACE(test.memoryLimit);
        TextReportRows rows(test.memoryLimit);
        for (const ReportEntry& entry : entries)
            rows.append(entry);
        ASSERT_EQ(rows.size(), std::size(entries));
        EXPECT_EQ(rows.spilled(), test.spilled);
        EXPECT_EQ(rows.importanceWidth(), std::string_view("Suggestion").size());
        EXPECT_EQ(rows.fileNameWidth(), 300u);
        EXPECT_EQ(rows.descriptionWidth(), 70000u);

        std::size_t i = 0;
        const bool complete =
            rows.forEachRow([&](std::string_view importance, std::string_view fileName,
                                std::string_view description) {
                ASSERT_LT(i, std::size(entries));
                EXPECT_EQ(importance, reportCellText(entries[i], kImportanceColumn)) << i;
                EXPECT_EQ(fileName, entries[i].fileName) << i;
                EXPECT_EQ(description, entries[i].description) << i;
                ++i;
            });
        EXPECT_TRUE(complete);
        EXPECT_EQ(i, std::size(entries));
    }
}

// A run over many files gives the same report when its rows spill to disk.
TEST(TextReport, RowsInTheTemporaryFileGiveTheSameBytes) {
    ReportList list;
    for (int file = 0; file < 500; ++file) {
        const std::string name = "folder/page" + std::to_string(file) + ".html";
        for (int row = 0; row < 4; ++row)
            list.append("WSTE"[row], name, row, "Message " + std::string(file % 97, 'x'), row);
        list.append('*', "", 0, "", 255);
    }
    const std::string whole = buildTextReport(list.rows(), sampleHeader());
    TextReportRows rows(4096);
    for (const ReportEntry& entry : list.rows())
        rows.append(entry);
    ASSERT_TRUE(rows.spilled());
    std::string written;
    EXPECT_TRUE(writeTextReport(rows, sampleHeader(), [&](std::string& text) {
        written += text;
        text.clear();
    }));
    EXPECT_EQ(written, whole);
}

TEST(TextReport, WrittenInPiecesGivesTheSameBytes) {
    ReportList list;
    for (int file = 0; file < 40; ++file) {
        const std::string name = "page" + std::to_string(file % 7) + ".html";
        list.append('W', name, file, "Message " + std::string(file, 'x') + ".", 0);
        list.append('*', "", 0, "", 255);
    }
    const std::string whole = buildTextReport(list.rows(), sampleHeader());
    TextReportRows rows;
    for (const ReportEntry& entry : list.rows())
        rows.append(entry);

    for (const std::size_t chunkSize : {std::size_t{1}, std::size_t{100}, std::size_t{65536}}) {
        SCOPED_TRACE(chunkSize);
        std::string joined;
        int pieces = 0;
        writeTextReport(
            rows, sampleHeader(),
            [&](std::string& text) {
                joined += text;
                text.clear();
                ++pieces;
            },
            chunkSize);
        EXPECT_EQ(joined, whole);
        EXPECT_EQ(pieces > 1, chunkSize < whole.size()) << pieces << " pieces";
    }
}

TEST(HtmlImportanceAttribute, ComparesTheWholeCatText) {
    const AttributeCase cases[] = {
        {"w", " bgcolor =\"#FFCC66\">"},
        {"W", " bgcolor =\"#FFCC66\">"},
        {"e", " bgcolor =\"#FF6347\">"},
        {"E", " bgcolor =\"#FF6347\">"},
        {"t", " bgcolor =\"#BOC4DE\">"},
        {"T", " bgcolor =\"#BOC4DE\">"},
        {"s", ">"},
        {"S", ">"},
        {"Warn", ">"},
        {"", ">"},
        {"x", ">"},
        {"ww", ">"},
    };
    for (const AttributeCase& c : cases) {
        SCOPED_TRACE(c.cat);
        EXPECT_EQ(htmlImportanceAttribute(c.cat), c.expected);
    }
}

void setCheck(EngineRules& rules, int category, int index, std::string descr, std::string cat,
              std::string value = "") {
    rules.set(category, index, CheckField::Descr, std::move(descr), false);
    rules.set(category, index, CheckField::Cat, std::move(cat), false);
    rules.set(category, index, CheckField::Value, std::move(value), false);
}

TEST(HtmlReport, OneTablePerRunOfAFileWithColoursAndDescriptions) {
    EngineRules rules;
    setCheck(rules, 0, 0, "Add a title.", "w");
    setCheck(rules, 0, 1, "Limit to %1 chars, 100%% sure.", "S", "70");
    setCheck(rules, 0, 2, "Keywords first.", "Warn");
    setCheck(rules, 6, 0, "Tip text, 5%% off.", "t");
    setCheck(rules, 0, 6, "No line breaks.", "e");

    ReportList list;
    list.append('W', "a.html", 5, "Msg one.", checkCode(0, 0));
    list.append('*', "", 0, "", 255);
    list.append('S', "b.html", 0, "Msg two.", checkCode(0, 1));
    list.append('W', "b.html", 9, "Msg three.", checkCode(0, 2));
    list.append('*', "", 0, "", 255);
    list.append('t', "a.html", 0, "Msg four.", checkCode(6, 0));
    list.append('e', "a.html", 7, "Msg five.", checkCode(0, 6));
    list.append('*', "", 0, "", 255);

    const auto tableStart = [](const std::string& file) {
        return "<p><br clear=\"left\"><br></p>\r\n<h4 align=\"center\">File = &nbsp;" + file +
               "</h4>\r\n<div align=\"left\">\r\n"
               "<table border=\"3\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" "
               "align=\"left\">\r\n"
               "<tr bgcolor=\"#b3d3f3\">\r\n<td><b>Importance</b></td>\r\n"
               "<td><b>Description</b></td>\r\n</tr>\r\n";
    };
    const std::string tableEnd = "</table>\r\n</div>\r\n";
    const std::string expected =
        "<html>\r\n<head>\r\n<title>Maltrane(R) Quorvel: Search Engine Optimizer - "
        "Report</title>\r\n</head>\r\n<body>\r\n"
        "<h1 align=\"center\">Quorvel Report for Project: Shop</h1>\r\n<h4>"
        "Quorvel Version = 1.0.0<br>Search Engines Check File Date = 03-04-2024<br>"
        "Project Folder = /srv/shop<br>Project URL = http://shop.example/<br>"
        "Keyword(s) = red shoes<br>Engine / Directory = Generic Engine (Template Page)<br>"
        "Other active options = Kill terminating 's' from words,&nbsp;Skip words shorter than "
        "4 characters<br>Date = 03-04-2024, 09:05:07<br>"
        "<br><font align=center color=\"#ff0000\">HOW TO LOCATE THE PROBLEM AREA WITHIN YOUR "
        "HTML PAGE</font><br>Click on the Report tab on the Quorvel screen, then double click "
        "the message you are interested in. The problem area will be HIGHLIGHTED.</h4>\r\n" +
        tableStart("a.html") +
        "<tr>\r\n<td align = center bgcolor =\"#FFCC66\">Warning</td>\r\n"
        "<td><p align = center><b>Msg one.</b></p>\r\n\r\nAdd a title.</td>\r\n</tr>\r\n" +
        tableEnd + tableStart("b.html") +
        "<tr>\r\n<td align = center>Suggestion</td>\r\n"
        "<td><p align = center><b>Msg two.</b></p>\r\n\r\nLimit to 70 chars, 100% "
        "sure.</td>\r\n</tr>\r\n"
        "<tr>\r\n<td align = center>Warning</td>\r\n"
        "<td><p align = center><b>Msg three.</b></p>\r\n\r\nKeywords first.</td>\r\n</tr>\r\n" +
        tableEnd + tableStart("a.html") +
        "<tr>\r\n<td align = center bgcolor =\"#BOC4DE\">Tip Note</td>\r\n"
        "<td><p align = center><b>Msg four.</b></p>\r\n\r\nTip text, 5%% off.</td>\r\n</tr>\r\n"
        "<tr>\r\n<td align = center bgcolor =\"#FF6347\">Error</td>\r\n"
        "<td><p align = center><b>Msg five.</b></p>\r\n\r\nNo line breaks.</td>\r\n</tr>\r\n" +
        tableEnd +
        "<p><br clear=\"left\"><br></p>\r\n"
        "<h4 align=\"center\">Quorvel - Report (c) 2025 Maltrane. All rights reserved.</h4>\r\n"
        "</body>\r\n</html>\r\n";
    EXPECT_EQ(buildHtmlReport(list.rows(), sampleHeader(), rules, 2025), expected);
}

TEST(HtmlReport, EmptyReportStillClosesATable) {
    const std::string report = buildHtmlReport({}, ReportHeader{}, EngineRules{}, 987);
    const std::string ending =
        "HIGHLIGHTED.</h4>\r\n</table>\r\n</div>\r\n<p><br clear=\"left\"><br></p>\r\n"
        "<h4 align=\"center\">Quorvel - Report (c) 0987 Maltrane. All rights "
        "reserved.</h4>\r\n</body>\r\n</html>\r\n";
    ASSERT_GE(report.size(), ending.size());
    EXPECT_EQ(report.substr(report.size() - ending.size()), ending);
    EXPECT_NE(report.find("<h4>Quorvel Version = <br>Search"), std::string::npos);
    EXPECT_NE(report.find("Other active options = <br>Date = <br><br><font"), std::string::npos);
}

struct EscapeCase {
    const char* text;
    const char* expected;
};

TEST(EscapeHtmlText, EscapesAmpersandAndAngleBrackets) {
    const EscapeCase cases[] = {
        {"plain text", "plain text"},
        {"a&b<1>.html", "a&amp;b&lt;1&gt;.html"},
        {"&amp;", "&amp;amp;"},
        {"say \"hi\" 'x'", "say \"hi\" 'x'"},
        {"", ""},
    };
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(escapeHtmlText(c.text), c.expected);
    }
}

// Names from the project and texts from a downloaded checker file must never
// become markup of the HTML report.
TEST(HtmlReport, InsertedTextsCannotInjectMarkup) {
    EngineRules rules;
    setCheck(rules, 0, 1, "<script>alert('%1')</script>", "S", "70");

    ReportHeader header = sampleHeader();
    header.project = "R&D <i>";
    header.version = "<v>";
    header.checkFileDate = "1<2";
    header.projectFolder = "/srv/<f>";
    header.projectUrl = "http://x/?a=1&b=2";
    header.keyword = "<k>";
    header.engine = "E&E";
    header.date = "d>";

    ReportList list;
    list.append('S', "a&b<1>.html", 3, "Keep <b>70</b> & less", checkCode(0, 1));
    const std::string html = buildHtmlReport(list.rows(), header, rules, 2025);

    const char* escaped[] = {
        "Quorvel Report for Project: R&amp;D &lt;i&gt;</h1>",
        "Quorvel Version = &lt;v&gt;<br>",
        "Search Engines Check File Date = 1&lt;2<br>",
        "Project Folder = /srv/&lt;f&gt;<br>",
        "Project URL = http://x/?a=1&amp;b=2<br>",
        "Keyword(s) = &lt;k&gt;<br>",
        "Engine / Directory = E&amp;E<br>",
        "Other active options = Kill terminating 's' from words,&nbsp;Skip",
        "Date = d&gt;<br>",
        "File = &nbsp;a&amp;b&lt;1&gt;.html</h4>",
        "<b>Keep &lt;b&gt;70&lt;/b&gt; &amp; less</b>",
        "\r\n\r\n&lt;script&gt;alert('70')&lt;/script&gt;</td>",
    };
    for (const char* text : escaped) {
        SCOPED_TRACE(text);
        EXPECT_NE(html.find(text), std::string::npos);
    }
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<1>"), std::string::npos);
    EXPECT_EQ(html.find("<i>"), std::string::npos);

    // The text report keeps every text as it is.
    const std::string text = buildTextReport(list.rows(), header);
    EXPECT_NE(text.find("|a&b<1>.html|Keep <b>70</b> & less|"), std::string::npos);
    EXPECT_NE(text.find("Project = R&D <i>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace quorvel
