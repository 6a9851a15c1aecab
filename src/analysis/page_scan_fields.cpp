#include "analysis/page_scan_fields.h"

namespace quorvel {

namespace {

#define QUORVEL_FIELD_ROW(type, kind, name, reset) \
    PageField{#name, FieldKind::kind, &PageFacts::name},

const PageField kPageFields[] = {QUORVEL_PAGE_FACTS(QUORVEL_FIELD_ROW)};

#undef QUORVEL_FIELD_ROW

}  // namespace

std::span<const PageField> pageFields() {
    return kPageFields;
}

const PageField* findPageField(std::string_view name) {
    for (const PageField& field : kPageFields) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

std::optional<std::uint32_t> numericFieldValue(const PageFacts& facts, const PageField& field) {
    if (const auto* member = std::get_if<u16 PageFacts::*>(&field.member)) return facts.**member;
    if (const auto* member = std::get_if<u32 PageFacts::*>(&field.member)) return facts.**member;
    return std::nullopt;
}

std::string_view textFieldValue(const PageFacts& facts, const PageField& field) {
    if (const auto* member = std::get_if<ScanText PageFacts::*>(&field.member)) {
        return (facts.**member).view();
    }
    if (const auto* member = std::get_if<std::string PageFacts::*>(&field.member)) {
        return facts.**member;
    }
    return {};
}

}  // namespace quorvel
