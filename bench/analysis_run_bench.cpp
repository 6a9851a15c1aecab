// Analysis run throughput: load, scan and all 86 checks over a folder of
// pages, with one job and with several. The pages are the *.html files of
// QUORVEL_BENCH_PAGES when that names a folder, else generated ones.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "checks/analysis_run.h"
#include "checks/checker_file.h"

namespace {

class CountingSink : public quorvel::ReportSink {
public:
    void appendEntry(const quorvel::ReportEntry&) override { ++entries; }
    void fileNotOpened(std::string_view, std::string_view) override { ++unopened; }
    long entries = 0;
    long unopened = 0;
};

std::string generatedPage(int n) {
    std::string page = "<html><head><title>Page " + std::to_string(n) +
                       " about web design</title><meta name=\"description\" content=\"Web "
                       "design for shops\"></head><body bgcolor=\"#ffffff\">\n";
    for (int p = 0; p < 300; ++p) {
        page += "<p>Our <a href=\"page" + std::to_string(p) +
                ".html\">web design</a> work for shops, with <b>tables</b> &amp; images "
                "<img src=\"web-design.gif\"> and plain text of several words.</p>\n";
    }
    return page + "</body></html>\n";
}

struct PageSet {
    quorvel::RunInputs inputs;
    std::int64_t bytes = 0;
    std::string scratch;  // removed at exit when pages were generated

    PageSet() {
        inputs.keyword = "web design";
        const char* folder = std::getenv("QUORVEL_BENCH_PAGES");
        std::error_code error;
        if (folder != nullptr && std::filesystem::is_directory(folder, error)) {
            inputs.folder = folder;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
                if (entry.is_regular_file() && entry.path().extension() == ".html") {
                    inputs.files.push_back({entry.path().string(), true});
                    bytes += static_cast<std::int64_t>(entry.file_size());
                }
            }
            return;
        }
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quorvel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        scratch = pattern;
        inputs.folder = scratch;
        for (int n = 0; n < 200; ++n) {
            const std::string name = "page" + std::to_string(n) + ".html";
            const std::string page = generatedPage(n);
            std::ofstream(scratch + "/" + name, std::ios::binary) << page;
            inputs.files.push_back({name, true});
            bytes += static_cast<std::int64_t>(page.size());
        }
    }
    ~PageSet() {
        std::error_code error;
        if (!scratch.empty()) std::filesystem::remove_all(scratch, error);
    }
};

const PageSet& pages() {
    static const PageSet set;
    return set;
}

void BM_AnalysisRun(benchmark::State& state) {
    const quorvel::EngineRules rules;
    const PageSet& set = pages();
    CountingSink sink;
    for (auto _ : state) {
        quorvel::runAnalysis(set.inputs, rules, sink, static_cast<unsigned>(state.range(0)));
    }
    benchmark::DoNotOptimize(sink.entries);
    state.SetBytesProcessed(state.iterations() * set.bytes);
    state.counters["files"] = static_cast<double>(set.inputs.files.size());
}
// Far more jobs than cores must cost no more than a few per core.
BENCHMARK(BM_AnalysisRun)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(64)
    ->Arg(512)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
