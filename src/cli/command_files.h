#pragma once

// The settings and checker files a command reads: the one named on the
// command line, or the program's default one. A named file must be readable;
// a default file may be missing, as it is on a first start, and then gives
// the built-in defaults. A file opened for reading is never written, not
// even to convert a UTF-16 file.

#include <iosfwd>
#include <string>
#include <string_view>

namespace quorvel {

class CheckerFile;
class UserSettings;

enum class FileAccess { ReadOnly, ReadWrite };

// False, after "<program>cannot read the settings file '<path>'" on `err`,
// when a named file cannot be read.
bool openSettingsFile(UserSettings& settings, const std::string& namedPath,
                      std::string_view program, std::ostream& err,
                      FileAccess access = FileAccess::ReadOnly);

// The same for the checker file.
bool openCheckerFile(CheckerFile& checker, const std::string& namedPath, std::string_view program,
                     std::ostream& err, FileAccess access = FileAccess::ReadOnly);

}  // namespace quorvel
