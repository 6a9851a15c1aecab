#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/temp_files.h"
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

// The rows of a text report, gathered while a run goes on and written when it
// ends, since each column is as wide as its longest cell. Rows are kept as
// compact records; beyond `memoryLimit` bytes they move to a temporary file
// without a name, so that a run over many thousands of files keeps its memory
// flat. Also a ReportSink, so a run can fill it directly.
class TextReportRows : public ReportSink {
public:
    static constexpr std::size_t kDefaultMemoryLimit = std::size_t{1} << 20;

    explicit TextReportRows(std::size_t memoryLimit = kDefaultMemoryLimit)
        : records_(memoryLimit) {}

    void append(const ReportEntry& entry);
    std::size_t size() const { return rowCount_; }
    // The longest Importance, File Name and Description cells so far.
    std::size_t importanceWidth() const { return importanceWidth_; }
    std::size_t fileNameWidth() const { return fileNameWidth_; }
    std::size_t descriptionWidth() const { return descriptionWidth_; }
    // Whether some rows live in the temporary file.
    bool spilled() const { return records_.spilled(); }

    using RowVisitor = std::function<void(std::string_view importance, std::string_view fileName,
                                          std::string_view description)>;
    // Hands every row's three cells to `visit`, in order. False when rows
    // kept in the temporary file cannot be read back; `visit` has then seen
    // only the rows before them.
    bool forEachRow(const RowVisitor& visit) const;

    void appendEntry(const ReportEntry& entry) override { append(entry); }
    void fileNotOpened(std::string_view, std::string_view) override {}

private:
    SpillBuffer records_;
    std::string record_;  // the record being appended, reused
    std::string previousFileName_;
    std::size_t rowCount_ = 0;
    std::size_t importanceWidth_ = 0;
    std::size_t fileNameWidth_ = 0;
    std::size_t descriptionWidth_ = 0;
};

// The widest a column of the text report is padded to; a longer cell is
// written whole, so its row alone is longer.
inline constexpr std::size_t kMaxTextColumnWidth = 255;

// Receives a report's text in pieces, in order; it may take the text away
// (leave the string empty) or keep it to be appended to.
using ReportChunkWriter = std::function<void(std::string& text)>;

// Writes the text report in pieces of about `chunkSize` bytes to `write`.
// False when the rows could not all be read back; the report then ends
// after the rows that could.
bool writeTextReport(const TextReportRows& rows, const ReportHeader& header,
                     const ReportChunkWriter& write, std::size_t chunkSize = 65536);

// The report as a fixed-width text table (Importance, File Name, Description)
// with its header block, every row including separators, CR LF line ends.
std::string buildTextReport(std::span<const ReportEntry> rows, const ReportHeader& header);

// The HTML report's layout in three pieces, so that it can be written while
// the rows arrive: the head, each row (opening and closing the per-file
// tables as the file name changes), and the tail.
class HtmlReportLayout {
public:
    explicit HtmlReportLayout(const EngineRules& rules) : rules_(rules) {}

    // The page head and the header block.
    static void appendHead(std::string& out, const ReportHeader& header);
    // One row; a separator writes nothing, a row of another file than the
    // previous one closes the open table and starts the file's own table.
    void appendRow(std::string& out, const ReportEntry& row);
    // Closes the table (also when none was opened) and ends the page with
    // the closing notice of `currentYear`.
    static void appendTail(std::string& out, int currentYear);

private:
    const EngineRules& rules_;
    std::string currentFile_;
    bool tableOpen_ = false;
};

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
