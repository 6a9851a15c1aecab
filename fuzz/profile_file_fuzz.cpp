// Fuzzes the settings-file parser: any text is parsed, saved, parsed again
// and saved again; the two saved texts must be equal, so that what a save
// writes always reads back as itself. Reads of every section and key are
// made on the way and must respect the value limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "settings/profile_file.h"

namespace {

using quorvel::ProfileFile;

// Reads every value of the saved text back through the public reads.
void readEverything(const ProfileFile& profile, std::string_view saved) {
    std::string_view section;
    std::size_t start = 0;
    while (start < saved.size()) {
        std::size_t end = saved.find("\r\n", start);
        if (end == std::string_view::npos) end = saved.size();
        const std::string_view line = saved.substr(start, end - start);
        start = end + 2;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string value = profile.getString(section, line.substr(0, equals), "?");
        FUZZ_CHECK(value.size() <= ProfileFile::kMaxValue, "a read returned %zu bytes",
                   value.size());
        profile.getInt(section, line.substr(0, equals), 0);
        profile.listCount(section);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    ProfileFile first;
    first.loadFromText(text);
    const std::string saved = first.serialize();

    ProfileFile second;
    second.loadFromText(saved);
    const std::string savedAgain = second.serialize();
    FUZZ_CHECK(saved == savedAgain, "saving a loaded save changed it:\n[%s]\n[%s]", saved.c_str(),
               savedAgain.c_str());

    readEverything(second, saved);
    return 0;
}
