// The rules of the Title and Meta checks. Thresholds compare as unsigned
// 32-bit numbers with the measure widened without sign, so a negative Value
// is larger than any measure.

#include "checks/check_rules.h"

namespace quorvel {

namespace {

namespace title {
constexpr CheckCategory kCategory = CheckCategory::Title;
constexpr int kTagPresence = 0;
constexpr int kLength = 1;
constexpr int kKeywordAtBeginning = 2;
constexpr int kTooMany = 3;
constexpr int kFirstTagInHead = 4;
constexpr int kKeywordRepetition = 5;
constexpr int kCrLf = 6;
constexpr int kNoKeyword = 7;
constexpr int kTooFew = 8;
constexpr int kStopWords = 9;
}  // namespace title

namespace meta {
constexpr CheckCategory kCategory = CheckCategory::Meta;
constexpr int kRedirectSpeed = 0;
constexpr int kDescriptionPresence = 1;
constexpr int kDescriptionMaxLength = 2;
constexpr int kKeywordsPresence = 3;
constexpr int kKeywordsMaxLength = 4;
constexpr int kDescriptionKeywordEarly = 5;
constexpr int kKeywordsKeywordEarly = 6;
constexpr int kNoIndex = 7;
constexpr int kIrrelevant = 8;
constexpr int kDescriptionCrLf = 9;
constexpr int kKeywordsCrLf = 10;
constexpr int kKeywordsKeywordCount = 11;
constexpr int kDescriptionKeywordCount = 12;
constexpr int kKeywordsNoKeyword = 13;
constexpr int kDescriptionNoKeyword = 14;
constexpr int kRedirectPresence = 15;
constexpr int kKeywordsHasKeyword = 16;
constexpr int kDescriptionHasKeyword = 17;
constexpr int kDescriptionAbsenceAdvice = 18;
constexpr int kKeywordsAbsenceAdvice = 19;
constexpr int kNoArchivePresence = 20;
constexpr int kNoArchiveAbsence = 21;
constexpr int kDescriptionMinLength = 22;
}  // namespace meta

}  // namespace

void evaluateTitleChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                         CheckEntryWriter& out) {
    using namespace title;
    const auto on = [&](int index) { return rules.enabled(kCategory, index); };
    const auto v = [&](int index) { return rules.threshold(kCategory, index); };

    if (on(kTagPresence) && page.titleCount == 0) {
        out.addCheckEntry(kCategory, kTagPresence, 0, 0);
    }
    if (on(kLength) && page.titleLength > v(kLength)) {
        out.addCheckEntry(kCategory, kLength, page.titlePos, page.titleLength);
    }
    if (page.titleKeywordCount != 0) {
        if (on(kKeywordAtBeginning)) {
            const auto percentage = earlyPositionPercentage(
                page.titleFirstKeywordIndex, page.titleLength, run.keywordLetterCount);
            if (percentage && *percentage > v(kKeywordAtBeginning)) {
                out.addCheckEntry(kCategory, kKeywordAtBeginning, page.titleFirstKeywordPos,
                                  *percentage);
            }
        }
        if (on(kKeywordRepetition) && page.titleKeywordCount > v(kKeywordRepetition)) {
            out.addCheckEntry(kCategory, kKeywordRepetition, page.titleLastKeywordPos, 0);
        }
    } else if (on(kNoKeyword)) {
        out.addCheckEntry(kCategory, kNoKeyword, page.titlePos, 0);
    }
    if (on(kTooMany) && page.titleCount > v(kTooMany)) {
        out.addCheckEntry(kCategory, kTooMany, page.titlePos, page.titleCount);
    }
    if (on(kTooFew) && page.titleCount < v(kTooFew)) {
        out.addCheckEntry(kCategory, kTooFew, page.titlePos, page.titleCount);
    }
    if (page.titleCount == 0) return;
    if (on(kCrLf) && page.titleHasCrLf != 0) {
        out.addCheckEntry(kCategory, kCrLf, page.titleCrLfPos, 0);
    }
    if (on(kFirstTagInHead) && page.titleIsFirstTag == 0) {
        out.addCheckEntry(kCategory, kFirstTagInHead, page.titlePos, 0);
    }
    if (on(kStopWords) && page.titleStopWordCount != 0) {
        out.addTextEntry(kCategory, kStopWords, page.titleStopWordPos, page.titleStopWord.view());
    }
}

void evaluateMetaChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                        CheckEntryWriter& out) {
    using namespace meta;
    const auto on = [&](int index) { return rules.enabled(kCategory, index); };
    const auto v = [&](int index) { return rules.threshold(kCategory, index); };
    const auto early = [&](u16 offset, u16 length, int index) {
        const auto percentage = earlyPositionPercentage(offset, length, run.keywordLetterCount);
        return percentage && *percentage > v(index);
    };

    if (page.hasMetaRefresh != 0) {
        if (on(kRedirectSpeed) && page.metaRefreshSeconds < v(kRedirectSpeed)) {
            out.addCheckEntry(kCategory, kRedirectSpeed, page.metaRefreshPos,
                              page.metaRefreshSeconds);
        }
        if (on(kRedirectPresence)) {
            out.addCheckEntry(kCategory, kRedirectPresence, page.metaRefreshPos, 0);
        }
    }

    // The description: its presence, lengths, keywords and line breaks.
    if (on(kDescriptionPresence) && page.hasMetaDescription == 0) {
        out.addCheckEntry(kCategory, kDescriptionPresence, 0, 0);
    }
    if (page.hasMetaDescription != 0) {
        const u16 length = page.metaDescriptionLength;
        if (on(kDescriptionMaxLength) && length > v(kDescriptionMaxLength)) {
            out.addCheckEntry(kCategory, kDescriptionMaxLength, page.metaDescriptionPos, length);
        }
        if (on(kDescriptionMinLength) && length < v(kDescriptionMinLength)) {
            out.addCheckEntry(kCategory, kDescriptionMinLength, page.metaDescriptionPos, length);
        }
        if (page.metaDescriptionKeywordCount != 0) {
            const u32 position = page.metaDescriptionKeywordPos;
            if (on(kDescriptionHasKeyword)) {
                out.addCheckEntry(kCategory, kDescriptionHasKeyword, position, 0);
            }
            if (on(kDescriptionKeywordEarly) &&
                early(page.metaDescriptionFirstKeywordOffset, length, kDescriptionKeywordEarly)) {
                out.addCheckEntry(kCategory, kDescriptionKeywordEarly, position, 0);
            }
            if (on(kDescriptionKeywordCount) &&
                page.metaDescriptionKeywordCount > v(kDescriptionKeywordCount)) {
                out.addCheckEntry(kCategory, kDescriptionKeywordCount, position,
                                  page.metaDescriptionKeywordCount);
            }
        } else if (on(kDescriptionNoKeyword)) {
            out.addCheckEntry(kCategory, kDescriptionNoKeyword, page.metaDescriptionPos, 0);
        }
        if (on(kDescriptionCrLf) && page.metaDescriptionHasCrLf != 0) {
            out.addCheckEntry(kCategory, kDescriptionCrLf, page.metaDescriptionPos, 0);
        }
    }

    // The keywords tag, likewise.
    if (on(kKeywordsPresence) && page.hasMetaKeywords == 0) {
        out.addCheckEntry(kCategory, kKeywordsPresence, 0, 0);
    }
    if (page.hasMetaKeywords != 0) {
        const u16 length = page.metaKeywordsLength;
        if (on(kKeywordsMaxLength) && length > v(kKeywordsMaxLength)) {
            out.addCheckEntry(kCategory, kKeywordsMaxLength, page.metaKeywordsPos, length);
        }
        if (page.metaKeywordsKeywordCount != 0) {
            if (on(kKeywordsHasKeyword)) {
                out.addCheckEntry(kCategory, kKeywordsHasKeyword, page.metaKeywordsPos, 0);
            }
            if (on(kKeywordsKeywordEarly) &&
                early(page.metaKeywordsFirstKeywordOffset, length, kKeywordsKeywordEarly)) {
                out.addCheckEntry(kCategory, kKeywordsKeywordEarly, page.metaKeywordsKeywordPos, 0);
            }
            if (on(kKeywordsKeywordCount) &&
                page.metaKeywordsKeywordCount > v(kKeywordsKeywordCount)) {
                out.addCheckEntry(kCategory, kKeywordsKeywordCount, page.metaKeywordsPos,
                                  page.metaKeywordsKeywordCount);
            }
        } else if (on(kKeywordsNoKeyword)) {
            out.addCheckEntry(kCategory, kKeywordsNoKeyword, page.metaKeywordsPos, 0);
        }
        if (on(kKeywordsCrLf) && page.metaKeywordsHasCrLf != 0) {
            out.addCheckEntry(kCategory, kKeywordsCrLf, page.metaKeywordsPos, 0);
        }
    }

    // Robots, irrelevant META tags, and the advice for engines that need
    // neither description nor keywords.
    if (on(kNoIndex) && page.robotsNoIndex != 0) {
        out.addCheckEntry(kCategory, kNoIndex, page.robotsNoIndexPos, 0);
    }
    if (on(kNoArchivePresence) && page.robotsNoArchive != 0) {
        out.addCheckEntry(kCategory, kNoArchivePresence, page.robotsNoArchivePos, 0);
    }
    if (on(kNoArchiveAbsence) && page.robotsNoArchive == 0) {
        out.addCheckEntry(kCategory, kNoArchiveAbsence, 0, 0);
    }
    if (on(kIrrelevant) && page.hasIrrelevantMeta != 0) {
        out.addCheckEntry(kCategory, kIrrelevant, page.irrelevantMetaPos, 0);
    }
    if (on(kDescriptionAbsenceAdvice) && page.hasMetaDescription != 0) {
        out.addCheckEntry(kCategory, kDescriptionAbsenceAdvice, page.metaDescriptionPos, 0);
    }
    if (on(kKeywordsAbsenceAdvice) && page.hasMetaKeywords != 0) {
        out.addCheckEntry(kCategory, kKeywordsAbsenceAdvice, page.metaKeywordsPos, 0);
    }
}

}  // namespace quorvel
