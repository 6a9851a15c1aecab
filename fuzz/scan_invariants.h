#pragma once

// Facts that hold for the scan of any page, however malformed: the fuzz
// target and the bad-input corpus test check every scan against them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "analysis/page_scan.h"
#include "analysis/page_scan_fields.h"

namespace quorvel::invariants {

using Named = std::pair<std::string_view, std::uint32_t>;

// Every file position of the record (the numeric facts named ...Pos), by name.
inline std::vector<Named> positions(const PageFacts& f) {
    std::vector<Named> found;
    for (const PageField& field : pageFields())
        if (field.name.ends_with("Pos"))
            found.emplace_back(field.name, *numericFieldValue(f, field));
    return found;
}

// Every flag of the record, by name.
inline std::vector<Named> flags(const PageFacts& f) {
    std::vector<Named> found;
    for (const PageField& field : pageFields())
        if (field.kind == FieldKind::Flag)
            found.emplace_back(field.name, *numericFieldValue(f, field));
    return found;
}

// Every copied text of the record, by name.
inline std::vector<std::pair<std::string_view, const ScanText*>> texts(const PageFacts& f) {
    std::vector<std::pair<std::string_view, const ScanText*>> found;
    for (const PageField& field : pageFields())
        if (const auto* member = std::get_if<ScanText PageFacts::*>(&field.member))
            found.emplace_back(field.name, &(f.**member));
    return found;
}

// Describes every invariant that the scan of a page of fileLength bytes
// breaks; empty when the record is sane.
inline std::vector<std::string> violations(const PageFacts& f, std::size_t fileLength) {
    std::vector<std::string> found;
    auto fail = [&found](std::string what) { found.push_back(std::move(what)); };

    for (const auto& [name, value] : positions(f))
        if (value > fileLength)
            fail(std::string(name) + " = " + std::to_string(value) + " lies beyond the file (" +
                 std::to_string(fileLength) + " bytes)");
    for (const auto& [name, value] : flags(f))
        if (value > 1) fail(std::string(name) + " = " + std::to_string(value) + " is no flag");
    for (const auto& [name, text] : texts(f)) {
        if (text->size() > ScanText::kMaxLength)
            fail(std::string(name) + " holds " + std::to_string(text->size()) + " bytes");
        else if (text->c_str()[text->size()] != '\0')
            fail(std::string(name) + " is not terminated");
    }

    const std::uint16_t sum =
        static_cast<std::uint16_t>(f.bodyWordCount + f.headingWordCount + f.linkWordCount);
    if (f.totalWordCount != sum)
        fail("totalWordCount " + std::to_string(f.totalWordCount) + " != body + heading + link " +
             std::to_string(sum));

    if (f.smallestFontSize < 1 || f.smallestFontSize > 3)
        fail("smallestFontSize " + std::to_string(f.smallestFontSize) + " outside 1..3");
    if (f.minColourDistance > 255)
        fail("minColourDistance " + std::to_string(f.minColourDistance) + " above 255");

    // A META value's length is the length of its stored copy.
    const std::pair<const char*, std::pair<std::size_t, std::size_t>> lengths[] = {
        {"metaDescription", {f.metaDescriptionLength, f.metaDescriptionText.size()}},
        {"metaKeywords", {f.metaKeywordsLength, f.metaKeywordsText.size()}},
        {"metaAuthor", {f.metaAuthorLength, f.metaAuthorText.size()}},
    };
    for (const auto& [name, pair] : lengths)
        if (pair.first != pair.second)
            fail(std::string(name) + "Length " + std::to_string(pair.first) + " != text size " +
                 std::to_string(pair.second));

    // Below 65536 bytes no u16 count can wrap, so the title's characters lie
    // inside the file and its stored text is no longer than its length.
    if (fileLength < 65536 && f.titleCount > 0) {
        if (f.titleText.size() > f.titleLength)
            fail("titleText holds more than titleLength " + std::to_string(f.titleLength));
        if (std::size_t{f.titlePos} + f.titleLength > fileLength)
            fail("the title runs beyond the file");
    }

    // Repeated words are words (letters and digits) joined by commas.
    std::size_t items = f.repeatedWords.empty() ? 0 : 1;
    for (unsigned char c : f.repeatedWords) {
        if (c == ',')
            ++items;
        else if (!((c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z')))
            fail("repeatedWords holds a byte that is no letter or digit");
    }
    if (items != (f.repeatedWordCount == 0 ? 0u : std::size_t{f.repeatedWordCount}) &&
        fileLength < 65536)
        fail("repeatedWords lists " + std::to_string(items) + " words, repeatedWordCount is " +
             std::to_string(f.repeatedWordCount));
    return found;
}

}  // namespace quorvel::invariants
