#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quorvel {

// Exit statuses of quorvel-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFindings = 1;  // --fail-on matched an entry
inline constexpr int kExitUsage = 2;     // bad arguments, unreadable input, unwritable output

// Runs quorvel-cli with its arguments (without the program name), writing to
// the given streams; returns the exit status. Never throws. When `out` is a
// terminal, control characters in the texts a report inserts are shown
// escaped (a file keeps the bytes).
int runCli(std::vector<std::string> args, std::ostream& out, std::ostream& err,
           bool outIsTerminal = false);

}  // namespace quorvel
