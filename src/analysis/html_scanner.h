#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "analysis/char_class.h"
#include "analysis/keyword_matcher.h"
#include "analysis/page_facts.h"
#include "analysis/scanner_state.h"

namespace quorvel {

// Two bytes of a tag name as one number, for telling names apart quickly.
inline constexpr std::uint16_t tagNameKey(char first, char second) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(first) << 8) |
                                      static_cast<unsigned char>(second));
}

// Everything one scan of a page works on, lent by the PageScan for the scan.
struct ScanContext {
    PageFacts& facts;
    ScannerState& state;
    KeywordMatcher& keyword;
    KeywordMatcher& stopWords;
    std::string_view stopWordList;
    std::uint16_t minWordLength;
    const char* begin;  // first byte of the page
    const char* end;    // one past the last byte; *end is a zero byte
};

// What a tag name in body text does (the rows of the scanner's tag table).
enum class BodyTagAction : std::uint8_t {
    Font,
    FontEnd,
    Small,
    SmallEnd,
    Big,
    BigEnd,
    Div,
    Image,
    Meta,
    Map,
    Form,
    FormEnd,
    Area,
    Input,
    Applet,
    Table,
    TableEnd,
    Cell,
    CellEnd,
    Object,
};

// The page scanner: one forward pass over the bytes of a page, filling the
// facts. It recognises a fixed set of tag names by prefix, reads a fixed set
// of attributes and steps over everything else; odd markup only changes what
// is counted. Each state function takes the cursor and returns where it
// stopped; none reads at or beyond the end.
class HtmlScanner {
public:
    explicit HtmlScanner(const ScanContext& context);

    // Scans the whole page from its first byte.
    void run();

private:
    // The states, each from the byte after the name that led into it.
    const char* scanTopLevel(const char* p);
    const char* scanHead(const char* p);
    const char* scanTitle(const char* p);
    const char* scanMeta(const char* p);
    const char* scanStyle(const char* p);
    const char* scanScript(const char* p);
    const char* scanComment(const char* p);
    const char* scanBody(const char* p);
    const char* scanBodyTag(const char* p);
    template <std::size_t... Row>
    const char* testBodyTagNames(const char* p, std::uint16_t key, std::index_sequence<Row...>);
    const char* applyBodyTag(BodyTagAction action, const char* p, std::uint32_t namePos);
    void countHiddenInput(const char* p, std::uint32_t namePos);
    const char* scanAnchor(const char* p);
    const char* scanLinkImage(const char* p);

    // Tag findings shared by several states.
    void scanFontSize(const char* p);
    void restoreFontSize();
    void shrinkFont(const char* afterName);
    void growFont();
    void countImageSource(const char* p, std::uint32_t namePos);
    AttributeLookup applyAltRule(const char* p, std::uint32_t namePos);
    void countLink(const char* p, std::uint32_t namePos);

    // Colours.
    void applyColourAttributes(const char* p);
    void popColours();
    void refreshColourDistances();
    void checkTextColour(const char* p) {
        if (textDistance_ < facts_.minColourDistance) {
            facts_.minColourDistance = textDistance_;
            facts_.minColourDistancePos = pos(p);
        }
    }
    void checkLinkColour(const char* p) {
        if (linkColourSet_ && linkDistance_ < facts_.minColourDistance) {
            facts_.minColourDistance = linkDistance_;
            facts_.minColourDistancePos = pos(p);
        }
    }

    // Visible bytes of body text and of link text: the colour distance is
    // taken and the keyword tried.
    void readBodyText(const char* p) {
        checkTextColour(p);
        if (keyword_.match(p, end_)) countBodyMatch(p);
    }
    void countBodyMatch(const char* p);
    // From the first byte of a run of letters and digits in body text: tries
    // the keyword at each, and returns the first byte after the run.
    const char* readWordRun(const char* p) {
        const char* const end = end_;
        std::uint8_t kind = wordBytes_[static_cast<unsigned char>(*p)];
        do {
            if (kind == kKeywordStartByte && keyword_.match(p, end)) countBodyMatch(p);
            ++p;
        } while (p < end && (kind = wordBytes_[static_cast<unsigned char>(*p)]) != kNotWordByte);
        return p;
    }
    void readLinkText(const char* p);

    // Word building: every body byte passed over as text, each tab, CR and
    // LF, and each `<` is fed here.
    void feedWordChar(const char* p) {
        if (isWordByte(*p)) {
            if (state_.wordStart == nullptr) state_.wordStart = p;
            return;
        }
        endWord(p);
    }
    void endWord(const char* p) {
        if (state_.wordStart != nullptr) {
            completeWord(p);
            state_.wordStart = nullptr;
            state_.wordHasEntity = false;
        }
    }
    // Steps over an entity, which neither ends a word nor is part of its text.
    const char* stepOverEntity(const char* p, std::size_t length) {
        if (state_.wordStart != nullptr) state_.wordHasEntity = true;
        return p + length;
    }
    void completeWord(const char* wordEnd);

    AttributeLookup lookup(const char* p, std::string_view name) {
        return findAttribute(p, end_, name, state_.attribute);
    }
    std::string_view attributeValue() const { return state_.attribute.value.view(); }
    bool startsWith(const char* p, std::string_view name) const {
        return startsWithNoCase(p, end_, name);
    }
    // The first two bytes at `p`, folded to upper case, as one number; 0 when
    // fewer than two bytes are left.
    std::uint16_t nameKeyAt(const char* p) const {
        if (end_ - p < 2) return 0;
        return tagNameKey(toAsciiUpper(p[0]), toAsciiUpper(p[1]));
    }
    // startsWith for an upper-case name of two or more bytes, whose first two
    // bytes are compared through `key` (nameKeyAt(p)) first.
    bool isName(std::uint16_t key, const char* p, std::string_view name) const {
        return key == tagNameKey(name[0], name[1]) && startsWith(p, name);
    }
    const char* stepPast(const char* p) const { return p < end_ ? p + 1 : p; }
    const char* advance(const char* p, std::size_t n) const {
        return static_cast<std::size_t>(end_ - p) < n ? end_ : p + n;
    }
    std::uint32_t pos(const char* p) const { return static_cast<std::uint32_t>(p - begin_); }

    PageFacts& facts_;
    ScannerState& state_;
    KeywordMatcher& keyword_;
    KeywordMatcher& stopWords_;
    std::string_view stopWordList_;
    std::uint16_t minWordLength_;
    const char* begin_;
    const char* end_;

    // Letters and digits, told apart by whether a keyword match can begin
    // with them, for the runs of letters and digits in body text.
    enum WordByte : std::uint8_t { kNotWordByte, kWordByte, kKeywordStartByte };
    std::array<std::uint8_t, 256> wordBytes_{};

    ScanText metaName_;        // the name of the META being read
    bool caseSensitiveWords_;  // repeated words are compared as the keyword is
    std::uint32_t textDistance_ = 255;
    std::uint32_t linkDistance_ = 255;
    bool linkColourSet_ = false;
};

}  // namespace quorvel
