#include "report/entry_details.h"

#include <algorithm>

#include "checks/checker_file.h"
#include "platform/program_paths.h"
#include "report/report_list.h"

namespace quorvel {

std::string resolveEntryPath(std::string_view folder, std::string_view fileName) {
    return joinFolderAndName(folder, fileName);
}

std::string_view entryCheckField(const EngineRules& rules, std::uint8_t checkCode,
                                 CheckField field) {
    const std::optional<CheckId> check = checkOfCode(checkCode);
    if (!check) return {};
    return rules.field(check->category, check->index, field);
}

std::string entryLongDescription(const EngineRules& rules, std::uint8_t checkCode) {
    const std::optional<CheckId> check = checkOfCode(checkCode);
    if (!check) return {};
    return rules.message(check->category, check->index, CheckField::Descr, std::uint32_t{0});
}

std::string entryDetailText(const ReportEntry& entry, const EngineRules& rules) {
    if (entry.importanceClass == ImportanceClass::Separator) return {};
    const ImportanceClass importance =
        importanceClassOfCatText(entryCheckField(rules, entry.checkCode, CheckField::Cat));
    std::string text(importanceWord(importance));
    text += " : ";
    text += entry.description;
    text += "\r\n\r\n";
    text += categoryName((entry.checkCode >> 5) & 7);
    text += " : ";
    text += entryCheckField(rules, entry.checkCode, CheckField::Name);
    text += "\r\n\r\n";
    text += entryLongDescription(rules, entry.checkCode);
    return text;
}

std::optional<EntryDetails> entryDetails(const ReportList& list, int row, const EngineRules& rules,
                                         std::string_view folder) {
    if (row < 0 || row >= list.rowCount()) return std::nullopt;
    const ReportEntry& entry = list.row(row);
    if (entry.importanceClass == ImportanceClass::Separator) return std::nullopt;
    EntryDetails details;
    details.text = entryDetailText(entry, rules);
    details.iconClass =
        importanceClassOfCatText(entryCheckField(rules, entry.checkCode, CheckField::Cat));
    details.path = resolveEntryPath(folder, entry.fileName);
    details.filePosition = entry.filePosition;
    return details;
}

std::optional<TextSelection> problemAreaSelection(std::string_view code, std::int32_t position) {
    if (position <= 0) return std::nullopt;
    const std::size_t begin = std::min(static_cast<std::size_t>(position), code.size());
    const std::size_t close = code.find('>', begin);
    return TextSelection{begin, close == std::string_view::npos ? code.size() : close + 1};
}

}  // namespace quorvel
