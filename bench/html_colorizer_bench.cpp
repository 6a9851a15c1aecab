#include <benchmark/benchmark.h>

#include <string>

#include "report/html_colorizer.h"

namespace {

// A page of ordinary markup, repeated to about `bytes` bytes.
std::string typicalPage(std::size_t bytes) {
    const std::string block =
        "<!-- navigation -->\r\n<table width=\"100%\" border=\"0\"><tr><td class='nav'>"
        "<a href=\"index.html\" title=\"Home\">Home</a> | <a href=\"shoes.html\">Red shoes</a>"
        "</td></tr></table>\r\n<p>Our shop sells a range of shoes, boots and sandals for "
        "every season. See the table below or <b>call us</b> today.</p>\r\n"
        "<img src=\"logo.gif\" alt=\"Logo\" width=\"120\" height=\"60\">\r\n";
    std::string page = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\r\n<html><body>\r\n";
    while (page.size() < bytes)
        page += block;
    return page;
}

// Every byte a possible keyword start between delimiters.
std::string keywordDensePage(std::size_t bytes) {
    std::string page;
    while (page.size() < bytes)
        page += "a b i p q s u tt td th tr ";
    return page;
}

void BM_ColorizeTypicalPage(benchmark::State& state) {
    const std::string page = typicalPage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::colorizeHtml(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ColorizeTypicalPage)->Arg(64 << 10)->Arg(1 << 20);

void BM_ColorizeKeywordDensePage(benchmark::State& state) {
    const std::string page = keywordDensePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(quorvel::colorizeHtml(page));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ColorizeKeywordDensePage)->Arg(1 << 20);

}  // namespace

BENCHMARK_MAIN();
