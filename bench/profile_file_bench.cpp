// Speed of the settings-file class on a large user settings file: parsing,
// saving to text, single lookups and list searches.

#include <benchmark/benchmark.h>

#include <string>

#include "settings/profile_file.h"

namespace {

// 50 projects with 20 keywords and 100 files each, plus options: about 400 KB.
std::string largeSettings() {
    std::string text = "\r\n[Projects]\r\nCount=50\r\n";
    for (int p = 1; p <= 50; ++p)
        text += "Item" + std::to_string(p) + "=Project " + std::to_string(p) + "\r\n";
    text += "Current=Project 50\r\n";
    for (int p = 1; p <= 50; ++p) {
        text += "\r\n[Project " + std::to_string(p) + "]\r\nFolder=/home/user/sites/site" +
                std::to_string(p) + "\r\nHome Url=http://www.example.com/\r\nKeyCount=20\r\n";
        for (int k = 1; k <= 20; ++k)
            text += "Key" + std::to_string(k) + "=keyword phrase " + std::to_string(k) + "\r\n";
        text += "FileCount=100\r\n";
        for (int f = 1; f <= 100; ++f)
            text += "File" + std::to_string(f) + "=pages/page" + std::to_string(f) + ".html\r\n";
        text += "CurrentSearchEngine=Generic Engine (Template Page)\r\n";
    }
    text += "\r\n[Options]\r\nEnableToolTips=1\r\nMinWordLength=3\r\n";
    return text;
}

void BM_Parse(benchmark::State& state) {
    const std::string text = largeSettings();
    for (auto _ : state) {
        quorvel::ProfileFile file;
        file.loadFromText(text);
        benchmark::DoNotOptimize(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Parse);

void BM_Serialize(benchmark::State& state) {
    quorvel::ProfileFile file;
    file.loadFromText(largeSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(file.serialize());
}
BENCHMARK(BM_Serialize);

// A key near the end of the last project's section: the worst single lookup.
void BM_GetStringLastSection(benchmark::State& state) {
    quorvel::ProfileFile file;
    file.loadFromText(largeSettings());
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.getString("project 50", "currentsearchengine"));
    }
}
BENCHMARK(BM_GetStringLastSection);

void BM_ListFindMissing(benchmark::State& state) {
    quorvel::ProfileFile file;
    file.loadFromText(largeSettings());
    for (auto _ : state)
        benchmark::DoNotOptimize(file.listFind("Project 50", "absent.html", "File"));
}
BENCHMARK(BM_ListFindMissing);

}  // namespace

BENCHMARK_MAIN();
