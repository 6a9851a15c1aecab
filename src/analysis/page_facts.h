#pragma once

#include <cstdint>
#include <string>

#include "analysis/fixed_text.h"

namespace quorvel {

using u16 = std::uint16_t;
using u32 = std::uint32_t;
using Flag = std::uint32_t;  // 0 or 1
using Colour = std::uint32_t;  // 0xRRGGBB

// Everything the checks know about one scanned page. Every field holds its
// reset value from its initialiser, so resetting is assigning a fresh
// PageFacts. Fields ending in Pos are byte offsets from the first byte of the
// file; fields ending in Offset are relative to the text named with them.
// u16 counters wrap at 65536.
struct PageFacts {
    // Scripts, frames and single-tag findings
    u16 scriptCount = 0;
    u32 scriptPos = 0;
    u16 externalScriptCount = 0;
    u16 scriptTextLength = 0;
    Flag hasFrames = 0;
    u32 framesPos = 0;
    Flag hasNoFrames = 0;
    u32 noFramesPos = 0;
    Flag hasTable = 0;
    u32 firstTablePos = 0;
    Flag hasImageMap = 0;
    u32 imageMapPos = 0;
    Flag hasObject = 0;
    u32 objectPos = 0;

    // Title (HEAD only)
    u16 titleCount = 0;
    Flag titleIsFirstTag = 0;
    ScanText titleText;
    u16 titleLength = 0;
    u32 titlePos = 0;
    Flag titleHasCrLf = 0;
    u32 titleCrLfPos = 0;
    u16 titleKeywordCount = 0;
    u16 titleFirstKeywordIndex = 0;
    u32 titleFirstKeywordPos = 0;
    u32 titleLastKeywordPos = 0;
    u32 titleStopWordCount = 0;
    ScanText titleStopWord;
    u32 titleStopWordPos = 0;

    // META (HEAD and BODY)
    u16 httpEquivCount = 0;
    u32 httpEquivPos = 0;
    u16 httpEquivKeywordCount = 0;
    u16 httpEquivFirstKeywordOffset = 0;
    Flag hasMetaDescription = 0;
    ScanText metaDescriptionText;
    u16 metaDescriptionLength = 0;
    Flag metaDescriptionHasCrLf = 0;
    u32 metaDescriptionPos = 0;
    u16 metaDescriptionKeywordCount = 0;
    u16 metaDescriptionFirstKeywordOffset = 0;
    u32 metaDescriptionKeywordPos = 0;
    Flag hasMetaKeywords = 0;
    ScanText metaKeywordsText;
    u16 metaKeywordsLength = 0;
    Flag metaKeywordsHasCrLf = 0;
    u32 metaKeywordsPos = 0;
    u16 metaKeywordsKeywordCount = 0;
    u16 metaKeywordsFirstKeywordOffset = 0;
    u32 metaKeywordsKeywordPos = 0;
    Flag hasMetaAuthor = 0;
    ScanText metaAuthorText;
    u16 metaAuthorLength = 0;
    Flag hasMetaRefresh = 0;
    u16 metaRefreshSeconds = 0;
    u32 metaRefreshPos = 0;
    Flag robotsNoIndex = 0;
    u32 robotsNoIndexPos = 0;
    Flag robotsNoArchive = 0;
    u32 robotsNoArchivePos = 0;
    Flag hasIrrelevantMeta = 0;
    u32 irrelevantMetaPos = 0;

    // Style (HEAD only)
    Flag hasStyle = 0;
    u16 styleLength = 0;
    u16 styleKeywordCount = 0;
    u32 styleFirstKeywordPos = 0;
    u16 styleFirstKeywordOffset = 0;

    // Body text, fonts and colours
    u32 bodyTagPos = 0;
    u32 bodyTextPos = 0;
    u16 bodyLength = 0;
    u16 bodyKeywordCount = 0;
    u16 bodyFirstKeywordOffset = 0;
    u16 tableKeywordCount = 0;
    u32 tableKeywordPos = 0;
    u16 smallestFontSize = 3;
    u32 smallestFontPos = 0;
    u32 minColourDistance = 255;
    u32 minColourDistancePos = 0;
    Colour bodyBackground = 0xFFFFFF;
    u32 hiddenDivCount = 0;
    u32 hiddenDivPos = 0;

    // Words
    u16 bodyWordCount = 0;
    u16 headingWordCount = 0;
    u16 linkWordCount = 0;
    u16 totalWordCount = 0;
    u16 repeatedWordCount = 0;
    u32 repeatedWordPos = 0;
    std::string repeatedWords;

    // Links
    u32 anchorCount = 0;
    u32 linkCount = 0;
    u32 linksWithoutTitleCount = 0;
    u32 linkWithoutTitlePos = 0;
    u32 dynamicLinkCount = 0;
    u32 dynamicLinkPos = 0;
    u32 linkUrlKeywordCount = 0;
    u32 linkUrlKeywordPos = 0;
    u16 linkTextKeywordCount = 0;
    u32 linkTextKeywordPos = 0;
    u16 emptyLinkCount = 0;
    u32 emptyLinkPos = 0;
    u16 tinyLinkImageCount = 0;
    u32 tinyLinkImagePos = 0;

    // Images and other ALT carriers
    u32 imagesWithSrcCount = 0;
    u32 imagesWithoutSrcCount = 0;
    u16 imageSrcKeywordCount = 0;
    u32 imageSrcKeywordPos = 0;
    u32 imagesWithAltCount = 0;
    u16 imagesWithoutAltCount = 0;
    u32 firstImageWithoutAltPos = 0;
    u16 altKeywordCount = 0;
    u32 altKeywordPos = 0;

    // Headings, forms, comments
    u16 headingCount = 0;
    u32 headingPos = 0;
    u16 headingKeywordCount = 0;
    u32 headingKeywordPos = 0;
    u16 hiddenInputCount = 0;
    u16 hiddenInputKeywordCount = 0;
    u32 hiddenInputPos = 0;
    u16 commentCount = 0;
    u32 commentPos = 0;
    u16 commentKeywordCount = 0;
};

}  // namespace quorvel
