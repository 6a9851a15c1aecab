// Writes every html5lib input as one file of a fuzz seed folder.
// Usage: html5lib_seeds CORPUS_DIR OUT_DIR [PREFIX_FILE]
// The bytes of PREFIX_FILE, when given, are written before each input (the
// scanner target takes its options and keyword from the front of an input).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "html5lib_inputs.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR OUT_DIR [PREFIX_FILE]\n", argv[0]);
        return 2;
    }
    std::string prefix;
    if (argc == 4 && !quorvel::html5lib::readFile(argv[3], prefix)) {
        std::fprintf(stderr, "html5lib_seeds: cannot read %s\n", argv[3]);
        return 1;
    }
    const auto result = quorvel::html5lib::readInputs(argv[1]);
    for (const std::string& problem : result.problems)
        std::fprintf(stderr, "html5lib_seeds: %s\n", problem.c_str());
    std::filesystem::create_directories(argv[2]);
    std::size_t number = 0;
    for (const auto& input : result.inputs) {
        const std::filesystem::path path =
            std::filesystem::path(argv[2]) / ("html5lib-" + std::to_string(++number));
        std::ofstream out(path, std::ios::binary);
        out << prefix << input.bytes;
        if (!out) {
            std::fprintf(stderr, "html5lib_seeds: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("%zu inputs written to %s\n", number, argv[2]);
    return result.problems.empty() && number > 0 ? 0 : 1;
}
