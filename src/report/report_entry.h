#pragma once

#include <cstdint>
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
// other letter is an Error.
ImportanceClass importanceClassOf(char letter);

// Receives the results of an analysis run in list order.
class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void appendEntry(const ReportEntry& entry) = 0;
    // A listed file that could not be opened; `message` is the full text
    // shown to the user ("Cannot open the HTML file: ...").
    virtual void fileNotOpened(std::string_view fileName, std::string_view message) = 0;
};

}  // namespace quorvel
