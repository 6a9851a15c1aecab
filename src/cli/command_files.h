#pragma once

// The settings and checker files a command reads: the one named on the
// command line, or the program's default one. A named file must be readable;
// a default file may be missing, as it is on a first start, and then gives
// the built-in defaults.

#include <iosfwd>
#include <string>
#include <string_view>

namespace quorvel {

class CheckerFile;
class UserSettings;

// False, after "<program>cannot read the settings file '<path>'" on `err`,
// when a named file cannot be read.
bool openSettingsFile(UserSettings& settings, const std::string& namedPath,
                      std::string_view program, std::ostream& err);

// The same for the checker file.
bool openCheckerFile(CheckerFile& checker, const std::string& namedPath, std::string_view program,
                     std::ostream& err);

}  // namespace quorvel
