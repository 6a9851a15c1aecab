#include "cli/command_files.h"

#include <algorithm>
#include <ostream>
#include <vector>

#include "analysis/keyword_matcher.h"
#include "checks/checker_file.h"
#include "cli/terminal_text.h"
#include "platform/file_io.h"
#include "platform/program_paths.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

template <typename File>
bool openNamedOrDefault(File& file, const std::string& namedPath, const std::string& defaultPath,
                        std::string_view what, std::string_view program, std::ostream& err,
                        FileAccess access) {
    const bool named = !namedPath.empty();
    const std::string& path = named ? namedPath : defaultPath;
    const bool read = access == FileAccess::ReadOnly ? file.openReadOnly(path) : file.open(path);
    if (!read && named) {
        // The reason is asked of the file again: the open says only no.
        const FileReadResult probe = readWholeFile(path);
        err << program << "cannot read the " << what << " file '" << escapeControls(path) << "'";
        if (!probe.opened) err << ": " << describeReadFailure(probe, kMaxSettingsFileBytes);
        err << '\n';
        return false;
    }
    return true;
}

}  // namespace

bool openSettingsFile(UserSettings& settings, const std::string& namedPath,
                      std::string_view program, std::ostream& err, FileAccess access) {
    return openNamedOrDefault(settings, namedPath, namedPath.empty() ? defaultSettingsPath() : "",
                              "settings", program, err, access);
}

bool openCheckerFile(CheckerFile& checker, const std::string& namedPath, std::string_view program,
                     std::ostream& err, FileAccess access) {
    return openNamedOrDefault(checker, namedPath, namedPath.empty() ? checkerFilePath() : "",
                              "checker", program, err, access);
}

bool knownEngine(const CheckerFile& checker, std::string_view name) {
    if (name == kDefaultEngineName || checker.findEngine(name) > 0) return true;
    const std::vector<std::string> sections = checker.profile().sectionNames();
    return std::find(sections.begin(), sections.end(), name) != sections.end();
}

bool checkEngine(const CheckerFile& checker, std::string_view engine, std::string_view program,
                 std::ostream& err) {
    if (knownEngine(checker, engine)) return true;
    err << program << "unknown search engine '" << escapeControls(engine) << "'; the checker file '"
        << escapeControls(checker.profile().fileName()) << "' lists";
    if (checker.engineCount() == 0) err << " none";
    for (int n = 1; n <= checker.engineCount(); ++n) {
        err << (n == 1 ? " '" : ", '") << escapeControls(checker.engineName(n)) << '\'';
    }
    err << '\n';
    return false;
}

std::size_t maxKeywordBytes() {
    return KeywordMatcher::kCapacity - 1;
}

bool checkKeywordLength(std::string_view keyword, std::string_view program, std::ostream& err) {
    if (keyword.size() <= maxKeywordBytes()) return true;
    err << program << "the keyword is " << keyword.size() << " bytes long; at most "
        << maxKeywordBytes() << " bytes are matched\n";
    return false;
}

}  // namespace quorvel
