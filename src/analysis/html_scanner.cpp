#include "analysis/html_scanner.h"

#include <iterator>
#include <utility>

#include "analysis/entities.h"

namespace quorvel {

using namespace std::string_view_literals;

namespace {

constexpr int kSmallestFontLevel = 1;
constexpr int kLargestFontLevel = 7;

bool isHeadingDigit(char c) {
    return c >= '1' && c <= '6';
}
bool isHeadingLetter(char c) {
    return c == 'h' || c == 'H';
}

// A tag name in body text, tested after SCRIPT: the name (upper case, two
// bytes or more), its first two bytes as a key, and what it does.
struct BodyTagRow {
    std::string_view name;
    BodyTagAction action;
    std::uint16_t key;

    constexpr BodyTagRow(std::string_view tagName, BodyTagAction tagAction)
        : name(tagName), action(tagAction), key(tagNameKey(tagName[0], tagName[1])) {}
};

// Tested in this order, each at the cursor as the earlier matches left it.
constexpr BodyTagRow kBodyTags[] = {
    {"FONT", BodyTagAction::Font},       {"/FONT", BodyTagAction::FontEnd},
    {"BASEFONT", BodyTagAction::Font},   {"/BASEFONT", BodyTagAction::FontEnd},
    {"SMALL", BodyTagAction::Small},     {"/SMALL", BodyTagAction::SmallEnd},
    {"BIG", BodyTagAction::Big},         {"/BIG", BodyTagAction::BigEnd},
    {"DIV", BodyTagAction::Div},         {"IMG", BodyTagAction::Image},
    {"META", BodyTagAction::Meta},       {"MAP", BodyTagAction::Map},
    {"FORM", BodyTagAction::Form},       {"/FORM", BodyTagAction::FormEnd},
    {"AREA", BodyTagAction::Area},       {"INPUT", BodyTagAction::Input},
    {"APPLET", BodyTagAction::Applet},   {"TABLE", BodyTagAction::Table},
    {"/TABLE", BodyTagAction::TableEnd}, {"TR", BodyTagAction::Cell},
    {"TH", BodyTagAction::Cell},         {"TD", BodyTagAction::Cell},
    {"/TR", BodyTagAction::CellEnd},     {"/TH", BodyTagAction::CellEnd},
    {"/TD", BodyTagAction::CellEnd},     {"OBJECT", BodyTagAction::Object},
};

class TagNameKeySet {
public:
    constexpr TagNameKeySet() {
        for (const BodyTagRow& row : kBodyTags) {
            words_[row.key / 64] |= std::uint64_t{1} << (row.key % 64);
        }
    }
    constexpr bool contains(std::uint16_t key) const {
        return (words_[key / 64] >> (key % 64) & 1u) != 0;
    }

private:
    std::array<std::uint64_t, 65536 / 64> words_{};
};

constexpr TagNameKeySet kBodyTagKeys;

}  // namespace

HtmlScanner::HtmlScanner(const ScanContext& context)
    : facts_(context.facts),
      state_(context.state),
      keyword_(context.keyword),
      stopWords_(context.stopWords),
      stopWordList_(context.stopWordList),
      minWordLength_(context.minWordLength),
      begin_(context.begin),
      end_(context.end),
      caseSensitiveWords_(context.keyword.caseSensitive()) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        if (!isWordByte(c)) continue;
        wordBytes_[static_cast<std::size_t>(b)] =
            keyword_.mayStartWith(c) ? kKeywordStartByte : kWordByte;
    }
}

void HtmlScanner::run() {
    refreshColourDistances();
    scanTopLevel(begin_);
}

// Outside HEAD and BODY only comments, scripts and frames are of interest.
const char* HtmlScanner::scanTopLevel(const char* p) {
    while (p < end_) {
        if (const std::size_t entity = entityLength(p, end_)) {
            p += entity;
            continue;
        }
        if (*p != kTagOpen) {
            ++p;
            continue;
        }
        ++p;
        if (startsWith(p, "!--")) {
            p = scanComment(p + 3);
        } else if (startsWith(p, "HEAD")) {
            p = scanHead(p + 4);
        } else if (startsWith(p, "BODY")) {
            p = scanBody(p + 4);
        } else if (startsWith(p, "SCRIPT")) {
            p = scanScript(p + 6);
        } else {
            if (startsWith(p, "FRAME")) {  // FRAME and FRAMESET
                facts_.hasFrames = 1;
                facts_.framesPos = pos(p);
                p = skipToTagEnd(p, end_, true);
            }
            if (startsWith(p, "NOFRAMES")) {
                facts_.hasNoFrames = 1;
                facts_.noFramesPos = pos(p);
                p = skipToTagEnd(p, end_, true);
            }
            if (startsWith(p, "IFRAME")) {
                facts_.hasFrames = 1;
                facts_.framesPos = pos(p);
                p = skipToTagEnd(p, end_, false);
            }
            p = stepPast(p);
        }
    }
    return p;
}

