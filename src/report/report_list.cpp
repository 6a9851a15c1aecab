#include "report/report_list.h"

namespace quorvel {

std::string_view reportColumnHeader(int column) {
    switch (column) {
        case kImportanceColumn:
            return "Importance";
        case kFileNameColumn:
            return "File Name";
        case kDescriptionColumn:
            return "Description";
        case kFilePositionColumn:
            return "File Position";
        default:
            return {};
    }
}

std::string reportCellText(const ReportEntry& entry, int column) {
    switch (column) {
        case kImportanceColumn:
            return std::string(importanceWord(entry.importanceClass));
        case kFileNameColumn:
            return entry.fileName;
        case kDescriptionColumn:
            return entry.description;
        case kFilePositionColumn:
            return std::to_string(entry.filePosition);
        default:
            return {};
    }
}

void ReportList::clear() {
    rows_.clear();
    unopenedFileMessages_.clear();
}

int ReportList::append(char importanceLetter, std::string_view fileName, std::int32_t filePosition,
                       std::string_view description, std::uint8_t checkCode) {
    rows_.push_back(
        makeReportEntry(importanceLetter, fileName, filePosition, description, checkCode));
    return rowCount() - 1;
}

std::string ReportList::cellText(int row, int column) const {
    if (row < 0 || row >= rowCount()) return {};
    return reportCellText(rows_[static_cast<std::size_t>(row)], column);
}

void ReportList::appendEntry(const ReportEntry& entry) {
    append(entry.importanceLetter, entry.fileName, entry.filePosition, entry.description,
           entry.checkCode);
}

void ReportList::fileNotOpened(std::string_view, std::string_view message) {
    unopenedFileMessages_.emplace_back(message);
}

}  // namespace quorvel
