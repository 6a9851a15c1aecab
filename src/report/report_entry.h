#pragma once

// How report entries are shown: class words, icons and row colours. The
// entries themselves, and the sink a run hands them to, are the checks'.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "checks/check_entry.h"

namespace quorvel {

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

}  // namespace quorvel
