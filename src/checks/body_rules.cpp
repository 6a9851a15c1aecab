// The rules of the Body, Images, Links and Misc checks. Thresholds compare as
// unsigned 32-bit numbers with the measure widened without sign, so a
// negative Value is larger than any measure.

#include <limits>

#include "checks/check_rules.h"

namespace quorvel {

namespace {

namespace body {
constexpr CheckCategory kCategory = CheckCategory::Body;
constexpr int kKeywordEarly = 0;
constexpr int kTinyText = 1;
constexpr int kHiddenText = 2;
constexpr int kTableNoKeyword = 3;
constexpr int kNoKeyword = 4;
constexpr int kHeadingNoKeyword = 5;
constexpr int kNoHeading = 6;
constexpr int kDensityTooHigh = 7;
constexpr int kDensityTooLow = 8;
constexpr int kRepeatedWords = 9;
constexpr int kTooManyWords = 10;
constexpr int kTooFewWords = 11;
}  // namespace body

namespace images {
constexpr CheckCategory kCategory = CheckCategory::Images;
constexpr int kMissingAlt = 0;
constexpr int kAltNoKeyword = 1;
constexpr int kFileNameKeyword = 2;
constexpr int kImageMap = 3;
}  // namespace images

namespace links {
constexpr CheckCategory kCategory = CheckCategory::Links;
constexpr int kDynamic = 0;
constexpr int kTinyImage = 1;
constexpr int kDomainNoKeyword = 2;
constexpr int kTextKeywordShare = 3;
constexpr int kNoHiddenLink = 4;
constexpr int kUrlKeywordShare = 5;
constexpr int kPageNameNoKeyword = 6;
constexpr int kNoTitle = 7;
}  // namespace links

namespace misc {
constexpr CheckCategory kCategory = CheckCategory::Misc;
constexpr int kFrames = 0;
constexpr int kScripts = 1;
constexpr int kHiddenInputKeyword = 2;
constexpr int kHttpEquivNoKeyword = 3;
constexpr int kStyleNoKeyword = 4;
constexpr int kCommentNoKeyword = 5;
constexpr int kObject = 6;
constexpr int kNoStyle = 7;
constexpr int kNoHttpEquiv = 8;
constexpr int kUrlLength = 9;
constexpr int kTooManyHttpEquiv = 10;
constexpr int kNoFrames = 11;
constexpr int kFramesNoKeyword = 12;
constexpr int kHiddenDiv = 13;
}  // namespace misc

// The colour distance runs from 0 to 255.
constexpr u32 kMaxColourDistance = 255;

}  // namespace

void evaluateBodyChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                        CheckEntryWriter& out) {
    using namespace body;
    const auto on = [&](int index) { return rules.enabled(kCategory, index); };
    const auto v = [&](int index) { return rules.threshold(kCategory, index); };

    if (page.bodyKeywordCount != 0) {
        if (on(kKeywordEarly)) {
            const auto percentage = earlyPositionPercentage(
                page.bodyFirstKeywordOffset, page.bodyLength, run.keywordLetterCount);
            if (percentage && *percentage > v(kKeywordEarly)) {
                out.addCheckEntry(kCategory, kKeywordEarly, page.bodyTextPos, 0);
            }
        }
    } else if (on(kNoKeyword)) {
        out.addCheckEntry(kCategory, kNoKeyword, page.bodyTextPos, 0);
    }
    if (on(kTinyText) && page.smallestFontSize < v(kTinyText)) {
        out.addCheckEntry(kCategory, kTinyText, page.smallestFontPos, page.smallestFontSize);
    }
    if (on(kHiddenText)) {
        const auto percentage = sharePercentage(page.minColourDistance, kMaxColourDistance);
        if (percentage && *percentage < v(kHiddenText)) {
            out.addCheckEntry(kCategory, kHiddenText, page.minColourDistancePos, *percentage);
        }
    }
    if (on(kTableNoKeyword) && page.hasTable != 0 && page.tableKeywordCount == 0) {
        out.addCheckEntry(kCategory, kTableNoKeyword, page.firstTablePos, 0);
    }
    if (page.headingCount != 0) {
        if (on(kHeadingNoKeyword) && page.headingKeywordCount == 0) {
            out.addCheckEntry(kCategory, kHeadingNoKeyword, page.headingPos, 0);
        }
    } else if (on(kNoHeading)) {
        out.addCheckEntry(kCategory, kNoHeading, 0, 0);
    }
    if (on(kDensityTooHigh) &&
        run.keywordDensity > rules.realThreshold(kCategory, kDensityTooHigh)) {
        out.addDensityEntry(kCategory, kDensityTooHigh, page.bodyTextPos, run.keywordDensity);
    }
    if (on(kDensityTooLow) && run.keywordDensity < rules.realThreshold(kCategory, kDensityTooLow)) {
        out.addDensityEntry(kCategory, kDensityTooLow, page.bodyTextPos, run.keywordDensity);
    }
    if (on(kRepeatedWords) && page.repeatedWordCount != 0) {
        out.addCheckEntry(kCategory, kRepeatedWords, page.repeatedWordPos, page.repeatedWordCount,
                          page.repeatedWords);
    }
    if (on(kTooManyWords) && page.totalWordCount > v(kTooManyWords)) {
        out.addCheckEntry(kCategory, kTooManyWords, page.bodyTextPos, page.totalWordCount);
    }
    if (on(kTooFewWords) && page.totalWordCount < v(kTooFewWords)) {
        out.addCheckEntry(kCategory, kTooFewWords, page.bodyTextPos, page.totalWordCount);
    }
}

