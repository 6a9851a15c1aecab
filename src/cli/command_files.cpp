#include "cli/command_files.h"

#include <ostream>

#include "checks/checker_file.h"
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
        err << program << "cannot read the " << what << " file '" << path << "'\n";
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

}  // namespace quorvel