// HEAD ends at /HEAD, or at BODY, which is handed back to the top level.
const char* HtmlScanner::scanHead(const char* p) {
    while (p < end_) {
        if (const std::size_t entity = entityLength(p, end_)) {
            p += entity;
            continue;
        }
        if (*p != kTagOpen) {
            ++p;
            continue;
        }
        ++state_.headTagCount;
        const char* name = p + 1;
        if (startsWith(name, "!--")) {
            p = scanComment(name + 3);
        } else if (startsWith(name, "SCRIPT")) {
            p = scanScript(name + 6);
        } else if (startsWith(name, "TITLE")) {
            if (state_.headTagCount == 1) facts_.titleIsFirstTag = 1;
            // The title starts two bytes after the name: past the `>` of a
            // plain TITLE tag, inside the attributes of any other.
            p = scanTitle(advance(name, 6));
        } else if (startsWith(name, "META")) {
            p = scanMeta(name + 4);
        } else if (startsWith(name, "STYLE")) {
            p = scanStyle(name + 5);
        } else if (startsWith(name, "/HEAD")) {
            return name + 5;
        } else if (startsWith(name, "BODY")) {
            return p;
        } else {
            p = advance(p, 2);
        }
    }
    return p;
}

const char* HtmlScanner::scanTitle(const char* p) {
    ++facts_.titleCount;
    facts_.titleHasCrLf = 0;
    facts_.titleStopWordCount = 0;
    facts_.titleStopWordPos = 0;
    facts_.titleLength = 0;
    facts_.titleKeywordCount = 0;
    facts_.titleFirstKeywordIndex = 0;
    facts_.titlePos = pos(p);
    facts_.titleText.clear();
    bool firstMatch = true;
    while (p < end_ && *p != kTagOpen && *p != kZero) {
        if (*p == kCr || *p == kLf) {
            facts_.titleHasCrLf = 1;
            facts_.titleCrLfPos = pos(p);
            ++p;
        } else if (*p == kTab) {
            ++p;
        } else if (const std::size_t entity = entityLength(p, end_)) {
            p += entity;  // counts as one character, copied as none
        } else {
            if (keyword_.match(p, end_)) {
                ++facts_.titleKeywordCount;
                facts_.titleLastKeywordPos = pos(p);
                if (firstMatch) {
                    facts_.titleFirstKeywordIndex = facts_.titleLength;
                    facts_.titleFirstKeywordPos = pos(p);
                    firstMatch = false;
                }
            }
            facts_.titleText.push(*p);
            ++p;
        }
        ++facts_.titleLength;
    }

    stopWords_.loadList(stopWordList_, false);
    facts_.titleStopWordCount = stopWords_.countListMatches(facts_.titleText.view());
    if (facts_.titleStopWordCount != 0) {
        facts_.titleStopWord.assign(
            stopWords_.word(static_cast<std::size_t>(stopWords_.lastMatchIndex())));
        facts_.titleStopWordPos = facts_.titlePos + stopWords_.lastMatchOffset();
    }
    return p;
}