void evaluateImagesChecks(const PageFacts& page, const RunFacts&, const CheckRules& rules,
                          CheckEntryWriter& out) {
    using namespace images;
    const auto on = [&](int index) { return rules.enabled(kCategory, index); };

    if (on(kMissingAlt) && page.imagesWithoutAltCount != 0) {
        out.addCheckEntry(kCategory, kMissingAlt, page.firstImageWithoutAltPos,
                          page.imagesWithoutAltCount);
    }
    // No guard on images: a page without any image fires it too.
    if (on(kAltNoKeyword) && page.altKeywordCount == 0) {
        out.addCheckEntry(kCategory, kAltNoKeyword, page.altKeywordPos, 0);
    }
    if (on(kImageMap) && page.hasImageMap != 0) {
        out.addCheckEntry(kCategory, kImageMap, page.imageMapPos, 0);
    }
    if (on(kFileNameKeyword)) {
        const auto share = sharePercentage(page.imageSrcKeywordCount, page.imagesWithSrcCount);
        if (share && *share < rules.threshold(kCategory, kFileNameKeyword)) {
            out.addCheckEntry(kCategory, kFileNameKeyword, page.imageSrcKeywordPos, *share);
        }
    }
}

void evaluateLinksChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                         CheckEntryWriter& out) {
    using namespace links;
    const auto on = [&](int index) { return rules.enabled(kCategory, index); };
    const auto v = [&](int index) { return rules.threshold(kCategory, index); };

    if (on(kDynamic) && page.dynamicLinkCount != 0) {
        out.addCheckEntry(kCategory, kDynamic, page.dynamicLinkPos, 0);
    }
    if (on(kTinyImage) && page.tinyLinkImageCount != 0) {
        out.addCheckEntry(kCategory, kTinyImage, page.tinyLinkImagePos, 0);
    }
    if (on(kDomainNoKeyword) && run.domainKeywordCount == 0) {
        out.addCheckEntry(kCategory, kDomainNoKeyword, 0, 0);
    }
    if (on(kPageNameNoKeyword) && run.fileNameKeywordCount == 0) {
        out.addCheckEntry(kCategory, kPageNameNoKeyword, 0, 0);
    }
    // Link text is shared over every anchor tag, URLs over the links with an href.
    if (on(kTextKeywordShare)) {
        const auto share = sharePercentage(page.linkTextKeywordCount, page.anchorCount);
        if (share && *share < v(kTextKeywordShare)) {
            out.addCheckEntry(kCategory, kTextKeywordShare, page.linkTextKeywordPos, *share);
        }
    }
    if (on(kNoHiddenLink) && page.emptyLinkCount == 0) {
        out.addCheckEntry(kCategory, kNoHiddenLink, 0, 0);
    }
    if (on(kUrlKeywordShare)) {
        const auto share = sharePercentage(page.linkUrlKeywordCount, page.linkCount);
        if (share && *share < v(kUrlKeywordShare)) {
            out.addCheckEntry(kCategory, kUrlKeywordShare, page.linkUrlKeywordPos, *share);
        }
    }
    if (on(kNoTitle) && page.linksWithoutTitleCount != 0) {
        out.addCheckEntry(kCategory, kNoTitle, page.linkWithoutTitlePos,
                          page.linksWithoutTitleCount);
    }
}

void evaluateMiscChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                        CheckEntryWriter& out) {
    using namespace misc;
    const auto on = [&](int index) { return rules.enabled(kCategory, index); };
    const auto v = [&](int index) { return rules.threshold(kCategory, index); };
    // The last-resort advice applies while the density is below the threshold
    // of "Keyword density too Low", enabled or not.
    const bool densityLow =
        run.keywordDensity < rules.realThreshold(CheckCategory::Body, body::kDensityTooLow);

    if (on(kFrames) && page.hasFrames != 0 && page.hasNoFrames == 0) {
        out.addCheckEntry(kCategory, kFrames, page.framesPos, 0);
    }
    if (on(kNoFrames) && page.hasNoFrames != 0 && page.hasFrames == 0) {
        out.addCheckEntry(kCategory, kNoFrames, page.noFramesPos, 0);
    }
    if (on(kFramesNoKeyword) && page.hasNoFrames != 0 && page.hasFrames != 0 &&
        run.keywordDensity == 0.0) {
        out.addCheckEntry(kCategory, kFramesNoKeyword, 0, 0);
    }
    if (on(kScripts) && page.scriptCount != 0 && page.scriptCount > page.externalScriptCount &&
        page.scriptTextLength != 0) {
        out.addCheckEntry(kCategory, kScripts, page.scriptPos, 0);
    }
    if (on(kHiddenInputKeyword) && page.hiddenInputKeywordCount != 0) {
        out.addCheckEntry(kCategory, kHiddenInputKeyword, page.hiddenInputPos, 0);
    }
    if (page.hasStyle != 0) {
        if (on(kStyleNoKeyword) && page.styleLength != 0 && page.styleKeywordCount == 0) {
            out.addCheckEntry(kCategory, kStyleNoKeyword, page.styleFirstKeywordPos, 0);
        }
    } else if (on(kNoStyle) && densityLow) {
        out.addCheckEntry(kCategory, kNoStyle, 0, 0);
    }
    if (on(kCommentNoKeyword) && page.commentCount != 0 && page.commentKeywordCount == 0) {
        out.addCheckEntry(kCategory, kCommentNoKeyword, page.commentPos, 0);
    }
    if (on(kObject) && page.hasObject != 0) {
        out.addCheckEntry(kCategory, kObject, page.objectPos, 0);
    }
    if (page.httpEquivCount != 0) {
        if (on(kTooManyHttpEquiv) && page.httpEquivCount > v(kTooManyHttpEquiv)) {
            out.addCheckEntry(kCategory, kTooManyHttpEquiv, page.httpEquivPos, page.httpEquivCount);
        }
        if (on(kHttpEquivNoKeyword) && page.httpEquivKeywordCount == 0 && densityLow) {
            out.addCheckEntry(kCategory, kHttpEquivNoKeyword, page.httpEquivPos, 0);
        }
    } else if (on(kNoHttpEquiv)) {
        out.addCheckEntry(kCategory, kNoHttpEquiv, 0, 0);
    }
    // Only the host part is measured; the file name is not added.
    if (on(kUrlLength)) {
        const std::size_t length = run.homeHost.size();
        const u32 characters = length > std::numeric_limits<u32>::max()
                                   ? std::numeric_limits<u32>::max()
                                   : static_cast<u32>(length);
        if (characters > v(kUrlLength)) out.addCheckEntry(kCategory, kUrlLength, 0, 0);
    }
    if (on(kHiddenDiv) && page.hiddenDivCount > v(kHiddenDiv)) {
        out.addCheckEntry(kCategory, kHiddenDiv, page.hiddenDivPos, page.hiddenDivCount);
    }
}

}  // namespace quorvel
