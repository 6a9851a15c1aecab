#include "checks/check_entry.h"

#include "checks/check_catalogue.h"

namespace quorvel {

ImportanceClass importanceClassOf(char letter) {
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

ImportanceClass importanceClassOfCatText(std::string_view catText) {
    if (catText.size() != 1) return ImportanceClass::Error;
    const ImportanceClass importance = importanceClassOf(catText.front());
    // A separator is no importance a check can have.
    return importance == ImportanceClass::Separator ? ImportanceClass::Error : importance;
}

std::string_view importanceClassName(ImportanceClass importance) {
    switch (importance) {
        case ImportanceClass::Warning:
            return "Warning";
        case ImportanceClass::Suggestion:
            return "Suggestion";
        case ImportanceClass::Tip:
            return "Tip";
        case ImportanceClass::Error:
            return "Error";
        case ImportanceClass::Separator:
            return "Separator";
    }
    return "Error";
}

std::optional<CheckId> checkOfCode(std::uint8_t checkCode) {
    const CheckId id{(checkCode >> 5) & 7, checkCode & 31};
    if (id.category >= kCategoryCount || id.index >= checkCount(id.category)) return std::nullopt;
    return id;
}

}  // namespace quorvel
