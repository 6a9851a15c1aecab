// Cost of parsing settings text: ordinary files, and one huge line, which
// must cost its length once however long it is.

#include <benchmark/benchmark.h>

#include <string>

#include "settings/profile_file.h"

namespace {

void BM_ParseOneHugeLine(benchmark::State& state) {
    const std::string text =
        "[S]\r\nk=" + std::string(static_cast<std::size_t>(state.range(0)) << 20, 'v') + "\r\n";
    for (auto _ : state) {
        quorvel::ProfileFile file;
        file.loadFromText(text);
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseOneHugeLine)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

// A project of many files, as a large settings file holds it.
void BM_ParseFileList(benchmark::State& state) {
    std::string text = "\r\n[Site]\r\nFileCount=" + std::to_string(state.range(0)) + "\r\n";
    for (int n = 1; n <= state.range(0); ++n)
        text += "File" + std::to_string(n) + "=pages/page" + std::to_string(n) + ".html\r\n";
    for (auto _ : state) {
        quorvel::ProfileFile file;
        file.loadFromText(text);
        benchmark::DoNotOptimize(file.listItems("Site", "File"));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseFileList)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
