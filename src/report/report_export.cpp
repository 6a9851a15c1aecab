#include "report/report_export.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

#include "checks/checker_file.h"
#include "platform/ascii_text.h"
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

// A cell is padded with spaces to its column's width; a cell wider than the
// column is written whole.
void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out += text;
    if (text.size() < width) out.append(width - text.size(), ' ');
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

namespace {

// A row is kept as one record: the importance class (one byte), the file
// name's length and bytes, the description's length and bytes. Lengths are
// 32-bit in the machine's order; a file name length of kSameFileName means
// the file of the record before.
constexpr std::uint32_t kSameFileName = 0xFFFFFFFF;
constexpr std::size_t kLengthSize = sizeof(std::uint32_t);

void appendLength(std::string& out, std::uint32_t length) {
    char bytes[kLengthSize];
    std::memcpy(bytes, &length, kLengthSize);
    out.append(bytes, kLengthSize);
}

std::uint32_t lengthAt(std::string_view bytes, std::size_t offset) {
    std::uint32_t length;
    std::memcpy(&length, bytes.data() + offset, kLengthSize);
    return length;
}

std::uint32_t cappedLength(std::size_t size) {
    return static_cast<std::uint32_t>(std::min<std::size_t>(size, kSameFileName - 1));
}

// Hands the whole records at the start of `bytes` to `visit` and returns the
// number of bytes they take; `fileName` carries the current file name.
std::size_t visitRecords(std::string_view bytes, std::string& fileName,
                         const TextReportRows::RowVisitor& visit) {
    std::size_t offset = 0;
    for (;;) {
        std::size_t at = offset;
        if (bytes.size() - at < 1 + kLengthSize) return offset;
        const auto importance = static_cast<ImportanceClass>(bytes[at]);
        const std::uint32_t nameLength = lengthAt(bytes, at + 1);
        at += 1 + kLengthSize;
        std::string_view name;
        if (nameLength != kSameFileName) {
            if (bytes.size() - at < nameLength) return offset;
            name = bytes.substr(at, nameLength);
            at += nameLength;
        }
        if (bytes.size() - at < kLengthSize) return offset;
        const std::uint32_t descriptionLength = lengthAt(bytes, at);
        at += kLengthSize;
        if (bytes.size() - at < descriptionLength) return offset;
        if (nameLength != kSameFileName) fileName.assign(name);
        visit(importanceWord(importance), fileName, bytes.substr(at, descriptionLength));
        offset = at + descriptionLength;
    }
}

}  // namespace

void TextReportRows::append(const ReportEntry& entry) {
    const std::string_view description =
        std::string_view(entry.description).substr(0, cappedLength(entry.description.size()));
    const std::string_view fileName =
        std::string_view(entry.fileName).substr(0, cappedLength(entry.fileName.size()));
    record_.clear();
    record_ += static_cast<char>(entry.importanceClass);
    // Rows come file by file: only a change of name stores the name.
    if (rowCount_ > 0 && fileName == previousFileName_) {
        appendLength(record_, kSameFileName);
    } else {
        appendLength(record_, static_cast<std::uint32_t>(fileName.size()));
        record_ += fileName;
        previousFileName_.assign(fileName);
    }
    appendLength(record_, static_cast<std::uint32_t>(description.size()));
    record_ += description;
    records_.append(record_);

    ++rowCount_;
    importanceWidth_ = std::max(importanceWidth_, importanceWord(entry.importanceClass).size());
    fileNameWidth_ = std::max(fileNameWidth_, fileName.size());
    descriptionWidth_ = std::max(descriptionWidth_, description.size());
}

bool TextReportRows::forEachRow(const RowVisitor& visit) const {
    std::string fileName;
    return records_.readBack(
        [&](std::string_view bytes) { return visitRecords(bytes, fileName, visit); });
}