const char* HtmlScanner::scanMeta(const char* p) {
    const std::uint32_t metaPos = pos(p);

    lookup(p, "http-equiv");
    if (!attributeValue().empty()) {
        ++facts_.httpEquivCount;
        facts_.httpEquivPos = metaPos;
        lookup(p, "content");
        facts_.httpEquivKeywordCount +=
            keyword_.countMatches(attributeValue(), &facts_.httpEquivFirstKeywordOffset);
    }

    // A META without a name is named by its http-equiv.
    AttributeLookup nameLookup = lookup(p, "name");
    if (attributeValue().empty()) nameLookup = lookup(p, "http-equiv");
    if (attributeValue().empty()) return nameLookup.stop;
    metaName_ = state_.attribute.value;
    const std::string_view name = metaName_.view();

    const AttributeLookup content = lookup(p, "content");
    const std::string_view value = attributeValue();
    const auto stored = static_cast<std::uint16_t>(content.stored);
    if (equalsIgnoringAsciiCase(name, "description")) {
        facts_.hasMetaDescription = 1;
        facts_.metaDescriptionLength = stored;
        facts_.metaDescriptionHasCrLf = state_.attribute.hadCrLf ? 1 : 0;
        facts_.metaDescriptionPos = metaPos;
        facts_.metaDescriptionText.assign(value);
        facts_.metaDescriptionKeywordCount =
            keyword_.countMatches(value, &facts_.metaDescriptionFirstKeywordOffset);
        facts_.metaDescriptionKeywordPos = metaPos + keyword_.lastMatchOffset();
    } else if (equalsIgnoringAsciiCase(name, "keywords")) {
        facts_.hasMetaKeywords = 1;
        facts_.metaKeywordsLength = stored;
        facts_.metaKeywordsHasCrLf = state_.attribute.hadCrLf ? 1 : 0;
        facts_.metaKeywordsPos = metaPos;
        facts_.metaKeywordsText.assign(value);
        facts_.metaKeywordsKeywordCount =
            keyword_.countMatches(value, &facts_.metaKeywordsFirstKeywordOffset);
        facts_.metaKeywordsKeywordPos = metaPos + keyword_.lastMatchOffset();
    } else if (equalsIgnoringAsciiCase(name, "author")) {
        facts_.hasMetaAuthor = 1;
        facts_.hasIrrelevantMeta = 1;
        facts_.irrelevantMetaPos = metaPos;
        facts_.metaAuthorLength = stored;
        facts_.metaAuthorText.assign(value);
    } else if (equalsIgnoringAsciiCase(name, "refresh")) {
        facts_.hasMetaRefresh = 1;
        facts_.metaRefreshSeconds = static_cast<std::uint16_t>(readLeadingInteger(value));
        facts_.metaRefreshPos = metaPos;
    } else if (equalsIgnoringAsciiCase(name, "robots")) {
        if (containsIgnoringAsciiCase(value, "NOINDEX")) {
            facts_.robotsNoIndex = 1;
            facts_.robotsNoIndexPos = metaPos;
        }
        if (containsIgnoringAsciiCase(value, "NOARCHIVE")) {
            facts_.robotsNoArchive = 1;
            facts_.robotsNoArchivePos = metaPos;
        }
    } else if (equalsIgnoringAsciiCase(name, "verify-v1") ||
               equalsIgnoringAsciiCase(name, "Content-Type") ||
               equalsIgnoringAsciiCase(name, "Content-Style-Type")) {
        // Harmless META tags.
    } else {
        facts_.hasIrrelevantMeta = 1;
        facts_.irrelevantMetaPos = metaPos;
    }
    return skipToTagEnd(p, end_, false);
}

const char* HtmlScanner::scanStyle(const char* p) {
    facts_.hasStyle = 1;
    p = skipToTagEnd(p, end_, false);
    if (p < end_ && *p == kTagClose) ++p;
    const char* contentStart = p;
    while (p < end_ && *p != kZero) {
        if (*p == kTagOpen) {
            ++p;
            if (startsWith(p, "/STYLE")) return skipToTagEnd(p, end_, false);
            continue;
        }
        if (keyword_.match(p, end_)) {
            if (!state_.styleKeywordSeen) {
                facts_.styleFirstKeywordOffset = static_cast<std::uint16_t>(p - contentStart);
                facts_.styleFirstKeywordPos = pos(p);
                state_.styleKeywordSeen = true;
            }
            ++facts_.styleKeywordCount;
        }
        ++facts_.styleLength;
        ++p;
    }
    return p;
}

// Script text is measured, never read for tags, words or keywords.
const char* HtmlScanner::scanScript(const char* p) {
    ++facts_.scriptCount;
    facts_.scriptPos = pos(p);
    lookup(p, "src");
    if (!attributeValue().empty()) ++facts_.externalScriptCount;
    p = skipToTagEnd(p, end_, false);
    while (p < end_) {
        if (*p == kTagOpen) {
            if (startsWith(p + 1, "/SCRIPT")) return p + 8;
            // The byte after any other `<` is counted without a second look.
            if (++p >= end_) break;
        }
        ++facts_.scriptTextLength;
        ++p;
    }
    return p;
}

