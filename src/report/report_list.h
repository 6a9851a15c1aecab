#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/report_entry.h"

namespace quorvel {

// Columns of the report list, in display order.
enum ReportColumn : int {
    kImportanceColumn = 0,
    kFileNameColumn = 1,
    kDescriptionColumn = 2,
    kFilePositionColumn = 3,
};
inline constexpr int kReportColumnCount = 4;

// Header text of a column ("Importance", "File Name", "Description",
// "File Position"); empty for a column outside 0..3.
std::string_view reportColumnHeader(int column);
// The text a column shows for an entry: the class word, the file name, the
// description, or the file position in decimal. Empty for a column outside 0..3.
std::string reportCellText(const ReportEntry& entry, int column);

// The report as the Report page holds it, without the page: rows in the order
// they were appended, until the next clear. Also receives an analysis run.
class ReportList : public ReportSink {
public:
    // Removes every row and every message about unopened files.
    void clear();
    // Appends one row and returns its index. For the letter '*' (a separator)
    // the file name and description are ignored and empty texts are stored.
    int append(char importanceLetter, std::string_view fileName, std::int32_t filePosition,
               std::string_view description, std::uint8_t checkCode);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    bool empty() const { return rows_.empty(); }
    const std::vector<ReportEntry>& rows() const { return rows_; }
    // The row must exist.
    const ReportEntry& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    // Text of a cell as the page shows it; empty when the row or column does not exist.
    std::string cellText(int row, int column) const;
    static std::string_view headerText(int column) { return reportColumnHeader(column); }

    // Messages about listed files that could not be opened, in run order.
    // They are not rows of the report.
    const std::vector<std::string>& unopenedFileMessages() const { return unopenedFileMessages_; }

    void appendEntry(const ReportEntry& entry) override;
    void fileNotOpened(std::string_view fileName, std::string_view message) override;

private:
    std::vector<ReportEntry> rows_;
    std::vector<std::string> unopenedFileMessages_;
};

}  // namespace quorvel
