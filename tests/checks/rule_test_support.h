#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/check_rules.h"
#include "checks/checker_file.h"

namespace quorvel::testing {

using CategoryEvaluator = void (*)(const PageFacts&, const RunFacts&, const CheckRules&,
                                   CheckEntryWriter&);

inline constexpr std::string_view kTestFileName = "pages/page.html";

// The entries one category's rules append for a page.
inline std::vector<ReportEntry> evaluateCategory(CategoryEvaluator evaluate, const PageFacts& page,
                                                 const RunFacts& run, const EngineRules& rules) {
    std::vector<ReportEntry> entries;
    const CheckRules prepared(rules);
    CheckEntryWriter writer(prepared, kTestFileName, entries);
    evaluate(page, run, prepared, writer);
    return entries;
}

// The run facts of a page whose density follows from its counts.
inline RunFacts runFactsFor(const PageFacts& page, u16 keywordLetterCount = 6) {
    RunFacts run;
    run.keywordLetterCount = keywordLetterCount;
    run.keywordDensity = keywordDensity(page.bodyKeywordCount, page.totalWordCount);
    run.fileNameKeywordCount = 1;
    run.domainKeywordCount = 1;
    run.homeHost = "example.com/";
    return run;
}

// The indexes within their category of the checks that fired, in order.
inline std::vector<int> firedIndexes(const std::vector<ReportEntry>& entries) {
    std::vector<int> indexes;
    for (const ReportEntry& entry : entries)
        indexes.push_back(entry.checkCode & 31);
    return indexes;
}

// An entry of the list by check index; nullptr when that check did not fire.
inline const ReportEntry* entryOf(const std::vector<ReportEntry>& entries, int index) {
    for (const ReportEntry& entry : entries) {
        if ((entry.checkCode & 31) == index) return &entry;
    }
    return nullptr;
}

// One case of a category's rules: a change to a base page (and to the
// engine's rules or the run facts), and the checks expected to fire.
struct RuleCase {
    const char* name;
    std::function<void(PageFacts&)> page;
    std::vector<int> fired;  // indexes within the category, in order
    std::function<void(EngineRules&)> rules = [](EngineRules&) {};
    std::function<void(RunFacts&)> run = [](RunFacts&) {};
};

// Evaluates every case on its own copy of the base page.
inline void runRuleCases(CategoryEvaluator evaluate, const PageFacts& base,
                         const std::vector<RuleCase>& cases, u16 keywordLetterCount) {
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        PageFacts page = base;
        c.page(page);
        EngineRules rules;
        c.rules(rules);
        RunFacts run = runFactsFor(page, keywordLetterCount);
        c.run(run);
        EXPECT_EQ(firedIndexes(evaluateCategory(evaluate, page, run, rules)), c.fired);
    }
}

inline void setField(EngineRules& rules, CheckCategory category, int index, CheckField field,
                     std::string text) {
    rules.set(static_cast<int>(category), index, field, std::move(text), true);
}

inline void enable(EngineRules& rules, CheckCategory category, int index, bool on = true) {
    setField(rules, category, index, CheckField::Enable, on ? "1" : "0");
}

}  // namespace quorvel::testing
