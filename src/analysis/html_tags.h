#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "analysis/fixed_text.h"

namespace quorvel {

// The last attribute value read from a tag, as the scanner keeps it.
struct AttributeText {
    ScanText value;        // tabs, CR and LF stored as blanks; at most 2047 bytes
    bool hadCrLf = false;  // the value held a CR or LF

    void clear() {
        value.clear();
        hadCrLf = false;
    }
};

// Where an attribute search ended and what it stored.
struct AttributeLookup {
    const char* stop = nullptr;  // the byte that ended the value or the search
    std::size_t stored = 0;      // bytes stored in the value text
};

// Returns the position of the `>` that ends the tag whose bytes begin at `p`,
// or the position of the first zero byte, or `end`. With `nested` set, each
// `<` met opens a pair whose `>` does not end the tag.
const char* skipToTagEnd(const char* p, const char* end, bool nested);

// Looks up attribute `name` in the tag whose attributes begin at `start` and
// copies its value into `out` (empty when the name is not found).
//
// The name is searched, without regard to case, up to the first `>`, and
// counts only where the byte before it is a double quote, blank, tab, CR or
// LF. From there any bytes are skipped up to an `=`; when a `>` comes first
// that occurrence is no attribute and the search goes on up to the next `>`.
// After the `=` white space is skipped. A value opened by a double or single
// quote ends at the same quote or at `>`; an unquoted value ends only at `>`,
// so it takes in every later attribute of the tag. Tabs, CR and LF are stored
// as one blank each, CR LF as a single blank; bytes beyond 2047 are passed
// over. A zero byte or `end` ends everything.
//
// Requires that `start` is preceded by at least one byte of the same buffer.
AttributeLookup findAttribute(const char* start, const char* end, std::string_view name,
                              AttributeText& out);

// Which of `names` (at most 32) findAttribute can find from `start`: bit i is
// set when names[i] begins, as findAttribute looks for it, before the first
// `>`, zero byte or `end`. A name with its bit clear would be looked up in
// vain, so its lookup can be left out. One pass for all the names.
//
// Requires that `start` is preceded by at least one byte of the same buffer.
std::uint32_t attributeNamesBeforeTagEnd(const char* start, const char* end,
                                         std::span<const std::string_view> names);

}  // namespace quorvel