// A comment ends at its first `>`, dashes or not.
const char* HtmlScanner::scanComment(const char* p) {
    ++facts_.commentCount;
    facts_.commentPos = pos(p);
    while (p < end_ && *p != kTagClose && *p != kZero) {
        if (keyword_.match(p, end_)) ++facts_.commentKeywordCount;
        ++p;
    }
    return stepPast(p);
}

// BODY runs to the end of the page: /BODY and /HTML are tags like any other.
const char* HtmlScanner::scanBody(const char* p) {
    state_.insideHeading = false;
    state_.insideTable = false;
    state_.insideForm = false;
    state_.wordStart = nullptr;
    state_.wordHasEntity = false;
    facts_.bodyTagPos = pos(p);
    applyColourAttributes(p);
    facts_.bodyBackground = state_.colours.background;
    p = skipToTagEnd(p, end_, true);
    facts_.bodyTextPos = pos(p);
    p = stepPast(p);
    const char* textStart = p;

    // Tabs, CR, LF and blanks end a word; an entity neither ends a word nor
    // is part of one; every other byte but `<` is visible text.
    while (p < end_) {
        switch (byteClass(*p)) {
            case ByteClass::Word:
                // A run of letters and digits: the colours cannot change
                // inside it, so only its first byte can lower the distance.
                if (state_.wordStart == nullptr) state_.wordStart = p;
                checkTextColour(p);
                p = readWordRun(p);
                continue;
            case ByteClass::Blank:
            case ByteClass::TabCrLf:
                endWord(p);
                ++p;
                continue;
            case ByteClass::Ampersand:
                if (const std::size_t entity = entityLengthSlow(p, end_)) {
                    p = stepOverEntity(p, entity);
                    continue;
                }
                break;
            case ByteClass::TagOpen:
                endWord(p);
                while (p < end_ && *p == kTagOpen)
                    ++p;
                p = scanBodyTag(p);
                continue;
            case ByteClass::Other:
                break;
        }
        endWord(p);
        readBodyText(p);
        ++p;
    }

    facts_.totalWordCount = static_cast<std::uint16_t>(
        facts_.bodyWordCount + facts_.headingWordCount + facts_.linkWordCount);
    facts_.bodyLength = static_cast<std::uint16_t>(end_ - textStart);
    return p;
}

void HtmlScanner::countBodyMatch(const char* p) {
    const std::uint32_t matchPos = pos(p) + keyword_.lastMatchOffset();
    if (state_.insideHeading) {
        ++facts_.headingKeywordCount;
        facts_.headingKeywordPos = matchPos;
    }
    ++facts_.bodyKeywordCount;
    if (!state_.bodyKeywordSeen) {
        facts_.bodyFirstKeywordOffset = static_cast<std::uint16_t>(matchPos - facts_.bodyTextPos);
        state_.bodyKeywordSeen = true;
    }
    if (state_.insideTable) {
        ++facts_.tableKeywordCount;
        facts_.tableKeywordPos = pos(p);
    }
}

// A tag in body text, from its name (after the run of `<`). Names are tested
// one after another, each at the cursor as the earlier tests left it.
const char* HtmlScanner::scanBodyTag(const char* p) {
    if (startsWith(p, "!--")) return scanComment(p + 3);

    if (end_ - p >= 2 && isHeadingLetter(p[0]) && isHeadingDigit(p[1])) {
        facts_.headingPos = pos(p);
        state_.insideHeading = true;
        ++facts_.headingCount;
        p += 2;
    } else if (end_ - p >= 3 && p[0] == kSlash && isHeadingLetter(p[1]) && isHeadingDigit(p[2])) {
        state_.insideHeading = false;
        p += 3;
    }
    if (end_ - p >= 2 && (p[0] == 'A' || p[0] == 'a') && isWhite(p[1])) return scanAnchor(p + 1);
    if (startsWith(p, "SCRIPT")) return scanScript(p + 6);

    // Every name of the table is at least two bytes long, so the first two
    // bytes, folded, rule out all but a few names at the cost of one
    // comparison each.
    std::uint16_t key = nameKeyAt(p);
    // No row can match, and none moves the cursor unless it does.
    if (!kBodyTagKeys.contains(key)) return stepPast(skipToTagEnd(p, end_, true));

    return testBodyTagNames(p, key, std::make_index_sequence<std::size(kBodyTags)>());
}

