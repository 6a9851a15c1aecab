#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

enum class ImportanceClass { Warning, Suggestion, Tip, Error, Separator };

// One report line.
struct ReportEntry {
    char importanceLetter = '*';
    ImportanceClass importanceClass = ImportanceClass::Separator;
    std::string fileName;     // as listed in the project; empty for a separator
    std::string description;  // the composed message; empty for a separator
    std::int32_t filePosition = 0;
    std::uint8_t checkCode = 255;
};

// The class of an importance letter: tested in the order W, T, S, '*'; any
// other letter is an Error. Inline so that the analysis run, which builds
// entries, needs no object code of the report module.
inline ImportanceClass importanceClassOf(char letter) {
    switch (letter) {
        case 'W':
        case 'w':
            return ImportanceClass::Warning;
        case 'T':
        case 't':
            return ImportanceClass::Tip;
        case 'S':
        case 's':
            return ImportanceClass::Suggestion;
        case '*':
            return ImportanceClass::Separator;
        default:
            return ImportanceClass::Error;
    }
}

// Receives the results of an analysis run in list order.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void appendEntry(const ReportEntry& entry) = 0;
    // A listed file that could not be opened; `message` is the full text
    // shown to the user ("Cannot open the HTML file: ...").
    virtual void fileNotOpened(std::string_view fileName, std::string_view message) = 0;
};

struct RgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

// The word shown in the Importance column: "Warning", "Suggestion",
// "Tip Note", "Error" or "-" for a separator.
std::string_view importanceWord(ImportanceClass importance);
// Index of the class icon in the report's image list (0..4, in class order).
int importanceIconIndex(ImportanceClass importance);
// Background of a report row; no value means the list's normal window colour.
std::optional<RgbColour> importanceRowColour(ImportanceClass importance);

// An entry as the report list stores it: the class is derived from the letter,
// and a separator ('*') gets empty file name and description whatever is given.
ReportEntry makeReportEntry(char importanceLetter, std::string_view fileName,
                            std::int32_t filePosition, std::string_view description,
                            std::uint8_t checkCode);

// The check that a check code names (category in bits 5-7, index in bits 0-4);
// no value for a separator's code or a code outside the catalogue.
struct CheckId {
    int category = 0;
    int index = 0;
};
std::optional<CheckId> checkOfCode(std::uint8_t checkCode);

}  // namespace quorvel
