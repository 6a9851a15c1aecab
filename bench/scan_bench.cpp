// Scan throughput: a generated page of several megabytes with the usual mix
// of markup, and a folder of real pages named by QUORVEL_BENCH_PAGES.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "analysis/page_scan.h"

namespace {

constexpr const char* kKeyword = "web design";

// A small deterministic generator, so that every run scans the same page.
class Random {
public:
    std::uint32_t next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    std::size_t below(std::size_t n) { return next() % n; }

private:
    std::uint32_t state_ = 12345;
};

const char* const kWords[] = {
    "the",     "web",      "design", "of",      "pages",   "and",     "search", "engine",
    "Quorvel", "checks",   "a",      "title",   "keyword", "density", "with",   "links",
    "images",  "tables",   "for",    "our",     "shop",    "shoes",   "red",    "blue",
    "price",   "delivery", "2024",   "contact", "us",      "today",   "best",   "quality"};
const char* const kEntities[] = {"&nbsp;", "&amp;", "&copy;", "&#8212;", "&eacute;", "&quot;"};

std::string sentence(Random& random, int words) {
    std::string text;
    for (int i = 0; i < words; ++i) {
        if (i > 0) text += random.below(12) == 0 ? ",\r\n" : " ";
        if (random.below(20) == 0) text += kEntities[random.below(std::size(kEntities))];
        text += kWords[random.below(std::size(kWords))];
    }
    return text + ".";
}

std::string generatedPage(std::size_t targetBytes) {
    Random random;
    std::string page =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html>\r\n<head>\r\n"
        "<title>Web design and search engine checks &amp; more</title>\r\n"
        "<meta name=\"description\" content=\"Web design for shops: pages, links and images\">\r\n"
        "<meta name=\"keywords\" content=\"web design, search engine, shop\">\r\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n"
        "<style type=\"text/css\">body { font-family: Arial; color: #333333 }\r\n"
        "h1 { font-size: 18pt } .nav a { color: navy }</style>\r\n"
        "<script type=\"text/javascript\">function go(u) { if (a < b) location = u; }</script>\r\n"
        "</head>\r\n<body bgcolor=\"#FFFFFF\" text=\"#000000\" link=\"#0000CC\">\r\n";
    int block = 0;
    while (page.size() < targetBytes) {
        switch (block++ % 8) {
            case 0:
                page += "<h2>" + sentence(random, 4) + "</h2>\r\n";
                break;
            case 1:
                page += "<p>" + sentence(random, 40) + " <b>" + sentence(random, 3) + "</b> " +
                        sentence(random, 25) + "</p>\r\n";
                break;
            case 2:
                page += "<p>See <a href=\"shop/item.php?id=" + std::to_string(random.below(999)) +
                        "\" title=\"Item\">" + sentence(random, 3) +
                        "</a> or <a href=\"web-design.html\"><img src=\"img/web.gif\" width=\"80\" "
                        "height=\"20\" alt=\"web design\"></a> " +
                        sentence(random, 12) + "</p>\r\n";
                break;
            case 3:
                page += "<table width=\"100%\" border=\"0\"><tr><td bgcolor=\"#EEEEEE\">" +
                        sentence(random, 8) + "</td><td><font size=\"2\" color=\"gray\">" +
                        sentence(random, 10) + "</font></td></tr></table>\r\n";
                break;
            case 4:
                page += "<!-- " + sentence(random, 6) + " -->\r\n<div class=\"box\">" +
                        sentence(random, 30) + "</div>\r\n";
                break;
            case 5:
                page += "<script>var n = " + std::to_string(random.below(100)) +
                        "; if (n < 5) { document.write('<b>hi</b>'); }</script>\r\n";
                break;
            case 6:
                page += "<ul><li>" + sentence(random, 6) + "</li><li>" + sentence(random, 6) +
                        "</li><li><small>" + sentence(random, 5) + "</small></li></ul>\r\n";
                break;
            default:
                page +=
                    "<form action=\"/search\"><input type=\"text\" name=\"q\"><input "
                    "type=\"submit\" value=\"Go\"></form>\r\n<p>" +
                    sentence(random, 20) + "</p>\r\n";
                break;
        }
    }
    return page + "</body>\r\n</html>\r\n";
}

void prepare(quorvel::PageScan& scan, std::string_view bytes) {
    scan.loadBytes(bytes);
    scan.setMinWordLength(3);
}

void BM_ScanGeneratedPage(benchmark::State& state) {
    const std::string page = generatedPage(static_cast<std::size_t>(state.range(0)) << 20);
    auto scan = std::make_unique<quorvel::PageScan>();
    scan->keywordMatcher().loadPhrase(kKeyword, false);
    for (auto _ : state) {
        state.PauseTiming();
        prepare(*scan, page);
        state.ResumeTiming();
        scan->scan();
        benchmark::DoNotOptimize(scan->bodyKeywordCount);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
    state.counters["words"] = scan->totalWordCount;
    state.counters["matches"] = scan->bodyKeywordCount;
}
BENCHMARK(BM_ScanGeneratedPage)->Arg(4)->Unit(benchmark::kMillisecond);

std::vector<std::string> readPages(const std::filesystem::path& folder) {
    std::vector<std::string> pages;
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        const auto extension = it->path().extension();
        if (!it->is_regular_file() || (extension != ".html" && extension != ".htm")) continue;
        std::ifstream in(it->path(), std::ios::binary);
        pages.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return pages;
}

// Every page of the folder, each loaded and scanned as the analysis run does.
void BM_ScanRealPages(benchmark::State& state, const std::vector<std::string>& pages) {
    auto scan = std::make_unique<quorvel::PageScan>();
    scan->keywordMatcher().loadPhrase(kKeyword, false);
    std::int64_t bytes = 0;
    for (const std::string& page : pages)
        bytes += static_cast<std::int64_t>(page.size());
    for (auto _ : state) {
        for (const std::string& page : pages) {
            state.PauseTiming();
            prepare(*scan, page);
            state.ResumeTiming();
            scan->scan();
            benchmark::DoNotOptimize(scan->bodyKeywordCount);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
    state.counters["pages"] = static_cast<double>(pages.size());
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    static std::vector<std::string> pages;
    if (const char* folder = std::getenv("QUORVEL_BENCH_PAGES")) {
        pages = readPages(folder);
        if (!pages.empty()) {
            benchmark::RegisterBenchmark("BM_ScanRealPages", BM_ScanRealPages, pages)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
