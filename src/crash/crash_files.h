#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "crash/safe_text.h"

namespace quorvel {

inline constexpr std::string_view kErrorLogName = "ERRORLOG.TXT";
inline constexpr std::string_view kCrashDumpName = "CRASH.DMP";
inline constexpr std::string_view kCrashListName = "MtCrashReport.ini";

// The environment values that decide where per-user data lives.
struct DataEnvironment {
    std::string xdgDataHome;  // $XDG_DATA_HOME, may be empty
    std::string home;         // $HOME, or the home folder of the user's account
};
DataEnvironment dataEnvironmentFromSystem();

// The folder of the crash files: $XDG_DATA_HOME/Maltrane when that variable
// holds an absolute path, else $HOME/.local/share/Maltrane; empty when
// neither is known. It is private to the user, since a dump holds the
// process's memory.
std::string crashReportFolder(const DataEnvironment& environment);

// One file named by the crash list file.
struct CrashListedFile {
    std::string path;  // as written: a bare name lies in the list file's folder
    std::string description;
    std::string kind;
};

// The entries "FileNNN=path,description,kind" of the "[FilesToAdd]" section,
// in the order of their numbers, up to the first missing number. A path may
// hold commas: the last two fields are the description and the kind.
std::vector<CrashListedFile> parseCrashList(std::string_view text);

namespace crash {

// Where the settings and checker files may be: the program's folder first,
// then the user's folder (see CrashSetup).
struct CrashListCandidates {
    const char* settings[2];
    const char* checker[2];
};

// The list file's text: the log and the dump, then the first existing
// candidate of the settings file and of the checker file, numbered without
// gaps. Existence is checked with access(2), so this runs inside a signal
// handler.
void formatCrashList(SafeText& out, const CrashListCandidates& candidates);

}  // namespace crash
}  // namespace quorvel
