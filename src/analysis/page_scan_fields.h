#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "analysis/page_facts.h"

namespace quorvel {

// How a fact of the page scan is held.
enum class FieldKind {
    Count16,   // u16 counter or length
    Number32,  // u32 counter or position
    Flag,      // 0 or 1
    Colour,    // 0xRRGGBB
    Text,      // copied text of at most 2047 bytes
    List,      // text of any length
};

using PageFieldMember = std::variant<u16 PageFacts::*, u32 PageFacts::*, ScanText PageFacts::*,
                                     std::string PageFacts::*>;

// One fact of the page scan: its name, its kind and where it is held.
struct PageField {
    std::string_view name;
    FieldKind kind;
    PageFieldMember member;
};

// Every fact of the page scan, in the order in which PageFacts declares them.
// This table is the one list of the facts: the scan command prints from it.
std::span<const PageField> pageFields();

// The field of that name, or nullptr.
const PageField* findPageField(std::string_view name);

// The value of a numeric field, widened; nullopt for a text field.
std::optional<std::uint32_t> numericFieldValue(const PageFacts& facts, const PageField& field);
// The value of a text field; empty for a numeric field.
std::string_view textFieldValue(const PageFacts& facts, const PageField& field);

}  // namespace quorvel
