#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/colours.h"
#include "analysis/html_tags.h"

namespace quorvel {

// What the scanner keeps between bytes while it walks one page: font size,
// colours, where it is, the last attribute value and the word being read.
struct ScannerState {
    static constexpr int kDefaultFontLevel = 3;

    int fontLevel = kDefaultFontLevel;
    int savedFontLevel = kDefaultFontLevel;  // restored by /FONT; one level, not a stack
    ColourState colours;

    bool insideTable = false;
    bool insideHeading = false;
    bool insideForm = false;
    bool insideLink = false;

    AttributeText attribute;
    std::uint32_t headTagCount = 0;  // tags met inside HEAD, over every HEAD of the page

    const char* wordStart = nullptr;  // first byte of the word being read, or none
    bool wordHasEntity = false;       // an entity was stepped over inside that word
    // The last counted word: a view into the page, or, when entities were
    // left out of its text, into one of the two copies; the copy it does not
    // use takes the next such word.
    static constexpr std::size_t kMaxWordBytes = 1024;
    std::string_view previousWord;
    char wordCopies[2][kMaxWordBytes] = {};
    std::size_t freeWordCopy = 0;
    std::string href;  // the current link's href

    // Facts that only the first finding sets; kept apart from the counters,
    // which may wrap.
    bool styleKeywordSeen = false;
    bool bodyKeywordSeen = false;
    bool tableSeen = false;
    bool hiddenDivSeen = false;
    bool imageWithoutAltSeen = false;
    bool repeatedWordSeen = false;

    // Back to the state of a fresh page; keeps the strings' capacity.
    void reset() {
        std::string link = std::move(href);
        *this = ScannerState{};
        link.clear();
        href = std::move(link);
    }
};

}  // namespace quorvel
