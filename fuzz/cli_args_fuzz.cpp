// Fuzzes the command line of quorvel-cli in-process: the input is split at
// NUL bytes into arguments. runCli must never throw or crash, must return one
// of its exit statuses, and must explain every usage error.
//
// Argument sets that could write files are dropped, as are paths that leave
// the scratch folder in which the target runs (such as devices that never
// end), so the target only reads the small pages it places there itself.
// The target changes its working folder when it starts: give libFuzzer
// absolute corpus and artifact paths.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kMaxArguments = 24;

bool mayWriteOrEscape(std::string_view argument) {
    const std::string_view refused[] = {"--output", "--set", "--save", "--write",
                                        "..",       "/dev",  "/proc",  "/sys"};
    for (std::string_view word : refused)
        if (argument.find(word) != std::string_view::npos) return true;
    if (argument.substr(0, 2) == "-o" || argument.substr(0, 3) == "--o") return true;
    return !argument.empty() && argument.front() == '/';
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A scratch folder with a few pages; the target runs inside it.
    char folder[] = "/tmp/quorvel-cli-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr || chdir(folder) != 0) std::abort();
    static const std::string scratch = folder;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(scratch, ignored);
    });
    std::filesystem::create_directory("site");
    writeFile("page.html",
              "<html><head><title>Hiking boots</title>\r\n"
              "<meta name=\"description\" content=\"hiking boots for rough trails\">\r\n"
              "</head><body><h1>Boots</h1><a href=\"x.html?a=1\">hiking boots</a>\r\n"
              "<img src=\"boot.png\"><font color=\"white\">hidden</font></body></html>\r\n");
    writeFile("site/index.html", "<head><title>Home</title></head><body>home home page</body>");
    writeFile("empty.html", "");
    writeFile("keywords.txt", "hiking boots\r\nboots\r\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty() || arguments.empty()) {
        const std::size_t at = rest.find('\0');
        arguments.emplace_back(rest.substr(0, at));
        if (at == std::string_view::npos) break;
        rest.remove_prefix(at + 1);
        if (arguments.size() > kMaxArguments) return 0;
    }
    for (const std::string& argument : arguments)
        if (mayWriteOrEscape(argument)) return 0;

    std::ostringstream out;
    std::ostringstream err;
    const int status = quorvel::runCli(arguments, out, err);
    FUZZ_CHECK(status == quorvel::kExitOk || status == quorvel::kExitFindings ||
                   status == quorvel::kExitUsage,
               "unexpected exit status %d", status);
    FUZZ_CHECK(status != quorvel::kExitUsage || !err.str().empty(),
               "a usage error was reported without a message");
    return 0;
}
