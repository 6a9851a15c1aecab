#pragma once

// The settings and checker files a command reads: the one named on the
// command line, or the program's default one. A named file must be readable;
// a default file may be missing, as it is on a first start, and then gives
// the built-in defaults. A file opened for reading is never written, not
// even to convert a UTF-16 file. And the checks of what a command is given
// that several commands share.

#include <iosfwd>
#include <string>
#include <string_view>

namespace quorvel {

class CheckerFile;
class UserSettings;

enum class FileAccess { ReadOnly, ReadWrite };

// False, after "<program>cannot read the settings file '<path>': <reason>"
// on `err`, when a named file cannot be read (or is larger than a settings
// file can be).
bool openSettingsFile(UserSettings& settings, const std::string& namedPath,
                      std::string_view program, std::ostream& err,
                      FileAccess access = FileAccess::ReadOnly);

// The same for the checker file.
bool openCheckerFile(CheckerFile& checker, const std::string& namedPath, std::string_view program,
                     std::ostream& err, FileAccess access = FileAccess::ReadOnly);

// An engine the checker file knows: listed, holding a section, or the
// default engine, which need not be listed.
bool knownEngine(const CheckerFile& checker, std::string_view name);

// False, after a message that names the engines the checker file lists, when
// it does not know the engine.
bool checkEngine(const CheckerFile& checker, std::string_view engine, std::string_view program,
                 std::ostream& err);

// The longest keyword or phrase the keyword matcher takes.
std::size_t maxKeywordBytes();

// False, after a message, when the keyword is longer than the matcher takes:
// it would match nothing and every keyword check would give a wrong result.
bool checkKeywordLength(std::string_view keyword, std::string_view program, std::ostream& err);

}  // namespace quorvel
