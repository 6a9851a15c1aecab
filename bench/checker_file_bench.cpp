// Cost of reading check rules: resolving an engine once against looking every
// field up in the checker file, and formatting one report message.

#include <benchmark/benchmark.h>

#include <string>

#include "checks/checker_file.h"
#include "settings/user_settings.h"

namespace {

// A checker file of five engines with a few dozen overrides each; the last
// one is the engine that is current without settings.
std::string engineSection(int e) {
    return e == 5 ? std::string(quorvel::kDefaultEngineName) : "Engine " + std::to_string(e);
}

std::string sampleCheckerText() {
    std::string text = "\r\n[SearchEngines]\r\nCount=5\r\n";
    for (int e = 1; e <= 5; ++e)
        text += "Item" + std::to_string(e) + "=" + engineSection(e) + "\r\n";
    for (int e = 1; e <= 5; ++e) {
        text += "\r\n[" + engineSection(e) + "]\r\nCaseSensitive=0\r\n";
        for (int c = 0; c < quorvel::kCategoryCount; ++c) {
            for (int i = 0; i < quorvel::checkCount(c); i += 2) {
                text += quorvel::CheckerFile::checkKey(c, i, quorvel::CheckField::Value) + "=" +
                        std::to_string(10 + i) + "\r\n";
            }
        }
    }
    return text;
}

void BM_ResolveEngine(benchmark::State& state) {
    quorvel::CheckerFile checker;
    checker.profile().loadFromText(sampleCheckerText());
    for (auto _ : state) {
        quorvel::EngineRules rules = checker.resolve(quorvel::kDefaultEngineName);
        benchmark::DoNotOptimize(rules);
    }
}
BENCHMARK(BM_ResolveEngine);

// What one page would cost if every field were read through the file.
void BM_EffectiveFieldsThroughFile(benchmark::State& state) {
    quorvel::CheckerFile checker;
    checker.profile().loadFromText(sampleCheckerText());
    for (auto _ : state) {
        for (int c = 0; c < quorvel::kCategoryCount; ++c) {
            for (int i = 0; i < quorvel::checkCount(c); ++i) {
                for (int f = 0; f < quorvel::kFieldCount; ++f) {
                    benchmark::DoNotOptimize(
                        checker.effectiveField(c, i, static_cast<quorvel::CheckField>(f)));
                }
            }
        }
    }
}
BENCHMARK(BM_EffectiveFieldsThroughFile);

// The same fields from resolved rules.
void BM_EffectiveFieldsResolved(benchmark::State& state) {
    quorvel::CheckerFile checker;
    checker.profile().loadFromText(sampleCheckerText());
    const quorvel::EngineRules rules = checker.resolve(quorvel::kDefaultEngineName);
    for (auto _ : state) {
        for (int c = 0; c < quorvel::kCategoryCount; ++c) {
            for (int i = 0; i < quorvel::checkCount(c); ++i) {
                for (int f = 0; f < quorvel::kFieldCount; ++f) {
                    benchmark::DoNotOptimize(
                        rules.field(c, i, static_cast<quorvel::CheckField>(f)).size());
                }
            }
        }
    }
}
BENCHMARK(BM_EffectiveFieldsResolved);

void BM_FormatDensityMessage(benchmark::State& state) {
    const quorvel::EngineRules rules;
    for (auto _ : state) {
        benchmark::DoNotOptimize(rules.message(2, 7, quorvel::CheckField::Msg, 5.25));
    }
}
BENCHMARK(BM_FormatDensityMessage);

}  // namespace

BENCHMARK_MAIN();
