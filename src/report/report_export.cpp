#include "report/report_export.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "checks/checker_file.h"
#include "report/entry_details.h"
#include "report/report_list.h"

namespace quorvel {

namespace {

constexpr std::string_view kReportTitle = "Quorvel: Search Engine Optimizer - Report";
constexpr std::string_view kReportClosing = "Quorvel - Report";
constexpr std::string_view kOwnershipNotice = "(c) Maltrane. All rights reserved.";
constexpr std::string_view kHtmlTitleMaker = "Maltrane(R)";
constexpr std::string_view kWordWrapNote =
    "NOTE: If the formatting of this report is not correct, please turn off your editor word "
    "wrap option.";
constexpr std::string_view kLocateHeading = "HOW TO LOCATE THE PROBLEM AREA WITHIN YOUR HTML PAGE";
constexpr std::string_view kLocateHint =
    "Click on the Report tab on the Quorvel screen, then double click the message you are "
    "interested in. The problem area will be HIGHLIGHTED.";
constexpr std::string_view kKillTerminatingSText = "Kill terminating 's' from words";

// Header labels, in the order they are written.
constexpr std::string_view kProjectLabel = "Project = ";
constexpr std::string_view kVersionLabel = "Quorvel Version = ";
constexpr std::string_view kCheckFileDateLabel = "Search Engines Check File Date = ";
constexpr std::string_view kFolderLabel = "Project Folder = ";
constexpr std::string_view kUrlLabel = "Project URL = ";
constexpr std::string_view kKeywordLabel = "Keyword(s) = ";
constexpr std::string_view kEngineLabel = "Engine / Directory = ";
constexpr std::string_view kOptionsLabel = "Other active options = ";
constexpr std::string_view kDateLabel = "Date = ";
constexpr std::string_view kFileLabel = "File = ";

// The columns written to the text report; the file position is left out.
constexpr std::array<int, 3> kTextColumns = {kImportanceColumn, kFileNameColumn,
                                             kDescriptionColumn};

struct HeaderLine {
    std::string_view label;
    std::string value;
};

// The header values after the project, in report order.
std::array<HeaderLine, 8> headerLines(const ReportHeader& header, std::string_view optionsText) {
    return {{{kVersionLabel, header.version},
             {kCheckFileDateLabel, header.checkFileDate},
             {kFolderLabel, header.projectFolder},
             {kUrlLabel, header.projectUrl},
             {kKeywordLabel, header.keyword},
             {kEngineLabel, header.engine},
             {kOptionsLabel, std::string(optionsText)},
             {kDateLabel, header.date}}};
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out += text;
    out.append(width - text.size(), ' ');
    out += '|';
}

}  // namespace

std::string otherOptionsText(const ReportHeader& header, std::string_view separator) {
    std::string text;
    if (header.killTerminatingS != 0) text += kKillTerminatingSText;
    if (header.skipShortWords != 0) {
        if (!text.empty()) text += separator;
        text += "Skip words shorter than " + std::to_string(header.minWordLength) + " characters";
    }
    return text;
}

std::string escapeHtmlText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string buildTextReport(std::span<const ReportEntry> rows, const ReportHeader& header) {
    std::array<std::size_t, kTextColumns.size()> widths{};
    for (std::size_t c = 0; c < kTextColumns.size(); ++c) {
        widths[c] = reportColumnHeader(kTextColumns[c]).size();
        for (const ReportEntry& row : rows) {
            widths[c] = std::max(widths[c], reportCellText(row, kTextColumns[c]).size());
        }
    }

    std::string headerLine;
    for (std::size_t c = 0; c < kTextColumns.size(); ++c) {
        appendPadded(headerLine, reportColumnHeader(kTextColumns[c]), widths[c]);
    }
    std::string ruleLine = headerLine;
    std::replace(ruleLine.begin(), ruleLine.end(), ' ', '-');
    ruleLine += ' ';

    std::string out;
    out += kReportTitle;
    out += ' ';
    out += kOwnershipNotice;
    out += "\r\n\r\n";
    out += kProjectLabel;
    out += header.project;
    const std::string options = otherOptionsText(header, ", ");
    for (const HeaderLine& line : headerLines(header, options)) {
        out += "\r\n";
        out += line.label;
        if (line.label == kDateLabel) out += ' ';
        out += line.value;
    }
    out += "\r\n\r\n";
    out += kWordWrapNote;
    out += "\r\n\r\n";
    out += ruleLine + "\r\n" + headerLine + "\r\n" + ruleLine + "\r\n";
    for (const ReportEntry& row : rows) {
        for (std::size_t c = 0; c < kTextColumns.size(); ++c) {
            appendPadded(out, reportCellText(row, kTextColumns[c]), widths[c]);
        }
        out += "\r\n";
    }
    out += ruleLine + "\r\n\r\n";
    out += kReportClosing;
    out += ' ';
    out += kOwnershipNotice;
    out += "\r\n";
    return out;
}

std::string_view htmlImportanceAttribute(std::string_view catText) {
    if (catText == "w" || catText == "W") return " bgcolor =\"#FFCC66\">";
    if (catText == "e" || catText == "E") return " bgcolor =\"#FF6347\">";
    // The colour name really holds the letter O: browsers do not read it as a
    // colour, and reports have always been written this way.
    if (catText == "t" || catText == "T") return " bgcolor =\"#BOC4DE\">";
    return ">";
}

std::string buildHtmlReport(std::span<const ReportEntry> rows, const ReportHeader& header,
                            const EngineRules& rules, int currentYear) {
    std::string out;
    out += "<html>\r\n<head>\r\n<title>";
    out += kHtmlTitleMaker;
    out += ' ';
    out += kReportTitle;
    out += "</title>\r\n</head>\r\n<body>\r\n";
    out += "<h1 align=\"center\">Quorvel Report for Project: ";
    out += escapeHtmlText(header.project);
    out += "</h1>\r\n<h4>";
    // The options text is built from fixed words; its separator is markup.
    const std::string options = otherOptionsText(header, ",&nbsp;");
    bool first = true;
    for (const HeaderLine& line : headerLines(header, options)) {
        if (!first) out += "<br>";
        first = false;
        out += line.label;
        out += line.label == kOptionsLabel ? line.value : escapeHtmlText(line.value);
    }
    out += "<br>";
    out += "<br><font align=center color=\"#ff0000\">";
    out += kLocateHeading;
    out += "</font><br>";
    out += kLocateHint;
    out += "</h4>\r\n";

    const std::string_view separatorWord = importanceWord(ImportanceClass::Separator);
    std::string currentFile;
    bool tableOpen = false;
    for (const ReportEntry& row : rows) {
        const std::string importance = reportCellText(row, kImportanceColumn);
        if (importance == separatorWord) continue;
        if (row.fileName != currentFile) {
            if (tableOpen) out += "</table>\r\n</div>\r\n";
            currentFile = row.fileName;
            tableOpen = true;
            out += "<p><br clear=\"left\"><br></p>\r\n<h4 align=\"center\">";
            out += kFileLabel;
            out += "&nbsp;";
            out += escapeHtmlText(row.fileName);
            out += "</h4>\r\n<div align=\"left\">\r\n";
            out +=
                "<table border=\"3\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\" "
                "align=\"left\">\r\n";
            out += "<tr bgcolor=\"#b3d3f3\">\r\n";
            out += "<td><b>";
            out += reportColumnHeader(kImportanceColumn);
            out += "</b></td>\r\n";
            out += "<td><b>";
            out += reportColumnHeader(kDescriptionColumn);
            out += "</b></td>\r\n";
            out += "</tr>\r\n";
        }
        out += "<tr>\r\n<td align = center";
        out += htmlImportanceAttribute(entryCheckField(rules, row.checkCode, CheckField::Cat));
        out += importance;
        out += "</td>\r\n";
        out += "<td><p align = center><b>";
        out += escapeHtmlText(row.description);
        out += "</b></p>\r\n\r\n";
        out += escapeHtmlText(entryLongDescription(rules, row.checkCode));
        out += "</td>\r\n</tr>\r\n";
    }
    out += "</table>\r\n</div>\r\n<p><br clear=\"left\"><br></p>\r\n";

    char year[16];
    std::snprintf(year, sizeof year, "%04d", std::clamp(currentYear, 0, 9999));
    out += "<h4 align=\"center\">";
    out += kReportClosing;
    out += " (c) ";
    out += year;
    out += " Maltrane. All rights reserved.</h4>\r\n</body>\r\n</html>\r\n";
    return out;
}

}  // namespace quorvel
