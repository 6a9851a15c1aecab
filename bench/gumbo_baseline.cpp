// Baseline for the benchmarks: reads every file of the folders (or files)
// given and parses each with gumbo, a full HTML5 parser that builds a tree,
// then reports the throughput. Built only where libgumbo-dev is installed;
// the project itself does not use gumbo.

#include <gumbo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::filesystem::path> filesOf(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const auto& entry : fs::directory_iterator(argv[i]))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.emplace_back(argv[i]);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Counts the elements of the tree, so that the parse cannot be skipped.
std::size_t countElements(const GumboNode* node) {
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_DOCUMENT) return 0;
    const GumboVector& children =
        node->type == GUMBO_NODE_ELEMENT ? node->v.element.children : node->v.document.children;
    std::size_t count = node->type == GUMBO_NODE_ELEMENT ? 1 : 0;
    for (unsigned i = 0; i < children.length; ++i)
        count += countElements(static_cast<const GumboNode*>(children.data[i]));
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER_OR_FILE...\n", argv[0]);
        return 2;
    }
    const auto files = filesOf(argc, argv);
    const auto start = std::chrono::steady_clock::now();
    std::size_t bytes = 0;
    std::size_t elements = 0;
    double parseSeconds = 0;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string page{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        bytes += page.size();
        const auto parseStart = std::chrono::steady_clock::now();
        GumboOutput* output =
            gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
        elements += countElements(output->document);
        gumbo_destroy_output(&kGumboDefaultOptions, output);
        parseSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - parseStart).count();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double megabytes = static_cast<double>(bytes) / 1e6;
    std::printf(
        "gumbo: %zu files, %.1f MB, %zu elements; %.3f s in all (%.1f MB/s), "
        "%.3f s parsing (%.1f MB/s)\n",
        files.size(), megabytes, elements, seconds, megabytes / seconds, parseSeconds,
        megabytes / parseSeconds);
    return 0;
}
