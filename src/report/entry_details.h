#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "checks/check_catalogue.h"
#include "report/report_entry.h"

namespace quorvel {

class EngineRules;
class ReportList;

// Shown in place of the HTML code when an entry has no place in its file.
inline constexpr std::string_view kNothingToPointToText =
    "There's nothing to point you to in the HTML code that will help you solve this problem or "
    "suggestion.\n\nRead the detailed description above and follow those suggestions.\n";

// The path of a file listed in a project: the name itself when it is
// absolute, otherwise joined to the project folder.
std::string resolveEntryPath(std::string_view folder, std::string_view fileName);

// One effective field of the check a code names; empty for a separator's code
// or a code outside the catalogue.
std::string_view entryCheckField(const EngineRules& rules, std::uint8_t checkCode,
                                 CheckField field);
// The check's detailed description with %1 = its Value and %2 = "0".
std::string entryLongDescription(const EngineRules& rules, std::uint8_t checkCode);

// The text of the detailed-description window for an entry: class word of the
// whole Cat text, " : ", the entry's description, the category and check name,
// and the long description, joined by blank lines (CR LF). Empty for a separator.
std::string entryDetailText(const ReportEntry& entry, const EngineRules& rules);

// What the detailed-description window shows for one row.
struct EntryDetails {
    std::string text;
    ImportanceClass iconClass = ImportanceClass::Error;  // from the whole Cat text
    std::string path;                                    // the file to show
    std::int32_t filePosition = 0;
};
// No value when the row does not exist or is a separator.
std::optional<EntryDetails> entryDetails(const ReportList& list, int row, const EngineRules& rules,
                                         std::string_view folder);

// A range [begin, end) of the code view.
struct TextSelection {
    std::size_t begin = 0;
    std::size_t end = 0;
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};
// The problem area of a finding in the file's text: from the position to just
// after the first '>' at or after it, or to the end of the text when there is
// none. No value when the finding has no place (position 0 or below); the
// window then shows kNothingToPointToText. A position past the end selects
// nothing at the end.
std::optional<TextSelection> problemAreaSelection(std::string_view code, std::int32_t position);

}  // namespace quorvel
