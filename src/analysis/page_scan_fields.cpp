#include "analysis/page_scan_fields.h"

namespace quorvel {

namespace {

// clang-format off
#define QUORVEL_FIELD(kind, member) PageField{#member, FieldKind::kind, &PageFacts::member}
// clang-format on

const PageField kPageFields[] = {
    QUORVEL_FIELD(Count16, scriptCount),
    QUORVEL_FIELD(Number32, scriptPos),
    QUORVEL_FIELD(Count16, externalScriptCount),
    QUORVEL_FIELD(Count16, scriptTextLength),
    QUORVEL_FIELD(Flag, hasFrames),
    QUORVEL_FIELD(Number32, framesPos),
    QUORVEL_FIELD(Flag, hasNoFrames),
    QUORVEL_FIELD(Number32, noFramesPos),
    QUORVEL_FIELD(Flag, hasTable),
    QUORVEL_FIELD(Number32, firstTablePos),
    QUORVEL_FIELD(Flag, hasImageMap),
    QUORVEL_FIELD(Number32, imageMapPos),
    QUORVEL_FIELD(Flag, hasObject),
    QUORVEL_FIELD(Number32, objectPos),
    // Title (HEAD only)
    QUORVEL_FIELD(Count16, titleCount),
    QUORVEL_FIELD(Flag, titleIsFirstTag),
    QUORVEL_FIELD(Text, titleText),
    QUORVEL_FIELD(Count16, titleLength),
    QUORVEL_FIELD(Number32, titlePos),
    QUORVEL_FIELD(Flag, titleHasCrLf),
    QUORVEL_FIELD(Number32, titleCrLfPos),
    QUORVEL_FIELD(Count16, titleKeywordCount),
    QUORVEL_FIELD(Count16, titleFirstKeywordIndex),
    QUORVEL_FIELD(Number32, titleFirstKeywordPos),
    QUORVEL_FIELD(Number32, titleLastKeywordPos),
    QUORVEL_FIELD(Number32, titleStopWordCount),
    QUORVEL_FIELD(Text, titleStopWord),
    QUORVEL_FIELD(Number32, titleStopWordPos),
    // META (HEAD and BODY)
    QUORVEL_FIELD(Count16, httpEquivCount),
    QUORVEL_FIELD(Number32, httpEquivPos),
    QUORVEL_FIELD(Count16, httpEquivKeywordCount),
    QUORVEL_FIELD(Count16, httpEquivFirstKeywordOffset),
    QUORVEL_FIELD(Flag, hasMetaDescription),
    QUORVEL_FIELD(Text, metaDescriptionText),
    QUORVEL_FIELD(Count16, metaDescriptionLength),
    QUORVEL_FIELD(Flag, metaDescriptionHasCrLf),
    QUORVEL_FIELD(Number32, metaDescriptionPos),
    QUORVEL_FIELD(Count16, metaDescriptionKeywordCount),
    QUORVEL_FIELD(Count16, metaDescriptionFirstKeywordOffset),
    QUORVEL_FIELD(Number32, metaDescriptionKeywordPos),
    QUORVEL_FIELD(Flag, hasMetaKeywords),
    QUORVEL_FIELD(Text, metaKeywordsText),
    QUORVEL_FIELD(Count16, metaKeywordsLength),
    QUORVEL_FIELD(Flag, metaKeywordsHasCrLf),
    QUORVEL_FIELD(Number32, metaKeywordsPos),
    QUORVEL_FIELD(Count16, metaKeywordsKeywordCount),
    QUORVEL_FIELD(Count16, metaKeywordsFirstKeywordOffset),
    QUORVEL_FIELD(Number32, metaKeywordsKeywordPos),
    QUORVEL_FIELD(Flag, hasMetaAuthor),
    QUORVEL_FIELD(Text, metaAuthorText),
    QUORVEL_FIELD(Count16, metaAuthorLength),
    QUORVEL_FIELD(Flag, hasMetaRefresh),
    QUORVEL_FIELD(Count16, metaRefreshSeconds),
    QUORVEL_FIELD(Number32, metaRefreshPos),
    QUORVEL_FIELD(Flag, robotsNoIndex),
    QUORVEL_FIELD(Number32, robotsNoIndexPos),
    QUORVEL_FIELD(Flag, robotsNoArchive),
    QUORVEL_FIELD(Number32, robotsNoArchivePos),
    QUORVEL_FIELD(Flag, hasIrrelevantMeta),
    QUORVEL_FIELD(Number32, irrelevantMetaPos),
    // Style (HEAD only)
    QUORVEL_FIELD(Flag, hasStyle),
    QUORVEL_FIELD(Count16, styleLength),
    QUORVEL_FIELD(Count16, styleKeywordCount),
    QUORVEL_FIELD(Number32, styleFirstKeywordPos),
    QUORVEL_FIELD(Count16, styleFirstKeywordOffset),
    // Body text, fonts and colours
    QUORVEL_FIELD(Number32, bodyTagPos),
    QUORVEL_FIELD(Number32, bodyTextPos),
    QUORVEL_FIELD(Count16, bodyLength),
    QUORVEL_FIELD(Count16, bodyKeywordCount),
    QUORVEL_FIELD(Count16, bodyFirstKeywordOffset),
    QUORVEL_FIELD(Count16, tableKeywordCount),
    QUORVEL_FIELD(Number32, tableKeywordPos),
    QUORVEL_FIELD(Count16, smallestFontSize),
    QUORVEL_FIELD(Number32, smallestFontPos),
    QUORVEL_FIELD(Number32, minColourDistance),
    QUORVEL_FIELD(Number32, minColourDistancePos),
    QUORVEL_FIELD(Colour, bodyBackground),
    QUORVEL_FIELD(Number32, hiddenDivCount),
    QUORVEL_FIELD(Number32, hiddenDivPos),
    // Words
    QUORVEL_FIELD(Count16, bodyWordCount),
    QUORVEL_FIELD(Count16, headingWordCount),
    QUORVEL_FIELD(Count16, linkWordCount),
    QUORVEL_FIELD(Count16, totalWordCount),
    QUORVEL_FIELD(Count16, repeatedWordCount),
    QUORVEL_FIELD(Number32, repeatedWordPos),
    QUORVEL_FIELD(List, repeatedWords),
    // Links
    QUORVEL_FIELD(Number32, anchorCount),
    QUORVEL_FIELD(Number32, linkCount),
    QUORVEL_FIELD(Number32, linksWithoutTitleCount),
    QUORVEL_FIELD(Number32, linkWithoutTitlePos),
    QUORVEL_FIELD(Number32, dynamicLinkCount),
    QUORVEL_FIELD(Number32, dynamicLinkPos),
    QUORVEL_FIELD(Number32, linkUrlKeywordCount),
    QUORVEL_FIELD(Number32, linkUrlKeywordPos),
    QUORVEL_FIELD(Count16, linkTextKeywordCount),
    QUORVEL_FIELD(Number32, linkTextKeywordPos),
    QUORVEL_FIELD(Count16, emptyLinkCount),
    QUORVEL_FIELD(Number32, emptyLinkPos),
    QUORVEL_FIELD(Count16, tinyLinkImageCount),
    QUORVEL_FIELD(Number32, tinyLinkImagePos),
    // Images and other ALT carriers
    QUORVEL_FIELD(Number32, imagesWithSrcCount),
    QUORVEL_FIELD(Number32, imagesWithoutSrcCount),
    QUORVEL_FIELD(Count16, imageSrcKeywordCount),
    QUORVEL_FIELD(Number32, imageSrcKeywordPos),
    QUORVEL_FIELD(Number32, imagesWithAltCount),
    QUORVEL_FIELD(Count16, imagesWithoutAltCount),
    QUORVEL_FIELD(Number32, firstImageWithoutAltPos),
    QUORVEL_FIELD(Count16, altKeywordCount),
    QUORVEL_FIELD(Number32, altKeywordPos),
    // Headings, forms, comments
    QUORVEL_FIELD(Count16, headingCount),
    QUORVEL_FIELD(Number32, headingPos),
    QUORVEL_FIELD(Count16, headingKeywordCount),
    QUORVEL_FIELD(Number32, headingKeywordPos),
    QUORVEL_FIELD(Count16, hiddenInputCount),
    QUORVEL_FIELD(Count16, hiddenInputKeywordCount),
    QUORVEL_FIELD(Number32, hiddenInputPos),
    QUORVEL_FIELD(Count16, commentCount),
    QUORVEL_FIELD(Number32, commentPos),
    QUORVEL_FIELD(Count16, commentKeywordCount),
};

#undef QUORVEL_FIELD

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
