#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel {

// The full path of a file name listed in a project: the name unchanged when it
// begins with '/' or the folder is empty (a relative name then stays relative
// to the current folder), otherwise the folder, a '/' when the folder does not
// end in one, and the name.
std::string joinFolderAndName(std::string_view folder, std::string_view name);

// The current folder, or the errno of why it cannot be determined (it was
// removed, or lies outside the process's root).
struct CurrentFolder {
    std::optional<std::string> path;
    int error = 0;
};
CurrentFolder currentFolder();

// The name to store for a path chosen by the user: when the folder is not
// empty and the path begins with the folder followed by '/' (one '/' appended
// to the folder when it does not end in one; bytes compared exactly), that
// prefix is removed; otherwise the path is returned whole.
std::string nameRelativeToFolder(std::string_view folder, std::string_view path);

inline constexpr std::string_view kSettingsFileName = "Quorvel.hc";
inline constexpr std::string_view kCheckerFileName = "Quorvel.chk";

// The folder of the running program file, read from /proc/self/exe; empty
// when it cannot be found.
std::string programFolder();

// The environment values that decide where per-user files live.
struct ConfigEnvironment {
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME, may be empty
    std::string home;           // $HOME, or the home folder of the user's account
};
ConfigEnvironment configEnvironmentFromSystem();

// A per-user base folder by the XDG rule: the variable's value when it is an
// absolute path (a relative one is ignored), else homeDefault (".config",
// ".local/share") below the home folder; empty when neither is known.
std::string xdgBaseFolder(std::string_view variableValue, std::string_view home,
                          std::string_view homeDefault);

// The user's configuration folder of the program: $XDG_CONFIG_HOME/Maltrane/
// Quorvel when that variable holds an absolute path, else $HOME/.config/
// Maltrane/Quorvel; empty when neither is known. No trailing '/'.
std::string userConfigFolder(const ConfigEnvironment& environment);

// What is known about the program's folder for one of its files.
struct ProgramFolderState {
    bool writable = false;   // files can be created there
    bool holdsFile = false;  // the file exists there
};

// Where the program keeps one of its own files (settings or checker file):
// in the program's folder (a portable installation) when that folder holds
// the file or is writable; otherwise in the user's configuration folder,
// which a save creates. Falls back on the program's folder when no
// configuration folder is known.
std::string programFilePath(std::string_view programFolder, std::string_view fileName,
                            const ProgramFolderState& state, const ConfigEnvironment& environment);

// The same for the running program, its real folder and environment.
std::string programFilePath(std::string_view fileName);

// The default settings file and the checker file of the running program.
std::string defaultSettingsPath();
std::string checkerFilePath();

}  // namespace quorvel
