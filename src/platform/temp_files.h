#pragma once

#include <string>

namespace quorvel {

// The folder for temporary files: $TMPDIR when it names a folder, else /tmp.
std::string temporaryFolder();

// A temporary file without a name, opened for reading and writing, that
// disappears when it is closed (also when the program dies). Returns the
// file descriptor, or -1 with errno set when none can be made.
int openAnonymousTemporaryFile();

}  // namespace quorvel
