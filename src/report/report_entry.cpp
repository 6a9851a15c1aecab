#include "report/report_entry.h"

namespace quorvel {

std::string_view importanceWord(ImportanceClass importance) {
    // People read the class names, except that a tip is a "Tip Note" and a
    // separator a dash.
    if (importance == ImportanceClass::Tip) return "Tip Note";
    if (importance == ImportanceClass::Separator) return "-";
    return importanceClassName(importance);
}

int importanceIconIndex(ImportanceClass importance) {
    switch (importance) {
        case ImportanceClass::Warning:
            return 0;
        case ImportanceClass::Suggestion:
            return 1;
        case ImportanceClass::Tip:
            return 2;
        case ImportanceClass::Error:
            return 3;
        case ImportanceClass::Separator:
            return 4;
    }
    return 3;
}

std::optional<RgbColour> importanceRowColour(ImportanceClass importance) {
    switch (importance) {
        case ImportanceClass::Warning:
            return RgbColour{255, 204, 102};
        case ImportanceClass::Suggestion:
            return std::nullopt;
        case ImportanceClass::Tip:
            return RgbColour{176, 196, 222};
        case ImportanceClass::Error:
            return RgbColour{255, 99, 71};
        case ImportanceClass::Separator:
            return RgbColour{0, 0, 0};
    }
    return std::nullopt;
}

ReportEntry makeReportEntry(char importanceLetter, std::string_view fileName,
                            std::int32_t filePosition, std::string_view description,
                            std::uint8_t checkCode) {
    ReportEntry entry;
    entry.importanceLetter = importanceLetter;
    entry.importanceClass = importanceClassOf(importanceLetter);
    if (entry.importanceClass != ImportanceClass::Separator) {
        entry.fileName = fileName;
        entry.description = description;
    }
    entry.filePosition = filePosition;
    entry.checkCode = checkCode;
    return entry;
}

}  // namespace quorvel