// The rows of the tag table in order, unrolled so that each name is compared
// as a constant, as a hand-written chain of tests would be.
template <std::size_t... Row>
const char* HtmlScanner::testBodyTagNames(const char* p, std::uint16_t key,
                                          std::index_sequence<Row...>) {
    bool tagRead = false;  // a row's state read the rest of the tag
    auto test = [&](const BodyTagRow& row) {
        if (tagRead || key != row.key || !startsWith(p, row.name)) return;
        p = applyBodyTag(row.action, p + row.name.size(), pos(p));
        tagRead = row.action == BodyTagAction::Meta;
        key = nameKeyAt(p);
    };
    (test(kBodyTags[Row]), ...);
    return tagRead ? p : stepPast(skipToTagEnd(p, end_, true));
}

// What one tag name of body text does, from the byte after the name; returns
// where the next name test goes on.
const char* HtmlScanner::applyBodyTag(BodyTagAction action, const char* p, std::uint32_t namePos) {
    switch (action) {
        case BodyTagAction::Font:
            scanFontSize(p);
            applyColourAttributes(p);
            break;
        case BodyTagAction::FontEnd:
            restoreFontSize();
            popColours();
            break;
        case BodyTagAction::Small:
            shrinkFont(p);
            break;
        case BodyTagAction::SmallEnd:
        case BodyTagAction::Big:
            growFont();
            break;
        case BodyTagAction::BigEnd:
            if (state_.fontLevel > kSmallestFontLevel) --state_.fontLevel;
            break;
        case BodyTagAction::Div: {
            lookup(p, "STYLE");
            const std::string_view style = attributeValue();
            if (startsWithNoCase(style.data(), style.data() + style.size(), "VISIBILITY") &&
                containsIgnoringAsciiCase(style, "HIDDEN")) {
                ++facts_.hiddenDivCount;
                if (!state_.hiddenDivSeen) {
                    facts_.hiddenDivPos = namePos;
                    state_.hiddenDivSeen = true;
                }
            }
            break;
        }
        case BodyTagAction::Image:
            countImageSource(p, namePos);
            applyAltRule(p, namePos);
            break;
        case BodyTagAction::Meta:
            return scanMeta(p);
        case BodyTagAction::Map:
            facts_.hasImageMap = 1;
            facts_.imageMapPos = namePos;
            break;
        case BodyTagAction::Form:
            state_.insideForm = true;
            break;
        case BodyTagAction::FormEnd:
            state_.insideForm = false;
            break;
        case BodyTagAction::Area:
            applyAltRule(p, namePos);
            countLink(p, namePos);
            break;
        case BodyTagAction::Input:
            applyAltRule(p, namePos);
            if (!state_.insideForm) countHiddenInput(p, namePos);
            break;
        case BodyTagAction::Applet:
            return applyAltRule(p, namePos).stop;
        case BodyTagAction::Table:
            facts_.hasTable = 1;
            if (!state_.tableSeen) {
                facts_.firstTablePos = namePos;
                state_.tableSeen = true;
            }
            state_.insideTable = true;
            applyColourAttributes(p);
            break;
        case BodyTagAction::TableEnd:
            state_.insideTable = false;
            popColours();
            break;
        case BodyTagAction::Cell:
            applyColourAttributes(p);
            break;
        case BodyTagAction::CellEnd:
            popColours();
            break;
        case BodyTagAction::Object:
            facts_.hasObject = 1;
            facts_.objectPos = namePos;
            break;
    }
    return p;
}

// An INPUT outside a form: a hidden one is counted with the keyword matches
// of its value.
void HtmlScanner::countHiddenInput(const char* p, std::uint32_t namePos) {
    lookup(p, "type");
    if (!equalsIgnoringAsciiCase(attributeValue(), "HIDDEN")) return;
    ++facts_.hiddenInputCount;
    lookup(p, "value");
    if (!attributeValue().empty()) {
        facts_.hiddenInputKeywordCount += keyword_.countMatches(attributeValue());
        facts_.hiddenInputPos = namePos;
    }
}

