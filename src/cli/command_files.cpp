#include "cli/command_files.h"

#include <ostream>

#include "checks/checker_file.h"
#include "platform/program_paths.h"
#include "settings/user_settings.h"

namespace quorvel {

namespace {

template <typename File>
bool openNamedOrDefault(File& file, const std::string& namedPath, const std::string& defaultPath,
                        std::string_view what, std::string_view program, std::ostream& err) {
    const bool named = !namedPath.empty();
    const std::string& path = named ? namedPath : defaultPath;
    if (!file.open(path) && named) {
        err << program << "cannot read the " << what << " file '" << path << "'\n";
        return false;
    }
    return true;
}

}  // namespace

bool openSettingsFile(UserSettings& settings, const std::string& namedPath,
                      std::string_view program, std::ostream& err) {
    return openNamedOrDefault(settings, namedPath, namedPath.empty() ? defaultSettingsPath() : "",
                              "settings", program, err);
}

bool openCheckerFile(CheckerFile& checker, const std::string& namedPath, std::string_view program,
                     std::ostream& err) {
    return openNamedOrDefault(checker, namedPath, namedPath.empty() ? checkerFilePath() : "",
                              "checker", program, err);
}

}  // namespace quorvel
