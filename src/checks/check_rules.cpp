#include "checks/check_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "checks/checker_file.h"
#include "platform/ascii_text.h"

namespace quorvel {

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
constexpr char kDefaultImportance = 'E';

std::string_view skipLeadingWhiteSpace(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kWhiteSpace);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

std::uint32_t integerThreshold(std::string_view value) {
    std::size_t pos = 0;
    // Numbers beyond the 32-bit range stop at the limit of their sign.
    const std::int64_t number = std::clamp<std::int64_t>(readDecimalInteger(value, pos).value_or(0),
                                                         std::numeric_limits<std::int32_t>::min(),
                                                         std::numeric_limits<std::int32_t>::max());
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(number));
}

double realThreshold(std::string_view value) {
    std::string_view text = skipLeadingWhiteSpace(value);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
        // A second sign is no number ("+-3" reads as 0).
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) return 0.0;
    }
    double number = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), number, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // Too large gives infinity, too small zero, as strtod's limits do.
        const std::string_view digits(text.data(), static_cast<std::size_t>(end - text.data()));
        const std::size_t exponent = digits.find_first_of("eE");
        const bool tiny = exponent != std::string_view::npos && exponent + 1 < digits.size() &&
                          digits[exponent + 1] == '-';
        number = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc{}) {
        return 0.0;
    }
    return negative ? -number : number;
}

std::optional<u16> earlyPositionPercentage(u16 firstOffset, u16 length, u16 keywordLetterCount) {
    const std::int32_t divisor =
        static_cast<std::int32_t>(length) - static_cast<std::int32_t>(keywordLetterCount);
    if (divisor == 0) return std::nullopt;
    const std::int32_t percentage = static_cast<std::int32_t>(firstOffset) * 100 / divisor;
    return static_cast<u16>(percentage);
}

std::optional<u16> sharePercentage(u32 part, u32 whole) {
    if (whole == 0) return std::nullopt;
    return static_cast<u16>(part * 100u / whole);
}

double keywordDensity(u16 bodyKeywordCount, u16 totalWordCount) {
    if (totalWordCount == 0) return 0.0;
    return static_cast<double>(bodyKeywordCount) * 100.0 / static_cast<double>(totalWordCount);
}

std::string_view homeHostOf(std::string_view homeUrl) {
    std::string_view host = homeUrl;
    for (const std::string_view marker : {std::string_view("http://"), std::string_view("www.")}) {
        const std::size_t at = host.find(marker);
        if (at != std::string_view::npos) host.remove_prefix(at + marker.size());
    }
    return host;
}

// ---------------------------------------------------------------------------
// CheckRules

CheckRules::CheckRules(const EngineRules& rules) : rules_(rules) {
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int i = 0; i < checkCount(c); ++i) {
            Check& check = checks_[static_cast<std::size_t>(globalCheckNumber(c, i))];
            const std::string& value = rules.field(c, i, CheckField::Value);
            const std::string& cat = rules.field(c, i, CheckField::Cat);
            check.enabled = rules.enabled(c, i);
            check.threshold = integerThreshold(value);
            check.realThreshold = ::quorvel::realThreshold(value);
            check.importanceLetter = cat.empty() ? kDefaultImportance : cat.front();
        }
    }
}

const CheckRules::Check& CheckRules::check(CheckCategory category, int index) const {
    return checks_[static_cast<std::size_t>(globalCheckNumber(static_cast<int>(category), index))];
}

bool CheckRules::enabled(CheckCategory category, int index) const {
    return check(category, index).enabled;
}

std::uint32_t CheckRules::threshold(CheckCategory category, int index) const {
    return check(category, index).threshold;
}

double CheckRules::realThreshold(CheckCategory category, int index) const {
    return check(category, index).realThreshold;
}

char CheckRules::importanceLetter(CheckCategory category, int index) const {
    return check(category, index).importanceLetter;
}

// ---------------------------------------------------------------------------
// CheckEntryWriter

CheckEntryWriter::CheckEntryWriter(const CheckRules& rules, std::string_view fileName,
                                   std::vector<ReportEntry>& entries)
    : rules_(rules), fileName_(fileName), entries_(entries) {}

void CheckEntryWriter::addCheckEntry(CheckCategory category, int index, u32 position, u32 measured,
                                     std::string_view extra) {
    std::string description =
        rules_.engineRules().message(static_cast<int>(category), index, CheckField::Msg, measured);
    if (!extra.empty()) {
        description += " [";
        description += extra;
        description += ']';
    }
    append(category, index, position, std::move(description));
}

void CheckEntryWriter::addDensityEntry(CheckCategory category, int index, u32 position,
                                       double density) {
    append(
        category, index, position,
        rules_.engineRules().message(static_cast<int>(category), index, CheckField::Msg, density));
}

void CheckEntryWriter::addTextEntry(CheckCategory category, int index, u32 position,
                                    std::string_view text) {
    std::string description =
        rules_.engineRules().message(static_cast<int>(category), index, CheckField::Msg, u32{0});
    description += " [";
    description += text;
    description += ']';
    append(category, index, position, std::move(description));
}

void CheckEntryWriter::append(CheckCategory category, int index, u32 position,
                              std::string description) {
    ReportEntry entry;
    entry.importanceLetter = rules_.importanceLetter(category, index);
    entry.importanceClass = importanceClassOf(entry.importanceLetter);
    entry.fileName = std::string(fileName_);
    entry.description = std::move(description);
    // Positions are byte offsets into the file; a report line holds them signed.
    entry.filePosition = static_cast<std::int32_t>(position);
    entry.checkCode = checkCode(static_cast<int>(category), index);
    entries_.push_back(std::move(entry));
}

// ---------------------------------------------------------------------------
// Tips and the whole evaluation

void evaluateTipsChecks(const CheckRules& rules, CheckEntryWriter& out) {
    constexpr CheckCategory kTips = CheckCategory::Tips;
    for (int index = 0; index < checkCount(static_cast<int>(kTips)); ++index) {
        if (rules.enabled(kTips, index)) out.addCheckEntry(kTips, index, 0, 0);
    }
}

void evaluateChecks(const PageFacts& page, const RunFacts& run, const CheckRules& rules,
                    CheckEntryWriter& out) {
    evaluateTitleChecks(page, run, rules, out);
    evaluateMetaChecks(page, run, rules, out);
    evaluateBodyChecks(page, run, rules, out);
    evaluateImagesChecks(page, run, rules, out);
    evaluateLinksChecks(page, run, rules, out);
    evaluateMiscChecks(page, run, rules, out);
    evaluateTipsChecks(rules, out);
}

}  // namespace quorvel