// A link, from the byte after its `A`, through its /A tag.
const char* HtmlScanner::scanAnchor(const char* p) {
    const std::uint32_t namePos = pos(p - 1);
    const std::uint32_t afterNamePos = pos(p);
    ++facts_.anchorCount;
    countLink(p, namePos);
    p = stepPast(skipToTagEnd(p, end_, true));

    state_.insideLink = true;
    std::uint32_t contentBytes = 0;
    while (p < end_ && *p != kZero) {
        if (const std::size_t entity = entityLength(p, end_)) {
            p = stepOverEntity(p, entity);  // not a content character
            continue;
        }
        if (isTabCrLf(*p)) {
            feedWordChar(p);
            ++p;
            continue;
        }
        if (*p == kTagOpen) {
            feedWordChar(p);
            ++p;
            if (startsWith(p, "/A")) {
                p = stepPast(skipToTagEnd(p, end_, true));
                break;
            }
            if (startsWith(p, "IMG")) {
                // Its `>` is read next as link text.
                p = scanLinkImage(p);
                continue;
            }
            if (startsWith(p, "FONT")) {
                p += 4;
                scanFontSize(p);
                applyColourAttributes(p);
            }
            if (startsWith(p, "/FONT")) {
                p += 5;
                restoreFontSize();
                popColours();
            }
            p = skipToTagEnd(p, end_, true);
            if (p >= end_) break;
        } else {
            readLinkText(p);
        }
        // Any tag's `>` and any other byte, a blank included, is content.
        ++contentBytes;
        ++p;
    }
    state_.insideLink = false;
    if (contentBytes == 0) {
        ++facts_.emptyLinkCount;
        facts_.emptyLinkPos = afterNamePos;
    }
    return p;
}

// An IMG inside a link, from its name; returns the position of its `>`.
const char* HtmlScanner::scanLinkImage(const char* p) {
    const std::uint32_t namePos = pos(p);
    p += 3;
    const char* tagEnd = skipToTagEnd(p, end_, true);
    if (containsIgnoringAsciiCase(std::string_view(p, static_cast<std::size_t>(tagEnd - p)),
                                  "ismap")) {
        facts_.hasImageMap = 1;
        facts_.imageMapPos = namePos;
    }
    countImageSource(p, namePos);
    applyAltRule(p, namePos);
    for (std::string_view dimension : {"WIDTH"sv, "HEIGHT"sv}) {
        lookup(p, dimension);
        if (!attributeValue().empty() && readLeadingInteger(attributeValue()) <= 1) {
            ++facts_.tinyLinkImageCount;
            facts_.tinyLinkImagePos = namePos;
        }
    }
    return tagEnd;
}

void HtmlScanner::readLinkText(const char* p) {
    feedWordChar(p);
    if (*p == kBlank) return;
    checkLinkColour(p);
    if (!keyword_.match(p, end_)) return;
    const std::uint32_t matchPos = pos(p) + keyword_.lastMatchOffset();
    ++facts_.linkTextKeywordCount;
    facts_.linkTextKeywordPos = matchPos;
    ++facts_.bodyKeywordCount;
    if (!state_.bodyKeywordSeen) {
        facts_.bodyFirstKeywordOffset = static_cast<std::uint16_t>(matchPos - facts_.bodyTextPos);
        state_.bodyKeywordSeen = true;
    }
    if (state_.insideTable) ++facts_.tableKeywordCount;
}

// The link facts of an A or AREA tag with a non-empty href.
void HtmlScanner::countLink(const char* p, std::uint32_t namePos) {
    lookup(p, "href");
    if (attributeValue().empty()) return;
    state_.href.assign(attributeValue());
    if (state_.href.find('?') != std::string::npos) {
        lookup(p, "rel");
        if (attributeValue().find("nofollow") == std::string_view::npos) {
            ++facts_.dynamicLinkCount;
            facts_.dynamicLinkPos = namePos;
        }
    }
    lookup(p, "title");
    if (attributeValue().empty()) {
        ++facts_.linksWithoutTitleCount;
        facts_.linkWithoutTitlePos = namePos;
    }
    ++facts_.linkCount;
    facts_.linkUrlKeywordCount += keyword_.countMatches(state_.href);
    facts_.linkUrlKeywordPos = namePos;
}

