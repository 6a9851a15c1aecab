#include "crash/crash_files.h"

#include <cstdlib>

#include "platform/ascii_text.h"
#include "platform/program_paths.h"

namespace quorvel {

namespace {

constexpr std::string_view kSubfolder = "Maltrane";
constexpr std::string_view kSection = "[FilesToAdd]";

std::string_view trimLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

}  // namespace

DataEnvironment dataEnvironmentFromSystem() {
    const char* data = std::getenv("XDG_DATA_HOME");
    return {data != nullptr ? data : "", configEnvironmentFromSystem().home};
}

std::string crashReportFolder(const DataEnvironment& environment) {
    const std::string base =
        xdgBaseFolder(environment.xdgDataHome, environment.home, ".local/share");
    return base.empty() ? base : joinFolderAndName(base, kSubfolder);
}

std::vector<CrashListedFile> parseCrashList(std::string_view text) {
    std::vector<std::pair<int, CrashListedFile>> numbered;
    bool inSection = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimLineEnd(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.front() == '[') {
            inSection = line == kSection;
            continue;
        }
        if (!inSection || line.size() < 8 || line.substr(0, 4) != "File") continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view digits = line.substr(4, equals - 4);
        int number = 0;
        bool valid = !digits.empty();
        for (char c : digits) {
            if (!isAsciiDigit(c) || number > 100000) {
                valid = false;
                break;
            }
            number = number * 10 + (c - '0');
        }
        const std::string_view value = line.substr(equals + 1);
        const std::size_t kindComma = value.rfind(',');
        if (!valid || kindComma == std::string_view::npos || kindComma == 0) continue;
        const std::size_t descriptionComma = value.rfind(',', kindComma - 1);
        if (descriptionComma == std::string_view::npos) continue;
        numbered.push_back(
            {number, CrashListedFile{std::string(value.substr(0, descriptionComma)),
                                     std::string(value.substr(descriptionComma + 1,
                                                              kindComma - descriptionComma - 1)),
                                     std::string(value.substr(kindComma + 1))}});
    }
    std::vector<CrashListedFile> files;
    for (int wanted = 1;; ++wanted) {
        bool found = false;
        for (auto& [number, file] : numbered) {
            if (number == wanted) {
                files.push_back(std::move(file));
                found = true;
                break;
            }
        }
        if (!found) break;
    }
    return files;
}

}  // namespace quorvel
