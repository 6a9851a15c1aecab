#pragma once

#include <cstdint>
#include <string>

#include "analysis/fixed_text.h"

namespace quorvel {

using u16 = std::uint16_t;
using u32 = std::uint32_t;
using Flag = std::uint32_t;    // 0 or 1
using Colour = std::uint32_t;  // 0xRRGGBB

// Everything the checks know about one scanned page. Every field holds its
// reset value from its initialiser, so resetting is assigning a fresh
// PageFacts. Fields ending in Pos are byte offsets from the first byte of the
// file; fields ending in Offset are relative to the text named with them.
// u16 counters wrap at 65536.
//
// The facts are rows of one list, X(type, kind, name, reset value), from
// which both this struct and the field table of page_scan_fields.h are made,
// so the two cannot drift apart.
// clang-format off
#define QUORVEL_PAGE_FACTS(X) \
    /* Scripts, frames and single-tag findings */ \
    X(u16, Count16, scriptCount, 0) \
    X(u32, Number32, scriptPos, 0) \
    X(u16, Count16, externalScriptCount, 0) \
    X(u16, Count16, scriptTextLength, 0) \
    X(Flag, Flag, hasFrames, 0) \
    X(u32, Number32, framesPos, 0) \
    X(Flag, Flag, hasNoFrames, 0) \
    X(u32, Number32, noFramesPos, 0) \
    X(Flag, Flag, hasTable, 0) \
    X(u32, Number32, firstTablePos, 0) \
    X(Flag, Flag, hasImageMap, 0) \
    X(u32, Number32, imageMapPos, 0) \
    X(Flag, Flag, hasObject, 0) \
    X(u32, Number32, objectPos, 0) \
    /* Title (HEAD only) */ \
    X(u16, Count16, titleCount, 0) \
    X(Flag, Flag, titleIsFirstTag, 0) \
    X(ScanText, Text, titleText, ) \
    X(u16, Count16, titleLength, 0) \
    X(u32, Number32, titlePos, 0) \
    X(Flag, Flag, titleHasCrLf, 0) \
    X(u32, Number32, titleCrLfPos, 0) \
    X(u16, Count16, titleKeywordCount, 0) \
    X(u16, Count16, titleFirstKeywordIndex, 0) \
    X(u32, Number32, titleFirstKeywordPos, 0) \
    X(u32, Number32, titleLastKeywordPos, 0) \
    X(u32, Number32, titleStopWordCount, 0) \
    X(ScanText, Text, titleStopWord, ) \
    X(u32, Number32, titleStopWordPos, 0) \
    /* META (HEAD and BODY) */ \
    X(u16, Count16, httpEquivCount, 0) \
    X(u32, Number32, httpEquivPos, 0) \
    X(u16, Count16, httpEquivKeywordCount, 0) \
    X(u16, Count16, httpEquivFirstKeywordOffset, 0) \
    X(Flag, Flag, hasMetaDescription, 0) \
    X(ScanText, Text, metaDescriptionText, ) \
    X(u16, Count16, metaDescriptionLength, 0) \
    X(Flag, Flag, metaDescriptionHasCrLf, 0) \
    X(u32, Number32, metaDescriptionPos, 0) \
    X(u16, Count16, metaDescriptionKeywordCount, 0) \
    X(u16, Count16, metaDescriptionFirstKeywordOffset, 0) \
    X(u32, Number32, metaDescriptionKeywordPos, 0) \
    X(Flag, Flag, hasMetaKeywords, 0) \
    X(ScanText, Text, metaKeywordsText, ) \
    X(u16, Count16, metaKeywordsLength, 0) \
    X(Flag, Flag, metaKeywordsHasCrLf, 0) \
    X(u32, Number32, metaKeywordsPos, 0) \
    X(u16, Count16, metaKeywordsKeywordCount, 0) \
    X(u16, Count16, metaKeywordsFirstKeywordOffset, 0) \
    X(u32, Number32, metaKeywordsKeywordPos, 0) \
    X(Flag, Flag, hasMetaAuthor, 0) \
    X(ScanText, Text, metaAuthorText, ) \
    X(u16, Count16, metaAuthorLength, 0) \
    X(Flag, Flag, hasMetaRefresh, 0) \
    X(u16, Count16, metaRefreshSeconds, 0) \
    X(u32, Number32, metaRefreshPos, 0) \
    X(Flag, Flag, robotsNoIndex, 0) \
    X(u32, Number32, robotsNoIndexPos, 0) \
    X(Flag, Flag, robotsNoArchive, 0) \
    X(u32, Number32, robotsNoArchivePos, 0) \
    X(Flag, Flag, hasIrrelevantMeta, 0) \
    X(u32, Number32, irrelevantMetaPos, 0) \
    /* Style (HEAD only) */ \
    X(Flag, Flag, hasStyle, 0) \
    X(u16, Count16, styleLength, 0) \
    X(u16, Count16, styleKeywordCount, 0) \
    X(u32, Number32, styleFirstKeywordPos, 0) \
    X(u16, Count16, styleFirstKeywordOffset, 0) \
    /* Body text, fonts and colours */ \
    X(u32, Number32, bodyTagPos, 0) \
    X(u32, Number32, bodyTextPos, 0) \
    X(u16, Count16, bodyLength, 0) \
    X(u16, Count16, bodyKeywordCount, 0) \
    X(u16, Count16, bodyFirstKeywordOffset, 0) \
    X(u16, Count16, tableKeywordCount, 0) \
    X(u32, Number32, tableKeywordPos, 0) \
    X(u16, Count16, smallestFontSize, 3) \
    X(u32, Number32, smallestFontPos, 0) \
    X(u32, Number32, minColourDistance, 255) \
    X(u32, Number32, minColourDistancePos, 0) \
    X(Colour, Colour, bodyBackground, 0xFFFFFF) \
    X(u32, Number32, hiddenDivCount, 0) \
    X(u32, Number32, hiddenDivPos, 0) \
    /* Words */ \
    X(u16, Count16, bodyWordCount, 0) \
    X(u16, Count16, headingWordCount, 0) \
    X(u16, Count16, linkWordCount, 0) \
    X(u16, Count16, totalWordCount, 0) \
    X(u16, Count16, repeatedWordCount, 0) \
    X(u32, Number32, repeatedWordPos, 0) \
    X(std::string, List, repeatedWords, ) \
    /* Links */ \
    X(u32, Number32, anchorCount, 0) \
    X(u32, Number32, linkCount, 0) \
    X(u32, Number32, linksWithoutTitleCount, 0) \
    X(u32, Number32, linkWithoutTitlePos, 0) \
    X(u32, Number32, dynamicLinkCount, 0) \
    X(u32, Number32, dynamicLinkPos, 0) \
    X(u32, Number32, linkUrlKeywordCount, 0) \
    X(u32, Number32, linkUrlKeywordPos, 0) \
    X(u16, Count16, linkTextKeywordCount, 0) \
    X(u32, Number32, linkTextKeywordPos, 0) \
    X(u16, Count16, emptyLinkCount, 0) \
    X(u32, Number32, emptyLinkPos, 0) \
    X(u16, Count16, tinyLinkImageCount, 0) \
    X(u32, Number32, tinyLinkImagePos, 0) \
    /* Images and other ALT carriers */ \
    X(u32, Number32, imagesWithSrcCount, 0) \
    X(u32, Number32, imagesWithoutSrcCount, 0) \
    X(u16, Count16, imageSrcKeywordCount, 0) \
    X(u32, Number32, imageSrcKeywordPos, 0) \
    X(u32, Number32, imagesWithAltCount, 0) \
    X(u16, Count16, imagesWithoutAltCount, 0) \
    X(u32, Number32, firstImageWithoutAltPos, 0) \
    X(u16, Count16, altKeywordCount, 0) \
    X(u32, Number32, altKeywordPos, 0) \
    /* Headings, forms, comments */ \
    X(u16, Count16, headingCount, 0) \
    X(u32, Number32, headingPos, 0) \
    X(u16, Count16, headingKeywordCount, 0) \
    X(u32, Number32, headingKeywordPos, 0) \
    X(u16, Count16, hiddenInputCount, 0) \
    X(u16, Count16, hiddenInputKeywordCount, 0) \
    X(u32, Number32, hiddenInputPos, 0) \
    X(u16, Count16, commentCount, 0) \
    X(u32, Number32, commentPos, 0) \
    X(u16, Count16, commentKeywordCount, 0)
// clang-format on

struct PageFacts {
#define QUORVEL_DECLARE_FACT(type, kind, name, reset) type name{reset};
    QUORVEL_PAGE_FACTS(QUORVEL_DECLARE_FACT)
#undef QUORVEL_DECLARE_FACT
};

}  // namespace quorvel