void HtmlScanner::countImageSource(const char* p, std::uint32_t namePos) {
    lookup(p, "SRC");
    if (attributeValue().empty()) {
        ++facts_.imagesWithoutSrcCount;
        return;
    }
    facts_.imageSrcKeywordCount += keyword_.countMatches(attributeValue());
    facts_.imageSrcKeywordPos = namePos;
    ++facts_.imagesWithSrcCount;
}

// IMG, AREA, INPUT and APPLET carry an ALT text.
AttributeLookup HtmlScanner::applyAltRule(const char* p, std::uint32_t namePos) {
    const AttributeLookup alt = lookup(p, "ALT");
    if (!attributeValue().empty()) {
        facts_.altKeywordCount += keyword_.countMatches(attributeValue());
        facts_.altKeywordPos = namePos;
        ++facts_.imagesWithAltCount;
    } else {
        ++facts_.imagesWithoutAltCount;
        if (!state_.imageWithoutAltSeen) {
            facts_.firstImageWithoutAltPos = namePos;
            state_.imageWithoutAltSeen = true;
        }
    }
    return alt;
}

// FONT and BASEFONT: an absolute size, or one relative to the level in force.
void HtmlScanner::scanFontSize(const char* p) {
    state_.savedFontLevel = state_.fontLevel;
    const AttributeLookup size = lookup(p, "size");
    const std::string_view value = attributeValue();
    if (value.empty()) return;
    std::int64_t level = readLeadingInteger(value);
    if (value[0] == '+' || value[0] == '-') level += state_.fontLevel;
    if (level < kSmallestFontLevel) level = kSmallestFontLevel;
    if (level > kLargestFontLevel) level = kLargestFontLevel;
    state_.fontLevel = static_cast<int>(level);
    if (state_.fontLevel < facts_.smallestFontSize) {
        facts_.smallestFontSize = static_cast<std::uint16_t>(state_.fontLevel);
        facts_.smallestFontPos = pos(size.stop);
    }
}

void HtmlScanner::restoreFontSize() {
    state_.fontLevel = state_.savedFontLevel;
}

void HtmlScanner::shrinkFont(const char* afterName) {
    if (state_.fontLevel > kSmallestFontLevel) --state_.fontLevel;
    if (state_.fontLevel < facts_.smallestFontSize) {
        facts_.smallestFontSize = static_cast<std::uint16_t>(state_.fontLevel);
        facts_.smallestFontPos = pos(afterName);
    }
}

void HtmlScanner::growFont() {
    if (state_.fontLevel < kLargestFontLevel) ++state_.fontLevel;
}

// Saves the colours, then reads the tag's colour attributes; inside a link
// `color` and `text` set the link colour instead of the text colour.
void HtmlScanner::applyColourAttributes(const char* p) {
    ColourState& colours = state_.colours;
    colours.push();
    Colour& textTarget = state_.insideLink ? colours.link : colours.text;
    static constexpr std::string_view kNames[] = {"color", "text", "bgcolor", "link", "vlink"};
    Colour* const targets[] = {&textTarget, &textTarget, &colours.background, &colours.link,
                               &colours.visited};
    // Most tags carry none of these names: one pass tells which lookups can
    // find anything. A lookup left out would have found an empty value.
    const std::uint32_t present = attributeNamesBeforeTagEnd(p, end_, kNames);
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
        if ((present & (std::uint32_t{1} << i)) == 0) continue;
        lookup(p, kNames[i]);
        const Colour colour = parseColour(attributeValue());
        if (colour != kNoColour) *targets[i] = colour;
    }
    // The value of the last lookup stays readable, as after a vain one.
    if ((present & (std::uint32_t{1} << (std::size(kNames) - 1))) == 0) state_.attribute.clear();
    refreshColourDistances();
}

void HtmlScanner::popColours() {
    state_.colours.pop();
    refreshColourDistances();
}

// The distances change only with the colours, so they are worked out here
// rather than at every visible byte.
void HtmlScanner::refreshColourDistances() {
    const ColourState& colours = state_.colours;
    textDistance_ = colourDistance(colours.text, colours.background);
    linkColourSet_ = colours.link != 0 && colours.link != kNoColour;
    linkDistance_ = colourDistance(colours.link, colours.background);
}

}  // namespace quorvel
