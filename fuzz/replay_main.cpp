// Runs a fuzz target over saved inputs, so that every input that once made a
// target fail is replayed as an ordinary test in any build. Arguments are
// files or folders (a folder's regular files are taken in name order, not
// recursively). Exits 1 when no input was found, so an empty regression
// folder cannot pass unnoticed.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

std::vector<std::filesystem::path> inputFiles(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        std::error_code error;
        if (fs::is_directory(path, error)) {
            std::vector<fs::path> inFolder;
            for (const auto& entry : fs::directory_iterator(path, error))
                if (entry.is_regular_file()) inFolder.push_back(entry.path());
            std::sort(inFolder.begin(), inFolder.end());
            files.insert(files.end(), inFolder.begin(), inFolder.end());
        } else if (fs::is_regular_file(path, error)) {
            files.push_back(path);
        } else {
            std::fprintf(stderr, "replay: cannot read %s\n", argv[i]);
        }
    }
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    // Paths are made absolute first: a target may change the working folder
    // when it initialises.
    auto files = inputFiles(argc, argv);
    for (auto& file : files) file = std::filesystem::absolute(file);
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    if (files.empty()) {
        std::fprintf(stderr, "replay: no input given\n");
        return 1;
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "replay: %s (%zu bytes)\n", file.c_str(), bytes.size());
        // A copy of exactly the input's size, so that a read past its end is
        // caught by AddressSanitizer as it would be under the fuzzer.
        std::vector<std::uint8_t> exact(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(exact.data(), exact.size());
    }
    std::fprintf(stderr, "replay: %zu inputs passed\n", files.size());
    return 0;
}
