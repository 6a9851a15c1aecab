#pragma once

#include <cstdint>
#include <string_view>

namespace quorvel {

// The seven categories, in catalogue order.
enum class CheckCategory : std::uint8_t { Title, Meta, Body, Images, Links, Misc, Tips };
inline constexpr int kCategoryCount = 7;
inline constexpr int kCheckCount = 86;

// The six text fields of a check, in order; the name is the last part of a
// checker-file key.
enum class CheckField : std::uint8_t { Name, Msg, Descr, Cat, Enable, Value };
inline constexpr int kFieldCount = 6;

// The built-in texts of one check.
struct CheckDefinition {
    std::string_view name;
    std::string_view msg;
    std::string_view descr;
    std::string_view cat;
    std::string_view enable;
    std::string_view value;

    std::string_view field(CheckField f) const;
};

// Category name ("Title" ... "Tips"); empty for an index above 6.
std::string_view categoryName(int category);
// Number of checks in a category (0 for an index above 6).
int checkCount(int category);
std::string_view fieldName(CheckField field);
// The catalogue entry; both indexes must be in range.
const CheckDefinition& checkDefinition(int category, int index);
// The built-in text of one field.
std::string_view defaultText(int category, int index, CheckField field);
// Running number 0..85 of a check over all categories.
int globalCheckNumber(int category, int index);
// The check code of a report entry: category * 32 + index.
inline std::uint8_t checkCode(int category, int index) {
    return static_cast<std::uint8_t>(category * 32 + index);
}
inline constexpr std::uint8_t kSeparatorCheckCode = 255;

}  // namespace quorvel
