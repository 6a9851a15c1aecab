#pragma once

#include <span>
#include <string>
#include <string_view>

#include "report/report_entry.h"

namespace quorvel {

class EngineRules;

// The values written above the report table, read when a report is built.
struct ReportHeader {
    std::string project;
    std::string version;        // program version text; may be empty
    std::string checkFileDate;  // date of the checker file; empty when unknown
    std::string projectFolder;
    std::string projectUrl;
    std::string keyword;
    std::string engine;
    int killTerminatingS = 0;
    int skipShortWords = 0;
    int minWordLength = 3;
    std::string date;  // current local date and time
};

// The active word options: "Kill terminating 's' from words" and "Skip words
// shorter than N characters", joined by `separator`; empty when both are off.
std::string otherOptionsText(const ReportHeader& header, std::string_view separator);

// Escapes '&', '<' and '>' so that a text stands as plain text in HTML
// element content.
std::string escapeHtmlText(std::string_view text);

// The report as a fixed-width text table (Importance, File Name, Description)
// with its header block, every row including separators, CR LF line ends.
std::string buildTextReport(std::span<const ReportEntry> rows, const ReportHeader& header);

// The report as an HTML page with one table per run of rows of the same file;
// separators are left out. Each row carries the check's detailed description
// from `rules`, and the Warning, Error and Tip rows their colour. Every inserted
// text is escaped; `currentYear` goes into the closing notice.
std::string buildHtmlReport(std::span<const ReportEntry> rows, const ReportHeader& header,
                            const EngineRules& rules, int currentYear);

// The colour attribute closing the importance cell's opening tag, chosen by
// the whole "Cat" text: "w"/"W", "e"/"E" and "t"/"T" give a bgcolor, any other
// text none.
std::string_view htmlImportanceAttribute(std::string_view catText);

}  // namespace quorvel
