#include "platform/program_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/file_io.h"

namespace quorvel {

namespace {

constexpr std::string_view kConfigSubfolder = "Maltrane/Quorvel";

std::string withSlash(std::string_view folder) {
    std::string text(folder);
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

std::string accountHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

std::string joinFolderAndName(std::string_view folder, std::string_view name) {
    if (folder.empty() || (!name.empty() && name.front() == '/')) return std::string(name);
    return withSlash(folder).append(name);
}

CurrentFolder currentFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            // A folder outside the root is given as "(unreachable)/...".
            if (buffer[0] != '/') return {std::nullopt, ENOENT};
            return {std::string(buffer.data()), 0};
        }
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {std::nullopt, errno};
        buffer.resize(buffer.size() * 2);
    }
}

std::string nameRelativeToFolder(std::string_view folder, std::string_view path) {
    if (folder.empty()) return std::string(path);
    const std::string prefix = withSlash(folder);
    if (path.substr(0, prefix.size()) == prefix) return std::string(path.substr(prefix.size()));
    return std::string(path);
}

std::string programFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) return {};
    path.resize(static_cast<std::size_t>(length));
    return folderOfPath(path);
}

ConfigEnvironment configEnvironmentFromSystem() {
    ConfigEnvironment environment{environmentValue("XDG_CONFIG_HOME"), environmentValue("HOME")};
    if (environment.home.empty()) environment.home = accountHome();
    return environment;
}

std::string xdgBaseFolder(std::string_view variableValue, std::string_view home,
                          std::string_view homeDefault) {
    if (!variableValue.empty() && variableValue.front() == '/') return std::string(variableValue);
    if (home.empty()) return {};
    return joinFolderAndName(home, homeDefault);
}

std::string userConfigFolder(const ConfigEnvironment& environment) {
    const std::string base = xdgBaseFolder(environment.xdgConfigHome, environment.home, ".config");
    return base.empty() ? base : joinFolderAndName(base, kConfigSubfolder);
}

std::string programFilePath(std::string_view programFolder, std::string_view fileName,
                            const ProgramFolderState& state, const ConfigEnvironment& environment) {
    const bool portable = !programFolder.empty() && (state.holdsFile || state.writable);
    if (!portable) {
        const std::string configFolder = userConfigFolder(environment);
        if (!configFolder.empty()) return joinFolderAndName(configFolder, fileName);
    }
    return joinFolderAndName(programFolder.empty() ? std::string_view(".") : programFolder,
                             fileName);
}

std::string programFilePath(std::string_view fileName) {
    const std::string folder = programFolder();
    ProgramFolderState state;
    if (!folder.empty()) {
        state.writable = ::access(folder.c_str(), W_OK) == 0;
        state.holdsFile = pathExists(joinFolderAndName(folder, fileName));
    }
    return programFilePath(folder, fileName, state, configEnvironmentFromSystem());
}

std::string defaultSettingsPath() {
    return programFilePath(kSettingsFileName);
}

std::string checkerFilePath() {
    return programFilePath(kCheckerFileName);
}

}  // namespace quorvel
