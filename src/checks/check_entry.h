#pragma once

// What an analysis run produces: report entries with their importance class
// and check code, handed to a sink. The report module shows and exports them.

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

// The class of an importance letter, as the report list goes by the first
// letter of a "Cat" text: tested in the order W, T, S, '*' (either case);
// any other letter is an Error.
ImportanceClass importanceClassOf(char letter);

// The class of a whole "Cat" text, as the detailed description goes by it:
// a text of one letter w, s or t (either case) is that letter's class, any
// other text (also "Warn", "*" or "") an Error.
ImportanceClass importanceClassOfCatText(std::string_view catText);

// The class's name in machine-readable output (the JSON report): the
// enumerator's name, so a tip is "Tip". The report shown to people calls it
// "Tip Note" (importanceWord).
std::string_view importanceClassName(ImportanceClass importance);

// Receives the results of an analysis run in list order.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void appendEntry(const ReportEntry& entry) = 0;
    // A listed file that could not be opened; `message` is the full text
    // shown to the user ("Cannot open the HTML file: ...").
    virtual void fileNotOpened(std::string_view fileName, std::string_view message) = 0;
};

// The check that a check code names (category in bits 5-7, index in bits 0-4);
// no value for a separator's code or a code outside the catalogue.
struct CheckId {
    int category = 0;
    int index = 0;
};
std::optional<CheckId> checkOfCode(std::uint8_t checkCode);

}  // namespace quorvel