bool writeTextReport(const TextReportRows& rows, const ReportHeader& header,
                     const ReportChunkWriter& write, std::size_t chunkSize) {
    const std::array<std::size_t, kTextColumns.size()> rowWidths = {
        rows.importanceWidth(), rows.fileNameWidth(), rows.descriptionWidth()};
    std::array<std::size_t, kTextColumns.size()> widths{};
    for (std::size_t c = 0; c < kTextColumns.size(); ++c) {
        // One long cell must not widen every row of the report: columns are
        // padded to at most kMaxTextColumnWidth characters.
        widths[c] = std::max(reportColumnHeader(kTextColumns[c]).size(),
                             std::min(rowWidths[c], kMaxTextColumnWidth));
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
    const bool complete = rows.forEachRow(
        [&](std::string_view importance, std::string_view fileName, std::string_view description) {
            appendPadded(out, importance, widths[0]);
            appendPadded(out, fileName, widths[1]);
            appendPadded(out, description, widths[2]);
            out += "\r\n";
            if (out.size() >= chunkSize) write(out);
        });
    out += ruleLine + "\r\n\r\n";
    out += kReportClosing;
    out += ' ';
    out += kOwnershipNotice;
    out += "\r\n";
    write(out);
    return complete;
}

std::string buildTextReport(std::span<const ReportEntry> rows, const ReportHeader& header) {
    // The whole report is built in memory anyway: so are its rows.
    TextReportRows compact(SIZE_MAX);
    for (const ReportEntry& row : rows)
        compact.append(row);
    std::string report;
    // Every piece is kept: the whole report is the result.
    writeTextReport(
        compact, header, [&report](std::string& text) { report += std::exchange(text, {}); },
        SIZE_MAX);
    return report;
}

std::string_view htmlImportanceAttribute(std::string_view catText) {
    // Only a Cat text of one letter has a colour; a suggestion has none.
    switch (catText.size() == 1 ? toAsciiUpper(catText.front()) : '\0') {
        case 'W':
            return " bgcolor =\"#FFCC66\">";
        case 'E':
            return " bgcolor =\"#FF6347\">";
        case 'T':
            // The colour name really holds the letter O: browsers do not read
            // it as a colour, and reports have always been written this way.
            return " bgcolor =\"#BOC4DE\">";
        default:
            return ">";
    }
}

void HtmlReportLayout::appendHead(std::string& out, const ReportHeader& header) {
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
}

void HtmlReportLayout::appendRow(std::string& out, const ReportEntry& row) {
    const std::string_view importance = importanceWord(row.importanceClass);
    if (importance == importanceWord(ImportanceClass::Separator)) return;
    if (row.fileName != currentFile_) {
        if (tableOpen_) out += "</table>\r\n</div>\r\n";
        currentFile_ = row.fileName;
        tableOpen_ = true;
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
    out += htmlImportanceAttribute(entryCheckField(rules_, row.checkCode, CheckField::Cat));
    out += importance;
    out += "</td>\r\n";
    out += "<td><p align = center><b>";
    out += escapeHtmlText(row.description);
    out += "</b></p>\r\n\r\n";
    out += escapeHtmlText(entryLongDescription(rules_, row.checkCode));
    out += "</td>\r\n</tr>\r\n";
}

void HtmlReportLayout::appendTail(std::string& out, int currentYear) {
    out += "</table>\r\n</div>\r\n<p><br clear=\"left\"><br></p>\r\n";
    char year[16];
    std::snprintf(year, sizeof year, "%04d", std::clamp(currentYear, 0, 9999));
    out += "<h4 align=\"center\">";
    out += kReportClosing;
    out += " (c) ";
    out += year;
    out += " Maltrane. All rights reserved.</h4>\r\n</body>\r\n</html>\r\n";
}

std::string buildHtmlReport(std::span<const ReportEntry> rows, const ReportHeader& header,
                            const EngineRules& rules, int currentYear) {
    std::string out;
    HtmlReportLayout layout(rules);
    HtmlReportLayout::appendHead(out, header);
    for (const ReportEntry& row : rows)
        layout.appendRow(out, row);
    HtmlReportLayout::appendTail(out, currentYear);
    return out;
}

}  // namespace quorvel
