#pragma once

// The firing rules of the 86 checks. Each category's rules read the facts of
// one scanned page and the run's own facts, and append one report entry per
// firing check, in the category's fixed evaluation order.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/page_facts.h"
#include "checks/check_catalogue.h"
#include "checks/check_entry.h"

namespace quorvel {

class EngineRules;

// What the run computes itself for each file, beside the page's facts.
struct RunFacts {
    std::string_view homeHost;  // the home URL without its scheme and www. prefix
    u16 fileNameKeywordCount = 0;
    u16 domainKeywordCount = 0;
    u16 keywordLetterCount = 0;
    double keywordDensity = 0.0;
};

// A check's Value text as an integer threshold: leading white space, an
// optional sign and decimal digits; the first other byte ends the number and
// no digits give 0. Out-of-range numbers stop at the signed 32-bit limits.
// The result is the signed number's 32-bit pattern, so "-1" compares as the
// largest unsigned value.
std::uint32_t integerThreshold(std::string_view value);
// A check's Value text as a real threshold: the longest leading decimal
// floating-point number after white space (optional sign, fraction,
// exponent); 0.0 when there is none.
double realThreshold(std::string_view value);

// Where the first keyword of a text stands, in percent of the text less the
// keyword's letters: offset * 100 / (length - keywordLetterCount) in signed
// 32-bit arithmetic, truncated, kept as its low 16 bits. Nothing when the
// divisor is 0.
std::optional<u16> earlyPositionPercentage(u16 firstOffset, u16 length, u16 keywordLetterCount);
// part * 100 / whole in unsigned 32-bit arithmetic, truncated, kept as its
// low 16 bits. Nothing when the whole is 0.
std::optional<u16> sharePercentage(u32 part, u32 whole);

// bodyKeywordCount * 100 / totalWordCount as a double; 0.0 for a page
// without words.
double keywordDensity(u16 bodyKeywordCount, u16 totalWordCount);
// The home URL with everything up to and including the first "http://"
// removed, then everything up to and including the first "www.".
std::string_view homeHostOf(std::string_view homeUrl);

// One engine's rules prepared for evaluation, once per run: per check the
// enable switch, the parsed thresholds and the importance letter. Messages
// are composed from the EngineRules, which must outlive this object.
class CheckRules {
public:
    explicit CheckRules(const EngineRules& rules);

    bool enabled(CheckCategory category, int index) const;
    std::uint32_t threshold(CheckCategory category, int index) const;
    double realThreshold(CheckCategory category, int index) const;
    // The first byte of the effective Cat text. The effective text is never
    // empty (an empty override falls back on the catalogue); should it be so
    // anyway, 'E' is used: an empty code reads as an Error everywhere.
    char importanceLetter(CheckCategory category, int index) const;
    const EngineRules& engineRules() const { return rules_; }

private:
    struct Check {
        bool enabled = false;
        std::uint32_t threshold = 0;
        double realThreshold = 0.0;
        char importanceLetter = 'E';
    };
    const Check& check(CheckCategory category, int index) const;

    const EngineRules& rules_;
    std::array<Check, kCheckCount> checks_{};
};

// Composes the report entries of one file's firing checks and appends them
// to a list.
class CheckEntryWriter {
public:
    CheckEntryWriter(const CheckRules& rules, std::string_view fileName,
                     std::vector<ReportEntry>& entries);

    // Msg with %1 = the check's Value and %2 = the low 16 bits of `measured`;
    // " [" + extra + "]" is appended when extra is not empty.
    void addCheckEntry(CheckCategory category, int index, u32 position, u32 measured,
                       std::string_view extra = {});
    // Msg with %2 = the density with two decimals.
    void addDensityEntry(CheckCategory category, int index, u32 position, double density);
    // Msg with %2 = 0, and " [" + text + "]" always appended.
    void addTextEntry(CheckCategory category, int index, u32 position, std::string_view text);

private:
    void append(CheckCategory category, int index, u32 position, std::string description);

    const CheckRules& rules_;
    std::string_view fileName_;
    std::vector<ReportEntry>& entries_;
};

// The checks of one category, in their evaluation order. Only enabled checks
// are evaluated.
void evaluateTitleChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                         CheckEntryWriter& out);
void evaluateMetaChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                        CheckEntryWriter& out);
void evaluateBodyChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                        CheckEntryWriter& out);
void evaluateImagesChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                          CheckEntryWriter& out);
void evaluateLinksChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                         CheckEntryWriter& out);
void evaluateMiscChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                        CheckEntryWriter& out);
void evaluateTipsChecks(const CheckRules& rules, CheckEntryWriter& out);

// Every category in catalogue order: Title, Meta, Body, Images, Links, Misc,
// Tips.
void evaluateChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                    CheckEntryWriter& out);

}  // namespace quorvel
